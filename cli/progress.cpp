// Whether standard error is a terminal decides how the line is drawn; the commands ask the
// same of their other streams here, where the Windows spelling is kept.
#include "cli/progress.h"

#include <cstdio>
#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

bool is_terminal(int fd) {
    return isatty(fd) != 0;
}

progress_line::progress_line(bool quiet) : quiet_(quiet), on_terminal_(is_terminal(2)) {}

void progress_line::show(const std::string& text) {
    if (quiet_) return;
    if (on_terminal_) {
        std::fprintf(stderr, "\r%-78s", text.c_str());
        shown_ = true;
    } else {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
}

void progress_line::end() {
    if (shown_) std::fputc('\n', stderr);
    shown_ = false;
}
