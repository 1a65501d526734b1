// ASCII character classes and case folding (never the locale), and the program's one line reader.
#pragma once

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
