// What the dialog rules see of a dialog: its controls by id, their text in
// Windows-1254, and the keyboard focus. The Windows program implements it
// over the dialog's child windows; tests implement it with a table.
#pragma once

#include <string>

#include "../../resources/dialog_ids.h"

namespace miravel {

class DialogControls {
  public:
    virtual ~DialogControls() = default;
    virtual std::string Text(int id) = 0;
    virtual void SetText(int id, const char* text) = 0;
    virtual void Enable(int id, bool enabled) = 0;
    virtual void Check(int id, bool checked) = 0;
    // Moves the keyboard focus into the control.
    virtual void Focus(int id) = 0;
    // The id of the control that has the focus, 0 when none of ours has it.
    virtual int FocusedControl() = 0;
    virtual void SetCaption(const char* text) = 0;
};

// A balloon tooltip of one control.
struct ControlTip {
    int id;
    const char* text;
};

}  // namespace miravel
