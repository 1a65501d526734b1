// Shared by the tests, the benchmarks and the fuzz entry: the standard streams pointed at
// files, and starters written as text. Streams are redirected through file descriptors and
// freopen, which every C library allows; assigning to stdin or stdout is not portable.
#pragma once

#include "core/grid.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

// From now on stdin reads these bytes and then meets the end of input. The stream is opened
// anew, so nothing that an earlier feed left in its buffer is read.
inline void feed_stdin(const void* bytes, std::size_t size) {
    char path[] = "/tmp/verbagrid_input_XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0 || write(fd, bytes, size) != static_cast<ssize_t>(size)) std::abort();
    close(fd);
    if (std::freopen(path, "rb", stdin) == nullptr) std::abort();
    std::remove(path); // the open stream keeps the file until it is closed
}

// Sends stdout to path until restore_stdout is called with what this returns.
inline int divert_stdout(const char* path = "/dev/null") {
    std::fflush(stdout);
    int saved = dup(1);
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (saved < 0 || fd < 0 || dup2(fd, 1) < 0) std::abort();
    close(fd);
    return saved;
}

inline void restore_stdout(int saved) {
    std::fflush(stdout);
    dup2(saved, 1);
    close(saved);
}

// Lays a starter written as 81 characters in reading order into p: '1'..'9' are givens,
// anything else an empty cell. Returns false, with the cells before the offending one laid,
// if a given breaks the sudoku rule.
inline bool load_starter(puzzle& p, const char* cells) {
    for (int cell = 0; cell < 81; ++cell) {
        int v = cells[cell] - '0';
        if (v < 1 || v > 9) continue;
        if (!fits(p, cell, v)) return false;
        place_value(p, cell, v);
        p.given[cell] = 1;
    }
    return true;
}

// Lifts the givens that load_starter laid from the same text.
inline void unload_starter(puzzle& p, const char* cells) {
    for (int cell = 0; cell < 81; ++cell) {
        int v = cells[cell] - '0';
        if (v < 1 || v > 9) continue;
        remove_value(p, cell);
        p.given[cell] = 0;
    }
}
