// Puzzles from files. The same symbols as at the row prompt, so a puzzle typed there and one
// read from a file mean the same grid, with the blanks that puzzle files use instead of a
// space. A malformed puzzle is refused with the first fault in reading order.
#include "entry/puzzle_text.h"

#include "core/grid.h"
#include "core/text.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace {

bool is_blank(char c) {
    return c == '.' || c == '0' || c == '-' || c == '_';
}

// The unit of the cell that already holds v, as words for the reason.
const char* clashing_unit(const puzzle& p, int cell, int v) {
    int bit = value_bit[v];
    if ((p.row_mask[row_of[cell]] & bit) != 0) return "row";
    if ((p.col_mask[col_of[cell]] & bit) != 0) return "column";
    return "box";
}

} // namespace

bool is_puzzle_cell(char c) {
    char lower = to_lower(c);
    return is_blank(c) || is_digit(c) || is_lower_letter(lower);
}

int lay_puzzle_text(puzzle& p, const char* cells, char* reason, int size) {
    auto n = static_cast<std::size_t>(size);
    // ten different symbols are a tenth too many, whatever values letters would take: found
    // first, or a letter could be blamed for repeating the value of a digit further on
    int digits = 0;
    std::uint32_t letters = 0;
    for (int cell = 0; cell < 81; ++cell) {
        char c = to_lower(cells[cell]);
        if (!is_blank(c) && !is_digit(c) && !is_lower_letter(c)) break; // reported below
        if (is_digit(c) && c != '0') digits |= value_bit[c - '0'];
        if (is_lower_letter(c)) letters |= std::uint32_t{1} << (c - 'a');
        if (std::popcount(static_cast<unsigned>(digits)) + std::popcount(letters) == 10) {
            std::snprintf(reason, n, "a tenth symbol '%c' at row %d, column %d", cells[cell],
                          cell / 9 + 1, cell % 9 + 1);
            return 0;
        }
    }
    for (int cell = 0; cell < 81; ++cell) {
        char typed = cells[cell];
        char c = to_lower(typed);
        int row = cell / 9 + 1;
        int col = cell % 9 + 1;
        if (is_blank(c)) continue;
        if (!is_digit(c) && !is_lower_letter(c)) {
            if (c > ' ' && c <= '~') {
                std::snprintf(reason, n, "bad character '%c' at row %d, column %d", c, row, col);
            } else { // a control byte or a byte outside ASCII would garble the message
                std::snprintf(reason, n, "bad character (byte %d) at row %d, column %d",
                              static_cast<unsigned char>(c), row, col);
            }
            return 0;
        }
        int v = is_digit(c) ? c - '0' : p.letter_value[static_cast<unsigned char>(c)];
        if (v == 0) {
            if (p.next_value == 10) {
                std::snprintf(reason, n, "a tenth symbol '%c' at row %d, column %d", typed, row,
                              col);
                return 0;
            }
            v = add_symbol(p, c);
        }
        if (!fits(p, cell, v)) {
            std::snprintf(reason, n, "'%c' at row %d, column %d repeats a value of its %s", typed,
                          row, col, clashing_unit(p, cell, v));
            return 0;
        }
        place_value(p, cell, v);
        p.given[cell] = 1;
    }
    return 1;
}
