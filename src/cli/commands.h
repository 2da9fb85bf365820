// The subcommands of miravel-cli. Each takes the arguments after its name
// and returns the process exit code (0 success, 2 bad arguments or input).
#pragma once

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

}  // namespace miravel::cli
