// miravel-cli: the prayer times, almanac and checks of Miravel on a terminal.
#include "cli/commands.h"
#include "cli/console.h"

int main(int argc, char** argv) {
    miravel::cli::PrepareConsole();
    return miravel::cli::RunCli(argc, argv);
}
