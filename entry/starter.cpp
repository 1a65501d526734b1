// Starter entry. Letters take the values 1, 2, 3, ... in order of first appearance, digits
// their own value; the two may share a value. A letter that a refused row added keeps its
// value until the next starter: the alphabet only grows while a starter is typed.
#include "entry/starter.h"

#include "core/text.h"

namespace {

bool is_blank(char c) {
    return c == '-' || c == '.' || c == ' ';
}

} // namespace

row_verdict parse_row(puzzle& p, const char* line, int row) {
    for (int i = 0; i < 9; ++i) {
        char c = line[i];
        int cell = 9 * row + i;
        if (is_blank(c)) continue;
        row_fault fault = row_fault::none;
        int v = 0;
        if (!is_lower_letter(c) && !is_digit(c)) {
            fault = row_fault::bad_letter;
        } else {
            v = is_digit(c) ? c - '0' : p.letter_value[static_cast<unsigned char>(c)];
            if (v == 0 && is_lower_letter(c) && p.next_value <= 9) v = add_symbol(p, c);
            if (v < 1 || v > 9) {
                fault = row_fault::no_value;
            } else if (p.grid[cell] != 0 || !fits(p, cell, v)) {
                fault = row_fault::illegal;
            }
        }
        if (fault != row_fault::none) {
            undo_row(p, line, row, i - 1);
            return {fault, c, p.next_value};
        }
        place_value(p, cell, v);
        p.given[cell] = 1;
    }
    return {row_fault::none, 0, p.next_value};
}

void undo_row(puzzle& p, const char* line, int row, int last) {
    for (int j = 0; j <= last; ++j) {
        if (is_blank(line[j])) continue;
        int cell = 9 * row + j;
        remove_value(p, cell);
        p.given[cell] = 0;
    }
}
