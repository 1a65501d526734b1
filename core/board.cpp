// The board is built in one buffer and written at once: stdout is unbuffered, and a listing
// of ten solutions should not cost a thousand writes.
#include "core/board.h"

#include "core/grid.h"
#include "core/text.h"

#include <cstdio>

void print_board() {
    char text[400]; // 81 cells of 2 bytes, 27 gaps of 2, 13 line feeds: 229 bytes
    int length = 0;
    for (int cell = 0; cell < 81; ++cell) {
        // the gap comes before the line feeds: each row ends with the next group's two spaces
        if (cell % 3 == 0) {
            text[length++] = ' ';
            text[length++] = ' ';
        }
        if (cell % 9 == 0) text[length++] = '\n';
        if (cell % 27 == 0) text[length++] = '\n';
        int v = grid[cell];
        char c = static_cast<char>(value_letter[v]);
        if (v == 0) {
            c = '-';
        } else if (c == 0) {
            c = static_cast<char>('0' + v);
        } else {
            c = given[cell] ? to_upper(c) : to_lower(c);
        }
        text[length++] = c;
        text[length++] = ' ';
    }
    text[length++] = '\n';
    std::fwrite(text, 1, static_cast<std::size_t>(length), stdout);
}
