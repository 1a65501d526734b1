// The program's entry beside the dialogue: parses the command line and runs what it asks for.
// With no command the dialogue runs, exactly as it does with no arguments.
#include "cli/commands.h"
#include "composer/compose.h"
#include "console/modes.h"

#include <thread>
#ifdef __linux__
#include <sched.h>
#endif

namespace {

// The cores this process may run on: its affinity where the system tells it, else all.
int usable_cores() {
#ifdef __linux__
    cpu_set_t cpus;
    if (sched_getaffinity(0, sizeof cpus, &cpus) == 0 && CPU_COUNT(&cpus) > 0) {
        return CPU_COUNT(&cpus);
    }
#endif
    unsigned cores = std::thread::hardware_concurrency();
    return cores > 0 ? static_cast<int>(cores) : 1;
}

} // namespace

int run_command_line(int argc, char** argv) {
    options parsed;
    int status = parse_options(argc, argv, &parsed);
    if (status >= 0) return status;
    counting_jobs = parsed.jobs > 0 ? parsed.jobs : usable_cores();
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
