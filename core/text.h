// ASCII character classes and case folding, never the locale's.
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
