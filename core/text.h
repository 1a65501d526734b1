// ASCII character classes and case folding (never the locale), and the program's one line reader.
#pragma once

#include <csignal>

inline bool is_lower_letter(char c) {
    return c >= 'a' && c <= 'z';
}
inline bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
inline char to_lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}
inline char to_upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

void fold_lower(char* text, int length); // lower-cases the first length bytes in place

// Flushes stdout, empties buf, then reads one line like std::fgets: at most size - 1 bytes,
// the line feed kept when it fits, the rest left for the next read. Returns the number of
// bytes taken (NUL bytes count like any other). 0 means that nothing could be read: input has
// ended, or reading failed (standard input a directory, say); callers take both as the end of
// input. An interrupt while the read waits is neither.
int read_line(char* buf, int size);

// The rule read_line keeps, apart from the stream: bytes come from read_byte (EOF at the end).
// When a read ends with nothing, wait(count) is called with the interrupt count from before
// that read; if the count has moved by then, an interrupt ended the read, and it is read again.
int read_line_from(char* buf, int size, int (*read_byte)(), void (*wait)(std::sig_atomic_t));

// What read_line waits with: null until the console installs its interrupt handler, which
// sets it to the wait of a console where an interrupt ends a pending read.
extern void (*read_interrupted_wait)(std::sig_atomic_t count_before);
