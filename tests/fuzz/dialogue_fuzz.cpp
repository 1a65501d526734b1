// Fuzz entry for the whole dialogue: the input bytes are what the user types, from the mode
// prompt on. Every run starts from a fresh program state. A composition is stopped after a
// bounded number of lay-outs, as Ctrl-C would stop it, so that one run stays short; a timer
// does the same for a search that lays letters for long without completing a lay-out.
#include "composer/compose.h"
#include "console/modes.h"
#include "core/stop_flag.h"
#include "tests/harness.h"

#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <sys/time.h>

namespace {

constexpr int layouts_per_composition = 300;

// Stops each composition after a bounded number of lay-outs.
class bounded : public layout_watcher {
  public:
    void made(const composition&) override {
        if (--left == 0) {
            stop_flag = 1;
            left = layouts_per_composition;
        }
    }
    int left = layouts_per_composition;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    feed_stdin(data, size);
    int saved = divert_stdout();
    stop_flag = 0;
    bounded watcher;
    dialogue_settings settings;
    settings.watcher = &watcher;
    std::signal(SIGALRM, on_stop_signal);
    itimerval timer = {};
    timer.it_value.tv_usec = 20'000;
    timer.it_interval.tv_usec = 20'000;
    setitimer(ITIMER_REAL, &timer, nullptr);
    run_program(settings);
    timer = {};
    setitimer(ITIMER_REAL, &timer, nullptr);
    restore_stdout(saved);
    return 0;
}
