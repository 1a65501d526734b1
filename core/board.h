// Prints the grid as a 9x9 block: givens upper case, other filled cells lower case, empty
// cells as dashes, values without a symbol as digits. Reads the puzzle, changes nothing.
#pragma once

void print_board();
