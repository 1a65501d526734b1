// Line input for every prompt. Ctrl-C at a prompt must never look like end of input. Where
// signal() installs handlers that restart an interrupted read (glibc, BSD), the C library
// takes the read up again by itself; where it does not (System V semantics), getc fails with
// EINTR, and the read is taken up here.
#include "core/text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

void fold_lower(char* text, int length) {
    for (int i = 0; i < length; ++i) text[i] = to_lower(text[i]);
}

int read_line(char* buf, int size) {
    std::fflush(stdout);
    std::memset(buf, 0, static_cast<std::size_t>(size));
    int length = 0;
    while (length < size - 1) {
        int c = std::getc(stdin);
        if (c == EOF) {
            if (std::ferror(stdin) && errno == EINTR) {
                std::clearerr(stdin);
                continue;
            }
            break;
        }
        buf[length++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    return length;
}
