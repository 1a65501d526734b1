// The commands' signal handler sets the stop flag and counts the signal, and does nothing
// else; the searches unwind on the flag, and the command reads the count to tell an
// interrupted run from one that ended by itself.
#include "cli/signals.h"

#include "core/stop_flag.h"

#include <csignal>

namespace {

std::sig_atomic_t count_at_install;

void on_stop_signal(int signal) {
    interrupt_count = static_cast<std::sig_atomic_t>((interrupt_count + 1) & 0x7FFF);
    stop_flag = 1;
    std::signal(signal, on_stop_signal); // where the platform resets it before the call
}

} // namespace

void install_stop_signals() {
    count_at_install = interrupt_count;
    std::signal(SIGINT, on_stop_signal);
    std::signal(SIGTERM, on_stop_signal);
#ifdef SIGHUP
    std::signal(SIGHUP, on_stop_signal);
#endif
#ifdef SIGBREAK
    std::signal(SIGBREAK, on_stop_signal);
#endif
}

bool stopped_by_signal() {
    return interrupt_count != count_at_install;
}
