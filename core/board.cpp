// The board is built in one buffer and written at once: stdout is unbuffered, and a listing
// of ten solutions should not cost a thousand writes.
#include "core/board.h"

#include "core/grid.h"
#include "core/text.h"

#include <cstdio>

char symbol_of(int v, bool is_given) {
    char c = static_cast<char>(value_letter[v]);
    if (v == 0) return '-';
    if (c == 0) return static_cast<char>('0' + v);
    return is_given ? to_upper(c) : to_lower(c);
}

void print_board() {
    write_board(stdout, grid, given);
}

void write_board(std::FILE* out, const int* cells, const int* givens) {
    char text[board_size];
    std::fwrite(text, 1, static_cast<std::size_t>(format_board(text, cells, givens)), out);
}

int format_board(char* text, const int* cells, const int* givens) {
    int length = 0;
    for (int cell = 0; cell < 81; ++cell) {
        // the gap comes before the line feeds: each row ends with the next group's two spaces
        if (cell % 3 == 0) {
            text[length++] = ' ';
            text[length++] = ' ';
        }
        if (cell % 9 == 0) text[length++] = '\n';
        if (cell % 27 == 0) text[length++] = '\n';
        text[length++] = symbol_of(cells[cell], givens[cell] != 0);
        text[length++] = ' ';
    }
    text[length++] = '\n';
    return length;
}
