// Verbagrid: letter sudoku at the console. With no arguments, the dialogue; with a command
// (solve, compose) or an option, the command line.
#include "cli/commands.h"
#include "console/modes.h"

int main(int argc, char** argv) {
    if (argc < 2) return run_program();
    return run_command_line(argc, argv);
}
