// The commands beside the dialogue, by name, and the number of counting threads they and the
// dialogue use.
#include "cli/commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
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

int jobs_wanted(const options& parsed) {
    return parsed.jobs > 0 ? parsed.jobs : usable_cores();
}

bool stdout_written() {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
    std::fprintf(stderr, "verbagrid: standard output: %s\n",
                 errno != 0 ? std::strerror(errno) : "a write failed");
    return false;
}

int interrupted() {
    std::fputs("verbagrid: interrupted\n", stderr);
    return 1;
}

int run_command(const options& parsed) {
    switch (parsed.what) {
    case command::help:
        print_help();
        return stdout_written() ? 0 : 1;
    case command::version:
        print_version();
        return stdout_written() ? 0 : 1;
    case command::solve:
        return run_solve(parsed);
    case command::compose:
        return run_compose(parsed);
    case command::generate:
        return run_generate(parsed);
    case command::dialogue:
    case command::play: // main runs the game: it is above both front ends
        break;
    }
    return 2;
}
