// The help of miravel-cli: one table per command, kept beside the command's
// code, and the texts made from them.
#pragma once

#include <span>
#include <string>

namespace miravel::cli {

struct OptionHelp {
    const char* flag;   // "--date DD/MM/YYYY": the flag and what its value looks like
    const char* about;  // one line
};

// The two conventions every command that computes times or dates takes.
inline constexpr OptionHelp kDateOptionHelp = {"--date DD/MM/YYYY",
                                               "the day (default: today), 1901..2099"};
inline constexpr OptionHelp kJsonOptionHelp = {"--json", "JSON output (UTF-8)"};
inline constexpr OptionHelp kPresetOptionHelp = {
    "--preset diyanet|default",
    "the official timetable's convention, or the program's own (default: as the INI says)"};
inline constexpr OptionHelp kHijriOptionHelp = {
    "--hijri official|crescent",
    "Turkey's official Hijri calendar, or the crescent rule (default: as the INI says)"};

// The INI file, the conventions, and the place and parameters on the command
// line: the first options of every command that computes for a place.
inline constexpr OptionHelp kPlaceOptionHelp[] = {
    {"--ini FILE", "the INI file of the place and parameters (default: miravel.ini here)"},
    kPresetOptionHelp,
    kHijriOptionHelp,
    {"--row N", "the place from row N of the settlement list miravel.csv"},
    {"--lat DEG", "latitude in degrees, north positive (with --lon)"},
    {"--lon DEG", "longitude in degrees, east positive (with --lat)"},
    {"--zone HOURS", "offset from UTC in hours, e.g. 3 or 5.5"},
    {"--summer", "add the summer hour"},
    {"--mode N", "calculation mode 0..5 (default 4)"},
};

struct CommandHelp {
    const char* name;       // "times"
    const char* arguments;  // what follows the name on the usage line
    const char* summary;    // one line, for the command list
    const char* details;    // paragraphs after the usage line; may be empty
    std::span<const OptionHelp> options;
    std::span<const OptionHelp> placeOptions = {};  // listed before `options`
};

// "usage: miravel-cli <name> <arguments>", the summary, details and options.
std::string CommandHelpText(const CommandHelp& help);
// The usage line of the whole program and every command with its summary.
std::string ToolHelpText(std::span<const CommandHelp* const> commands);
// Whether the arguments of a command ask for its help: "--help" or "-h"
// anywhere before a "--".
bool AsksForHelp(int argc, char** argv);

}  // namespace miravel::cli
