// Starter entry. Letters take the values 1, 2, 3, ... in order of first appearance, digits
// their own value; the two may share a value. A letter that a rejected row added keeps its
// value until the next starter: the alphabet only grows while a starter is typed.
#include "entry/starter.h"

#include "core/grid.h"
#include "core/text.h"

#include <cstdio>

namespace {

bool is_blank(char c) {
    return c == '-' || c == '.' || c == ' ';
}

} // namespace

int read_starter() {
    std::fputs("\nNew starter\nEx: ligne[1]: a-b---cd-\n\n", stdout);
    for (int row = 0; row < 9; ++row) {
        if (read_row(row) == 0) return 0;
    }
    return 1;
}

int read_row(int row) {
    for (;;) {
        std::printf("ligne[%d] : ", row + 1);
        char line[12];
        // the length is what the read took: a NUL byte is a character, not the end
        int length = read_line(line, sizeof line);
        fold_lower(line, length);
        if (length <= 1) return 0;
        if (length != 10) {
            std::fputs("* needs 9 chars/line\n", stdout);
            continue;
        }
        if (parse_row(line, row) == 1) return 1;
    }
}

int parse_row(const char* line, int row) {
    for (int i = 0; i < 9; ++i) {
        char c = line[i];
        int cell = 9 * row + i;
        if (is_blank(c)) continue;
        if (!is_lower_letter(c) && !is_digit(c)) {
            std::printf("- bad letter: %c\n", c);
            undo_row(line, row, i - 1);
            return 0;
        }
        int v = 0;
        if (is_digit(c)) {
            v = c - '0';
        } else {
            v = letter_value[static_cast<unsigned char>(c)];
            if (v == 0 && next_value <= 9) v = add_symbol(c);
        }
        if (v < 1 || v > 9) {
            std::printf("- bad letter : %c (%d)\n", c, next_value);
            undo_row(line, row, i - 1);
            return 0;
        }
        if (grid[cell] != 0 || !fits(cell, v)) {
            std::printf("- illegal: %c\n", c);
            undo_row(line, row, i - 1);
            return 0;
        }
        place_value(cell, v);
        given[cell] = 1;
    }
    return 1;
}

void undo_row(const char* line, int row, int last) {
    for (int j = 0; j <= last; ++j) {
        if (is_blank(line[j])) continue;
        int cell = 9 * row + j;
        remove_value(cell);
        given[cell] = 0;
    }
}
