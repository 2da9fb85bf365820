// miravel-cli: the prayer times, almanac and checks of Miravel on a terminal.
#include <cstring>
#include <string>

#include "cli/commands.h"
#include "cli/console.h"

namespace {

struct Command {
    const char* name;
    int (*run)(int argc, char** argv);
    const char* usage;
};

constexpr Command kCommands[] = {
    {"times", miravel::cli::RunTimes,
     "times [--ini FILE] [--row N] [--date DD/MM/YYYY] [--lat DEG --lon DEG] [--zone HOURS] "
     "[--summer] [--mode N] [--preset diyanet|default] [--hijri official|crescent] [--sun HH:MM] "
     "[--json]"},
    {"place", miravel::cli::RunPlace, "place N"},
    {"find", miravel::cli::RunFind, "find TEXT"},
    {"events", miravel::cli::RunEvents,
     "events [--ini FILE] [--date DD/MM/YYYY] [--preset diyanet|default] "
     "[--hijri official|crescent] [--json]"},
    {"astro", miravel::cli::RunAstro,
     "astro [--ini FILE] [--row N] [--lat DEG --lon DEG] [--zone HOURS] [--summer] [--mode N] "
     "[--date DD/MM/YYYY] [--time HH:MM] [--preset diyanet|default] [--hijri official|crescent] "
     "[--json]"},
    {"hijri", miravel::cli::RunHijri,
     "hijri [--ini FILE] [--date DD/MM/YYYY] [--hijri official|crescent] [--json]"},
    {"report", miravel::cli::RunReport,
     "report monthly|yearly|religious [--ini FILE] [--date DD/MM/YYYY] "
     "[--preset diyanet|default] [--hijri official|crescent] [--out FILE]"},
    {"timesync", miravel::cli::RunTimeSync, "timesync HOST [--port N] [--timeout MS]"},
    {"render", miravel::cli::RunRender,
     "render angles|paths|moon|earth|globe|vakitmap|qiblamap|declmap|yearly [--ini FILE] "
     "[--row N] [--lat DEG --lon DEG] [--zone HOURS] [--date DD/MM/YYYY] [--time HH:MM] "
     "[--size WxH] [--resources DIR] [--preset diyanet|default] [--hijri official|crescent] "
     "--out FILE.bmp"},
    {"mp3wav", miravel::cli::RunMp3Wav, "mp3wav IN.mp3 OUT.wav"},
};

int Usage() {
    std::string text = "usage: miravel-cli COMMAND [OPTIONS]\n";
    for (const Command& c : kCommands)
        text += std::string("  ") + c.usage + "\n";
    miravel::cli::PrintText(text);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    miravel::cli::PrepareConsole();
    if (argc < 2) return Usage();
    for (const Command& c : kCommands) {
        if (std::strcmp(argv[1], c.name) == 0) return c.run(argc - 2, argv + 2);
    }
    miravel::cli::PrintError(std::string("unknown command ") + argv[1]);
    return 2;
}
