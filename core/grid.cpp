// The puzzle's own operations beyond the inline ones. The invariant: each row, column and box
// set is exactly the union of the value bits of its cells, and no value repeats within one.
#include "core/grid.h"

void reset_puzzle(puzzle& p) {
    p = puzzle{};
}

int add_symbol(puzzle& p, char c) {
    int v = p.next_value++;
    p.letter_value[static_cast<unsigned char>(c)] = v;
    p.value_letter[v] = static_cast<unsigned char>(c);
    return v;
}

int measure_difficulty(const puzzle& p) {
    int count[27] = {};
    for (int cell = 0; cell < 81; ++cell) {
        if (p.grid[cell] == 0) continue;
        ++count[row_of[cell]];
        ++count[9 + col_of[cell]];
        ++count[18 + box_of[cell]];
    }
    int fullest = 0;
    for (int unit = 0; unit < 27; ++unit) {
        if (count[unit] > fullest) fullest = count[unit];
    }
    return 9 - fullest;
}
