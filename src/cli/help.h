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
inline constexpr OptionHelp kPresetOptionHelp = {
    "--preset diyanet|default",
    "the official timetable's convention, or the program's own (default: as the INI says)"};
inline constexpr OptionHelp kHijriOptionHelp = {
    "--hijri official|crescent",
    "Turkey's official Hijri calendar, or the crescent rule (default: as the INI says)"};

struct CommandHelp {
    const char* name;       // "times"
    const char* arguments;  // what follows the name on the usage line
    const char* summary;    // one line, for the command list
    const char* details;    // paragraphs after the usage line; may be empty
    std::span<const OptionHelp> options;
};

// "usage: miravel-cli <name> <arguments>", the summary, details and options.
std::string CommandHelpText(const CommandHelp& help);
// The usage line of the whole program and every command with its summary.
std::string ToolHelpText(std::span<const CommandHelp* const> commands);
// Whether the arguments of a command ask for its help: "--help" or "-h"
// anywhere before a "--".
bool AsksForHelp(int argc, char** argv);

}  // namespace miravel::cli
