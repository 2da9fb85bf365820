// The place picker dialog "PlaceDlg": a search box over the settlement list
// and an owner-data list view of the rows that match. It only shows what
// PlacePicker decides.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "ui/place_picker.h"

namespace miravel {

inline constexpr wchar_t kPlaceDialogName[] = L"PlaceDlg";

// The creation parameter of PlacePickerDialogProc. `listPath` (program
// text) is what "Dosyayı Aç" opens; `currentRow` is selected at first.
// The dialog ends with 1 and `picked` set to the chosen row, or with 0.
struct PlaceDialogRequest {
    PlacePicker* picker;
    std::filesystem::path listPath;
    int32_t currentRow;
    int32_t picked;
    std::wstring cell;  // the text last handed to the list view
};

INT_PTR CALLBACK PlacePickerDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace miravel
