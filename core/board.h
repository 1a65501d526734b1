// Prints the grid as a 9x9 block: givens upper case, other filled cells lower case, empty
// cells as dashes, values without a symbol as digits. Reads the puzzle, changes nothing.
#pragma once

#include <cstdio>

// How a cell prints: '-' when empty, its letter (upper case for a given), else its digit.
char symbol_of(int v, bool is_given);

void print_board(); // the grid, to stdout

// The same layout for any 81 cells and given flags, to out; symbols from the alphabet.
void write_board(std::FILE* out, const int* cells, const int* givens);

// The same into text, which holds board_size bytes; returns the length written (no NUL).
constexpr int board_size = 232; // 81 cells of 2 bytes, 27 gaps of 2, 13 line feeds: 229
int format_board(char* text, const int* cells, const int* givens);
