// Fuzz entry for the whole dialogue: the input bytes are what the user types, from the mode
// prompt on. Every run starts from a fresh program state. A composition is stopped after a
// bounded number of lay-outs, as Ctrl-C would stop it, so that one run stays short; a timer
// does the same for a search that lays letters for long without completing a lay-out.
#include "composer/compose_internal.h"
#include "console/interrupt.h"
#include "console/modes.h"
#include "core/counter.h"
#include "core/grid.h"
#include "core/stop_flag.h"
#include "tests/harness.h"

#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <sys/time.h>

namespace {

constexpr int layouts_per_composition = 300;
int layouts_left;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    feed_stdin(data, size);
    int saved = divert_stdout();

    reset_puzzle();
    stop_flag = 0;
    random_state = 1;
    solution_count = 0;
    best_count = 0;
    show_solutions = 0;
    layouts_left = layouts_per_composition;
    layout_probe = [] {
        if (--layouts_left == 0) {
            stop_flag = 1;
            layouts_left = layouts_per_composition;
        }
    };
    std::signal(SIGALRM, on_interrupt);
    itimerval timer = {};
    timer.it_value.tv_usec = 20'000;
    timer.it_interval.tv_usec = 20'000;
    setitimer(ITIMER_REAL, &timer, nullptr);
    run_program(1);
    timer = {};
    setitimer(ITIMER_REAL, &timer, nullptr);

    layout_probe = nullptr;
    restore_stdout(saved);
    return 0;
}
