// The rules of the tally dialog "TallyDlg": one of the five user counters,
// kept only in the INI file and in the texts of the tally menu entries.
#pragma once

#include <filesystem>
#include <string_view>

#include "config/settings.h"
#include "ui/dialog_controls.h"

namespace miravel {

inline constexpr size_t kTallyNameLimit = 32;

// Value and increment of tally `index` (1..5) from the INI file; the name is
// not read here, it comes from the menu entry.
void LoadTally(const std::filesystem::path& iniPath, int index, Tally* tally);
// Writes the name, value and increment of tally `index` in one save.
bool SaveTally(const std::filesystem::path& iniPath, int index, const Tally& tally);

// Fills the three fields: the name as given, value and increment signed.
void FillTallyForm(const Tally& tally, DialogControls& c);
// "Ekle": value + increment, both read from their fields (text that is no
// number reads as 0). The sum stops at the ends of the 32-bit range.
void AddToTally(DialogControls& c);
// "Kapat": the three fields as they will be saved, the name cut to 32
// characters.
Tally ReadTallyForm(DialogControls& c);

const ControlTip* TallyTips(int* count);

}  // namespace miravel
