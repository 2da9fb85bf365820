// A dialog without a screen: control texts, states and focus in tables.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ui/dialog_controls.h"

namespace miravel::testing {

class FakeControls : public DialogControls {
  public:
    std::map<int, std::string> text;
    std::map<int, bool> enabled;
    std::map<int, bool> checked;
    std::vector<int> focusLog;
    int focus = 0;
    std::string caption;

    std::string Text(int id) override { return text[id]; }
    void SetText(int id, const char* t) override { text[id] = t; }
    void Enable(int id, bool e) override { enabled[id] = e; }
    void Check(int id, bool c) override { checked[id] = c; }
    void Focus(int id) override {
        focus = id;
        focusLog.push_back(id);
    }
    int FocusedControl() override { return focus; }
    void SetCaption(const char* t) override { caption = t; }
};

}  // namespace miravel::testing
