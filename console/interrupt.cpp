// The interrupt handler counts the interrupt and sets the stop flag, and writes nothing else;
// the searches read the flag on every call and unwind, and the line reader reads the count.
// The handler installs itself again where a platform resets it before the call.
#include "console/interrupt.h"

#include "core/stop_flag.h"
#include "core/text.h"

#include <cstdio>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#endif

void on_interrupt(int) {
    // wraps well inside the range every sig_atomic_t holds: the reader only asks "moved?"
    interrupt_count = static_cast<std::sig_atomic_t>((interrupt_count + 1) & 0x7FFF);
    stop_flag = 1;
    install_interrupt_handler();
}

void install_interrupt_handler() {
    std::signal(SIGINT, on_interrupt);
#ifdef SIGBREAK
    std::signal(SIGBREAK, on_interrupt);
#endif
    read_interrupted_wait = await_console_interrupt;
}

void await_console_interrupt([[maybe_unused]] std::sig_atomic_t count_before) {
#ifdef _WIN32
    if (!_isatty(_fileno(stdin))) return;
    for (int waited = 0; waited < 20 && interrupt_count == count_before; ++waited) Sleep(10);
    if (interrupt_count != count_before) std::clearerr(stdin);
#endif
}
