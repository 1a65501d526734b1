// Prints the grid as a 9x9 block: givens upper case, other filled cells lower case, empty
// cells as dashes, values without a symbol as digits. Reads the puzzle, changes nothing.
#pragma once

#include <cstdio>

// How a cell prints: '-' when empty, its letter (upper case for a given), else its digit.
char symbol_of(int v, bool is_given);

void print_board(); // the grid, to stdout

// The same layout for any 81 cells and given flags, to out; symbols from the alphabet.
void write_board(std::FILE* out, const int* cells, const int* givens);
