// The subcommands of miravel-cli. Each takes the arguments after its name
// and returns the process exit code (0 success, 1 the work failed, 2 bad
// arguments or input); each has its help table beside its code.
#pragma once

#include "cli/help.h"

namespace miravel::cli {

int RunTimes(int argc, char** argv);
int RunPlace(int argc, char** argv);
int RunFind(int argc, char** argv);
int RunTimeSync(int argc, char** argv);
int RunEvents(int argc, char** argv);
int RunAstro(int argc, char** argv);
int RunHijri(int argc, char** argv);
int RunReport(int argc, char** argv);
int RunRender(int argc, char** argv);
int RunMp3Wav(int argc, char** argv);

extern const CommandHelp kTimesHelp;
extern const CommandHelp kPlaceHelp;
extern const CommandHelp kFindHelp;
extern const CommandHelp kTimeSyncHelp;
extern const CommandHelp kEventsHelp;
extern const CommandHelp kAstroHelp;
extern const CommandHelp kHijriHelp;
extern const CommandHelp kReportHelp;
extern const CommandHelp kRenderHelp;
extern const CommandHelp kMp3WavHelp;

// The whole program after PrepareConsole: argv[0] is the program's name.
// "--help", "-h" and "help" show the program's help, "help COMMAND" and
// "COMMAND --help" a command's, with exit code 0; no command or an unknown
// one is a usage error (2).
int RunCli(int argc, char** argv);

}  // namespace miravel::cli
