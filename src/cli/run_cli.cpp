#include <cstring>
#include <string>

#include "cli/commands.h"
#include "cli/console.h"

namespace miravel::cli {

namespace {

struct Command {
    int (*run)(int argc, char** argv);
    const CommandHelp* help;
};

constexpr Command kCommands[] = {
    {RunTimes, &kTimesHelp},   {RunPlace, &kPlaceHelp},       {RunFind, &kFindHelp},
    {RunEvents, &kEventsHelp}, {RunAstro, &kAstroHelp},       {RunHijri, &kHijriHelp},
    {RunReport, &kReportHelp}, {RunTimeSync, &kTimeSyncHelp}, {RunRender, &kRenderHelp},
    {RunMp3Wav, &kMp3WavHelp},
};

const Command* Find(const char* name) {
    for (const Command& c : kCommands) {
        if (std::strcmp(name, c.help->name) == 0) return &c;
    }
    return nullptr;
}

std::string ToolHelp() {
    const CommandHelp* helps[std::size(kCommands)];
    for (size_t i = 0; i < std::size(kCommands); ++i)
        helps[i] = kCommands[i].help;
    return ToolHelpText(helps);
}

int UsageError(const std::string& message) {
    PrintError(message + " (miravel-cli --help lists the commands)");
    return 2;
}

}  // namespace

int RunCli(int argc, char** argv) {
    if (argc < 2) {
        PrintText(ToolHelp());
        return UsageError("no command given");
    }
    const char* first = argv[1];
    if (std::strcmp(first, "--help") == 0 || std::strcmp(first, "-h") == 0 ||
        std::strcmp(first, "help") == 0) {
        if (argc == 2 || std::strcmp(first, "help") != 0 || std::strcmp(argv[2], "help") == 0 ||
            AsksForHelp(argc - 2, argv + 2)) {
            PrintText(ToolHelp());
            return 0;
        }
        const Command* c = Find(argv[2]);
        if (!c) return UsageError(std::string("unknown command ") + argv[2]);
        PrintText(CommandHelpText(*c->help));
        return 0;
    }
    const Command* c = Find(first);
    if (!c) return UsageError(std::string("unknown command ") + first);
    if (AsksForHelp(argc - 2, argv + 2)) {
        PrintText(CommandHelpText(*c->help));
        return 0;
    }
    const int rc = c->run(argc - 2, argv + 2);
    if (rc == 2) PrintError(std::string("see miravel-cli ") + first + " --help");
    return rc;
}

}  // namespace miravel::cli
