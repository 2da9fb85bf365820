#include "ui/win32/place_picker_win32.h"

#include <commctrl.h>

#include "base/win32/wide_text.h"
#include "ui/win32/dialog_support_win32.h"

namespace miravel {

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr int kSearchLimit = 64;

// Widths in dialog units, so that they grow with the dialog's font and DPI.
struct ColumnLayout {
    PlaceColumn column;
    int width;
    bool right;
};
constexpr ColumnLayout kColumns[kPlaceColumnCount] = {
    {PlaceColumn::kRow, 34, true},       {PlaceColumn::kName, 72, false},
    {PlaceColumn::kRegion, 66, false},   {PlaceColumn::kLatitude, 38, true},
    {PlaceColumn::kLongitude, 38, true}, {PlaceColumn::kZone, 44, true},
};

HWND ListOf(HWND dialog) {
    return GetDlgItem(dialog, IDC_PLACE_LIST);
}

int SelectedLine(HWND list) {
    return static_cast<int>(
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

void SelectLine(HWND list, int line) {
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (line < 0) return;
    ListView_SetItemState(list, line, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, line, FALSE);
}

// The list view shows the picker's lines and its selection.
void ShowLines(HWND dialog, const PlacePicker& picker) {
    const HWND list = ListOf(dialog);
    ListView_SetItemCountEx(list, static_cast<int>(picker.ShownCount()), 0);
    SelectLine(list, picker.Selection());
    InvalidateRect(list, nullptr, TRUE);
    SetDlgItemTextW(dialog, IDC_PLACE_STATUS, Wide(picker.StatusText()).c_str());
}

void FocusControl(HWND dialog, HWND control) {
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

// Down (or Page Down) in the search box goes into the list, keeping the
// selection that Enter would pick.
LRESULT CALLBACK SearchBoxProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data) {
    if (message == WM_KEYDOWN && (wParam == VK_DOWN || wParam == VK_NEXT)) {
        const HWND dialog = reinterpret_cast<HWND>(data);
        const HWND list = ListOf(dialog);
        if (ListView_GetItemCount(list) > 0) {
            if (SelectedLine(list) < 0) SelectLine(list, 0);
            FocusControl(dialog, list);
        }
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, SearchBoxProc, id);
    return DefSubclassProc(edit, message, wParam, lParam);
}

// Up on the first line of the list goes back to the search box, and so
// does typing: the letters go on into the search.
LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                          DWORD_PTR data) {
    const HWND dialog = reinterpret_cast<HWND>(data);
    const HWND search = GetDlgItem(dialog, IDC_PLACE_SEARCH);
    if (message == WM_KEYDOWN && wParam == VK_UP && SelectedLine(list) <= 0) {
        FocusControl(dialog, search);
        return 0;
    }
    if (message == WM_CHAR && (wParam >= L' ' || wParam == L'\b')) {
        FocusControl(dialog, search);
        // The whole text is selected on the way in; the typing goes on after it.
        const LRESULT end = GetWindowTextLengthW(search);
        SendMessageW(search, EM_SETSEL, static_cast<WPARAM>(end), end);
        SendMessageW(search, WM_CHAR, wParam, lParam);
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(list, ListProc, id);
    return DefSubclassProc(list, message, wParam, lParam);
}

void Pick(HWND dialog, PlaceDialogRequest& request, int line) {
    request.picker->Select(line);
    request.picked = request.picker->PickedRow();
    if (request.picked <= 0) {
        // Nothing matched what was typed: nothing to pick.
        MessageBeep(MB_OK);
        return;
    }
    EndDialog(dialog, 1);
}

void InitPicker(HWND dialog, PlaceDialogRequest& request) {
    SetDialogData(dialog, &request);
    const HWND list = ListOf(dialog);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    for (int i = 0; i < kPlaceColumnCount; ++i) {
        RECT r = {0, 0, kColumns[i].width, 0};
        MapDialogRect(dialog, &r);
        std::wstring title = Wide(PlaceColumnTitle(kColumns[i].column));
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = kColumns[i].right ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = r.right;
        column.pszText = title.data();
        column.iSubItem = i;
        ListView_InsertColumn(list, i, &column);
    }
    AddControlTips(dialog, PlacePickerTips);
    const HWND search = GetDlgItem(dialog, IDC_PLACE_SEARCH);
    SendMessageW(search, EM_LIMITTEXT, kSearchLimit, 0);
    SetWindowSubclass(search, SearchBoxProc, kSubclassId, reinterpret_cast<DWORD_PTR>(dialog));
    SetWindowSubclass(list, ListProc, kSubclassId, reinterpret_cast<DWORD_PTR>(dialog));

    request.picker->SetQuery("");
    request.picker->SelectRow(request.currentRow);
    ShowLines(dialog, *request.picker);
    EnableWindow(GetDlgItem(dialog, IDC_PLACE_OPEN_FILE), !request.listPath.empty());
    FocusControl(dialog, search);
}

BOOL ListNotice(HWND dialog, PlaceDialogRequest& request, const NMHDR& header) {
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            auto& info = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
            if ((info.item.mask & LVIF_TEXT) == 0 || info.item.pszText == nullptr) return TRUE;
            const int column = info.item.iSubItem;
            if (info.item.iItem < 0 || column < 0 || column >= kPlaceColumnCount) return TRUE;
            request.cell = Wide(request.picker->CellText(static_cast<size_t>(info.item.iItem),
                                                         kColumns[column].column));
            CopyToField(request.cell, info.item.pszText,
                        info.item.cchTextMax > 0 ? static_cast<size_t>(info.item.cchTextMax) : 0);
            return TRUE;
        }
        case NM_DBLCLK: {
            const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
            if (activate.iItem >= 0) Pick(dialog, request, activate.iItem);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK PlacePickerDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            InitPicker(dialog, *reinterpret_cast<PlaceDialogRequest*>(lParam));
            return FALSE;  // the focus is in the search box
        case WM_COMMAND: {
            if (DialogData<PlaceDialogRequest>(dialog) == nullptr) return FALSE;
            auto& request = *DialogData<PlaceDialogRequest>(dialog);
            switch (LOWORD(wParam)) {
                case IDC_PLACE_SEARCH:
                    if (HIWORD(wParam) != EN_CHANGE) return FALSE;
                    {
                        const HWND search = reinterpret_cast<HWND>(lParam);
                        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(search)) + 1,
                                          L'\0');
                        text.resize(static_cast<size_t>(
                            GetWindowTextW(search, text.data(), static_cast<int>(text.size()))));
                        request.picker->SetQuery(Narrow(text));
                        ShowLines(dialog, *request.picker);
                    }
                    return TRUE;
                case IDC_OK_BUTTON:
                    Pick(dialog, request, SelectedLine(ListOf(dialog)));
                    return TRUE;
                case IDC_CANCEL_BUTTON:
                    EndDialog(dialog, 0);
                    return TRUE;
                case IDC_PLACE_OPEN_FILE:
                    if (HIWORD(wParam) == BN_CLICKED)
                        OpenWithShell(dialog, request.listPath.wstring());
                    return TRUE;
                default:
                    return FALSE;
            }
        }
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (header.idFrom != IDC_PLACE_LIST ||
                DialogData<PlaceDialogRequest>(dialog) == nullptr)
                return FALSE;
            return ListNotice(dialog, *DialogData<PlaceDialogRequest>(dialog), header);
        }
        default:
            return FALSE;
    }
}

}  // namespace miravel
