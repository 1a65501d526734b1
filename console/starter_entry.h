// The solver's side of the dialogue: a starter typed row by row at the row prompts, each row
// checked and placed whole before the next is asked for.
#pragma once

#include "core/grid.h"

// Reads nine rows into p, which the caller has emptied; 1 once all nine are in, 0 when an empty
// answer or the end of input ends the session.
int read_starter(puzzle& p);
int read_row(puzzle& p, int row); // asks for one row until accepted (1) or the session ends (0)
