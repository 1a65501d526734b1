// A board is built in one buffer and written at once: the dialogue's stdout is unbuffered, and
// a listing of ten solutions should not cost a thousand writes.
#include "render/board.h"

#include "core/text.h"

#include <cstdio>

char symbol_of(const int* value_letter, int v, bool is_given) {
    char c = static_cast<char>(value_letter[v]);
    if (v == 0) return '-';
    if (c == 0) return static_cast<char>('0' + v);
    return is_given ? to_upper(c) : to_lower(c);
}

int format_board(char* text, const int* cells, const int* givens, const int* value_letter) {
    int length = 0;
    for (int cell = 0; cell < 81; ++cell) {
        // the gap comes before the line feeds: each row ends with the next group's two spaces
        if (cell % 3 == 0) {
            text[length++] = ' ';
            text[length++] = ' ';
        }
        if (cell % 9 == 0) text[length++] = '\n';
        if (cell % 27 == 0) text[length++] = '\n';
        text[length++] = symbol_of(value_letter, cells[cell], givens[cell] != 0);
        text[length++] = ' ';
    }
    text[length++] = '\n';
    return length;
}

namespace {

// A heading and a board, in text, which holds board_size + 32 bytes; the length written.
int format_headed(char* text, const char* heading, int number, const puzzle& p) {
    int length = std::snprintf(text, 32, heading, number);
    return length + format_board(text + length, p.grid, p.given, p.value_letter);
}

} // namespace

void write_board(std::FILE* out, const puzzle& p) {
    char text[board_size];
    std::fwrite(text, 1,
                static_cast<std::size_t>(format_board(text, p.grid, p.given, p.value_letter)), out);
}

void write_solution(std::FILE* out, int number, const puzzle& p) {
    char text[board_size + 32];
    std::fwrite(text, 1,
                static_cast<std::size_t>(format_headed(text, "\n-- sol (%d)\n", number, p)), out);
}

void append_solution(std::string& text, int number, const puzzle& p) {
    char board[board_size + 32];
    text.append(board,
                static_cast<std::size_t>(format_headed(board, "\n-- sol (%d)\n", number, p)));
}

void write_starter(std::FILE* out, int difficulty, const puzzle& p) {
    char text[board_size + 32];
    std::fwrite(
        text, 1,
        static_cast<std::size_t>(format_headed(text, "\n** difficulty:%d ***\n", difficulty, p)),
        out);
}
