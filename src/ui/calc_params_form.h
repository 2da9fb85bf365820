// The rules of the calculation parameters dialog "AstroDlg": what its fields
// show, what its switches do, the order in which "Kaydet" and "Uygula" check
// and store the fields, and the mouse-wheel stepping of the row number and
// the date. The dialog works on ProgramState directly and keeps no copy.
#pragma once

#include <cstdint>
#include <string>

#include <filesystem>

#include "config/program_state.h"
#include "ui/dialog_controls.h"

namespace miravel {

// The dialog's view of the settlement list file.
struct SettlementListFile {
    // The full path in the program's folder: the current folder may be
    // anywhere a file dialog left it.
    std::filesystem::path path;
    bool exists = false;
};
// The list named after the program file (its base name with "csv"), beside it.
SettlementListFile SettlementListBeside(const std::filesystem::path& program);

// The place's fields (row, names, latitude, longitude, offset) as "Uygula"
// shows them, enabled as the "Liste" box says.
void ShowPlaceFields(const ProgramState& ps, DialogControls& c);
// Fills every field from the record and sets the enabled states (the
// opening and the refresh after "Uygula" and a wheel step).
void RefreshCalcParamsForm(const ProgramState& ps, const SettlementListFile& list,
                           DialogControls& c);

// The switches and default buttons, which act on the record at once.
// `now` is the local date and time, taken when "Gerçek Zaman" is switched
// on. Returns false for commands that are not among them.
bool CalcParamsCommand(ProgramState& ps, DialogControls& c, int command, const WorkTime& now);

// "Kaydet" and "Uygula": checks the fields one by one, storing each that
// passes. Returns 0 when all passed, otherwise the id of the first field
// that failed; the focus is then in that field.
int CommitCalcParams(ProgramState& ps, DialogControls& c, const SettlementListFile& list);

// A turn of the mouse wheel; `delta` is its signed amount, negative (toward
// the user) stepping forward. Acts on the focused control only. Returns
// whether anything changed.
bool CalcParamsWheel(ProgramState& ps, DialogControls& c, const SettlementListFile& list,
                     int delta);

// One day forward or back, within 1901..2099 (four-year leap rule). False
// when the year limit stops it; the date is then unchanged.
bool StepWorkDate(WorkTime& t, bool forward);

// The range of the temkin of Vakit v (1..10) under `mode`.
void TemkinRange(int v, int32_t mode, int32_t* low, int32_t* high);

// The balloon tooltips of the dialog's controls.
const ControlTip* CalcParamsTips(int* count);

}  // namespace miravel
