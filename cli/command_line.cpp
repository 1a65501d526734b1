// The program's entry beside the dialogue: parses the command line and runs what it asks for.
// With no command the dialogue runs, exactly as it does with no arguments.
#include "cli/commands.h"
#include "console/modes.h"

int run_command_line(int argc, char** argv) {
    options parsed;
    int status = parse_options(argc, argv, &parsed);
    if (status >= 0) return status;
    switch (parsed.what) {
    case command::help:
        print_help();
        return std::fflush(stdout) == 0 ? 0 : 1;
    case command::version:
        print_version();
        return std::fflush(stdout) == 0 ? 0 : 1;
    case command::solve:
        return run_solve(parsed);
    case command::compose:
        return run_compose(parsed);
    case command::dialogue:
        break;
    }
    return run_program();
}
