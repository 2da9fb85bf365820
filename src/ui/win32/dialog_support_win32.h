// What every dialog of the program shares on Windows: the controls as the
// portable form rules see them, the balloon tooltips, the refusal signal.
#pragma once

#include <windows.h>

#include <string>

#include "ui/dialog_controls.h"

namespace miravel {

// The child controls of one dialog window. Texts cross in Windows-1254 and
// are shown as UTF-16.
class Win32DialogControls final : public DialogControls {
  public:
    explicit Win32DialogControls(HWND dialog) : dialog_(dialog) {}
    std::string Text(int id) override;
    void SetText(int id, const char* text) override;
    void Enable(int id, bool enabled) override;
    void Check(int id, bool checked) override;
    void Focus(int id) override;
    int FocusedControl() override;
    void SetCaption(const char* text) override;

  private:
    HWND dialog_;
};

// A balloon tooltip of the common-controls class on control `id` of
// `dialog`, at most 333 pixels wide. One tooltip window per call; the text
// is copied by the tooltip.
void AddControlTip(int id, HWND dialog, const char* text);
// The tips of a form, as its table function gives them.
void AddControlTips(HWND dialog, const ControlTip* (*table)(int* count));

// A refused "Kaydet" or "Uygula": the button is disabled, the exclamation
// sound plays, and 333 ms later the button is enabled again. The focus stays
// where the form rule left it, in the field that failed.
void SignalRefusal(HWND dialog, int buttonId);

// The shell's default verb on a file or address, maximised, without the
// shell's own error box; false when the shell could not start anything for
// it.
bool OpenWithShell(HWND owner, const char* target);
bool OpenWithShell(HWND owner, const std::wstring& target);

// Stores `data` with the dialog at WM_INITDIALOG and finds it again later.
void SetDialogData(HWND dialog, void* data);
template <typename T>
T* DialogData(HWND dialog) {
    return reinterpret_cast<T*>(GetWindowLongPtrW(dialog, DWLP_USER));
}
// At WM_INITDIALOG: stores the dialog's parameter, a T, and returns it.
template <typename T>
T& KeepDialogData(HWND dialog, LPARAM lParam) {
    SetDialogData(dialog, reinterpret_cast<void*>(lParam));
    return *reinterpret_cast<T*>(lParam);
}

}  // namespace miravel
