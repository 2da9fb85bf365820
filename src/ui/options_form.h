// The rules of the options dialog "SettingsDlg": what its controls show,
// what its switches do, the four minute fields that "Kaydet" checks, and
// when the salâ file must be offered for download.
#pragma once

#include "config/program_state.h"
#include "ui/dialog_controls.h"

namespace miravel {

// The salâ sound file, in the program's folder.
inline constexpr char kSalaFileName[] = "sala.wav";

// What a switch asks of the program beyond the record.
enum class OptionsEffect {
    kNone,
    kCorrectClockNow,  // "Saati Otomatik Düzelt" was switched on
};

void RefreshOptionsForm(const ProgramState& ps, DialogControls& c);

// The switches; false for commands that are not among them.
bool OptionsCommand(ProgramState& ps, DialogControls& c, int command, OptionsEffect* effect);

// "Kaydet", first step: the four minute fields, disabled ones included.
// Returns 0 when all passed, otherwise the id of the first that failed.
int CommitOptions(ProgramState& ps, DialogControls& c);

// Whether a salâ option needs the salâ file: the Friday or sahur salâ, or
// the reminder salâ while the reminder file is "sala.wav" in any case.
bool SalaFileNeeded(const Options& o);

const ControlTip* OptionsTips(int* count);

}  // namespace miravel
