// The stop flag, the signal count, and the one handler that writes them.
#include "core/stop_flag.h"

volatile std::sig_atomic_t stop_flag;
volatile std::sig_atomic_t interrupt_count;

void on_stop_signal(int signal) {
    // wraps well inside the range every sig_atomic_t holds: readers only ask "moved?"
    interrupt_count = static_cast<std::sig_atomic_t>((interrupt_count + 1) & 0x7FFF);
    stop_flag = 1;
    std::signal(signal, on_stop_signal);
}
