// Puzzles written as text, one cell a character, as files of puzzles hold them: a digit 1..9
// is its own value, a letter (either case) the value its first appearance gives it, as at the
// row prompt, and '.', '0', '-' or '_' an empty cell.
#pragma once

// Whether c can stand for a cell in a puzzle file.
bool is_puzzle_cell(char c);

#include "core/grid.h"

// Lays the 81 cells of text into p, which the caller has emptied: givens flagged, letters in
// the alphabet. Returns 1 when the puzzle is well formed. On 0, reason holds why not, naming
// the cell (row and column from 1), and the puzzle is partly laid.
int lay_puzzle_text(puzzle& p, const char* cells, char* reason, int size);
