#include "cli/help.h"

#include <algorithm>
#include <cstring>

namespace miravel::cli {

namespace {

constexpr size_t kFlagColumn = 24;  // options longer than this get a line of their own

std::string OptionLines(std::span<const OptionHelp> options) {
    std::string out;
    for (const OptionHelp& o : options) {
        std::string line = std::string("  ") + o.flag;
        if (line.size() + 2 > kFlagColumn) {
            out += line + "\n";
            line.clear();
        }
        line.resize(kFlagColumn, ' ');
        out += line + o.about + "\n";
    }
    return out;
}

}  // namespace

std::string CommandHelpText(const CommandHelp& help) {
    std::string out = std::string("usage: miravel-cli ") + help.name;
    if (help.arguments[0] != '\0') out += std::string(" ") + help.arguments;
    std::string summary = help.summary;
    if (!summary.empty() && summary[0] >= 'a' && summary[0] <= 'z') summary[0] -= 'a' - 'A';
    out += "\n\n" + summary + ".\n";
    if (help.details[0] != '\0') out += std::string("\n") + help.details + "\n";
    out += "\nOptions:\n";
    out += OptionLines(help.placeOptions);
    out += OptionLines(help.options);
    static constexpr OptionHelp kHelpOption[] = {{"-h, --help", "show this help and exit"}};
    out += OptionLines(kHelpOption);
    return out;
}

std::string ToolHelpText(std::span<const CommandHelp* const> commands) {
    std::string out =
        "usage: miravel-cli COMMAND [ARGUMENTS] [OPTIONS]\n"
        "       miravel-cli COMMAND --help    (or: miravel-cli help COMMAND)\n"
        "\n"
        "The prayer times, almanac and checks of Miravel on a terminal. The place\n"
        "and the calculation parameters come from miravel.ini in the current\n"
        "folder (or --ini FILE) and can be set on the command line.\n"
        "\n"
        "Commands:\n";
    size_t width = 0;
    for (const CommandHelp* c : commands)
        width = std::max(width, std::strlen(c->name));
    for (const CommandHelp* c : commands) {
        std::string line = std::string("  ") + c->name;
        line.resize(width + 4, ' ');
        out += line + c->summary + "\n";
    }
    out +=
        "\n"
        "Exit status: 0 done (or help shown), 1 the work failed (a file, the\n"
        "network, nothing found), 2 wrong usage (an unknown command or option, a\n"
        "bad value).\n";
    return out;
}

bool AsksForHelp(int argc, char** argv) {
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) return false;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
    }
    return false;
}

}  // namespace miravel::cli
