// Verbagrid: letter sudoku at the console. With no arguments, the dialogue; with a command
// (solve, compose) or an option, the command line.
#include "cli/commands.h"

int main(int argc, char** argv) {
    return run_command_line(argc, argv);
}
