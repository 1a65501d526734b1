// Line input for every prompt. Ctrl-C at a prompt must never look like end of input. Where
// signal() installs handlers that restart an interrupted read (glibc, BSD), the C library
// takes the read up again by itself; where it does not (System V semantics), getc fails with
// EINTR, and the byte is read again here. Where an interrupt ends a pending read as if input
// had ended (a Windows console), the handler counts every interrupt, and a read that ended
// with nothing while the count moved is taken up again: every interrupt, the second and later
// ones included, since the count moves even when the stop flag is already set.
#include "console/line_input.h"

#include "console/interrupt.h"
#include "core/stop_flag.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

int stdin_byte() {
    for (;;) {
        int c = std::getc(stdin);
        if (c != EOF || !std::ferror(stdin) || errno != EINTR) return c;
        std::clearerr(stdin);
    }
}

} // namespace

int read_line_from(char* buf, int size, int (*read_byte)(), void (*wait)(std::sig_atomic_t)) {
    std::memset(buf, 0, static_cast<std::size_t>(size));
    int length = 0;
    std::sig_atomic_t count_before = interrupt_count;
    while (length < size - 1) {
        int c = read_byte();
        if (c == EOF) {
            if (length > 0) break;
            wait(count_before);
            if (interrupt_count == count_before) break;
            count_before = interrupt_count;
            continue;
        }
        buf[length++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    return length;
}

int read_line(char* buf, int size) {
    std::fflush(stdout);
    return read_line_from(buf, size, stdin_byte, await_console_interrupt);
}
