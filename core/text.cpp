// Line input for every prompt. Ctrl-C at a prompt must never look like end of input. Where
// signal() installs handlers that restart an interrupted read (glibc, BSD), the C library
// takes the read up again by itself; where it does not (System V semantics), getc fails with
// EINTR, and the read is taken up here. At a Windows console, Ctrl-C and Ctrl-Break end a
// pending read as if input had ended; the handler sets the stop flag, and a read that ended
// with nothing while the flag changed is taken up again too.
#include "core/text.h"

#include "core/stop_flag.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#endif

void fold_lower(char* text, int length) {
    for (int i = 0; i < length; ++i) text[i] = to_lower(text[i]);
}

namespace {

// Whether Ctrl-C or Ctrl-Break cut short a read that ended with nothing: at a Windows console,
// the stop flag changed since flag_before. The handler runs on a thread of its own, perhaps a
// moment after the read has returned, so it is given that moment. Elsewhere an interrupt
// never ends a read.
bool cut_short([[maybe_unused]] std::sig_atomic_t flag_before) {
#ifdef _WIN32
    if (!_isatty(_fileno(stdin))) return false;
    for (int waited = 0; waited < 20 && stop_flag == flag_before; ++waited) Sleep(10);
    return stop_flag != flag_before;
#else
    return false;
#endif
}

} // namespace

int read_line(char* buf, int size) {
    std::fflush(stdout);
    std::memset(buf, 0, static_cast<std::size_t>(size));
    int length = 0;
    std::sig_atomic_t flag_before = stop_flag;
    while (length < size - 1) {
        int c = std::getc(stdin);
        if (c == EOF) {
            bool interrupted = std::ferror(stdin) && errno == EINTR;
            if (interrupted || (length == 0 && cut_short(flag_before))) {
                std::clearerr(stdin);
                flag_before = stop_flag;
                continue;
            }
            break;
        }
        buf[length++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    return length;
}
