// Ctrl-C and Ctrl-Break stop the current search through the library's stop handler, which
// writes nothing but the stop flag and the interrupt count; the searches read the flag on
// every call and unwind, and the line reader reads the count.
#include "console/interrupt.h"

#include "core/stop_flag.h"

#include <cstdio>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#endif

void install_interrupt_handler() {
    std::signal(SIGINT, on_stop_signal);
#ifdef SIGBREAK
    std::signal(SIGBREAK, on_stop_signal);
#endif
}

void await_console_interrupt([[maybe_unused]] std::sig_atomic_t count_before) {
#ifdef _WIN32
    if (!_isatty(_fileno(stdin))) return;
    for (int waited = 0; waited < 20 && interrupt_count == count_before; ++waited) Sleep(10);
    if (interrupt_count != count_before) std::clearerr(stdin);
#endif
}
