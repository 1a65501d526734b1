// Solver-mode entry of a starter, a row at a time: each row is checked whole and placed, or
// refused with the puzzle as it was before it. The prompts and messages are the dialogue's.
#pragma once

#include "core/grid.h"

// Why a row was refused, and the character that refused it.
enum class row_fault { none, bad_letter, no_value, illegal };
struct row_verdict {
    row_fault fault;
    char c;
    int next_value; // the alphabet's next value when the row was refused
};

// Checks and places the nine cells of line as row row (0..8) of p, as givens.
row_verdict parse_row(puzzle& p, const char* line, int row);
// Lifts the cells placed from positions 0 to last of line (nothing when last is -1).
void undo_row(puzzle& p, const char* line, int row, int last);
