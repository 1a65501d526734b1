// The commands stop on the library's stop handler; they read the interrupt count to tell an
// interrupted run from one that ended by itself.
#include "cli/signals.h"

#include "core/stop_flag.h"

#include <csignal>

namespace {

std::sig_atomic_t count_at_install; // the interrupt count when the command installed the handler

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
