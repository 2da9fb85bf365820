// mp3wav: wraps an MP3 file into a WAV file, as the program's "MP3 » WAV
// Çevirici" does, without its dialogs.
#include <filesystem>
#include <string>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "sound/mp3_wav.h"

namespace miravel::cli {

const CommandHelp kMp3WavHelp = {
    "mp3wav",
    "IN.mp3 OUT.wav",
    "wrap an MP3 file into a WAV file Windows can play",
    "What the program's \"MP3 » WAV Çevirici\" does, without its dialogs.",
    {}};

int RunMp3Wav(int argc, char** argv) {
    Args args({}, {});
    std::string error;
    if (!args.Parse(argc, argv, &error) || args.Positional().size() != 2) {
        PrintError(error.empty() ? "mp3wav takes IN.mp3 OUT.wav" : error);
        return 2;
    }
    const std::filesystem::path source = std::filesystem::u8path(args.Positional()[0]);
    const std::filesystem::path target = std::filesystem::u8path(args.Positional()[1]);
    const Mp3WavResult result = WrapMp3AsWav(source, target);
    if (result.step == Mp3WavStep::kDone) return 0;
    PrintError(std::string(Mp3WavCaption(result.step)) + ": " + Mp3WavMessage(result));
    // What the user handed over was wrong; anything else is the system's.
    return result.step == Mp3WavStep::kNotMp3 || result.step == Mp3WavStep::kSameFile ? 2 : 1;
}

}  // namespace miravel::cli
