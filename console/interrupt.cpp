// The interrupt handler writes the stop flag and nothing else; the searches read the flag on
// every call and unwind. It installs itself again where a platform resets it before the call.
#include "console/interrupt.h"

#include "core/stop_flag.h"

#include <csignal>

volatile std::sig_atomic_t stop_flag;

void on_interrupt(int) {
    stop_flag = 1;
    install_interrupt_handler();
}

void install_interrupt_handler() {
    std::signal(SIGINT, on_interrupt);
#ifdef SIGBREAK
    std::signal(SIGBREAK, on_interrupt);
#endif
}
