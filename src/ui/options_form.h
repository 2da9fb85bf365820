// The rules of the options dialog "SettingsDlg": what its controls show,
// what its switches do, the four minute fields that "Kaydet" checks, and
// when the salâ file must be offered for download.
#pragma once

#include <string_view>

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

// What "Kaydet" offers when the salâ file is needed and missing. A download
// is offered only where it can succeed: an address is configured and the
// download function exists. Otherwise the user is asked to choose a WAV
// file of their own, which is copied beside the program as "sala.wav".
enum class SalaFileOffer { kNone, kDownload, kChooseFile };
SalaFileOffer SalaOfferFor(const Options& o, bool salaFileExists, bool canDownload);

inline constexpr char kSalaChooseQuestion[] =
    "Salâ dosyası (sala.wav) yüklü değil.\nŞimdi bir salâ ses dosyası (WAV) seçmek ister "
    "misiniz?\nSeçtiğiniz dosya program klasörüne sala.wav adıyla kopyalanır.\n";
inline constexpr char kSalaChooseTitle[] = "Salâ Dosyası Seç";
inline constexpr char kSalaNotWave[] = "Seçilen dosya bir WAV dosyası değil.\n";
inline constexpr char kSalaCopyFailed[] = "Salâ dosyası kopyalanamadı...\n";

// Whether a file's first bytes are those of a RIFF/WAVE file.
bool LooksLikeWave(std::string_view head);

const ControlTip* OptionsTips(int* count);

}  // namespace miravel
