// Owns the puzzle state and the fixed geometry. The invariant: each row, column and box set
// is exactly the union of the value bits of its cells, and no value repeats within one.
#include "core/grid.h"

#include <cstring>

thread_local constinit int grid[81];
thread_local constinit int given[81];
thread_local constinit int row_mask[9];
thread_local constinit int col_mask[9];
thread_local constinit int box_mask[9];
thread_local constinit int letter_value[256];
thread_local constinit int value_letter[10];
thread_local constinit int next_value = 1;

void reset_puzzle() {
    std::memset(grid, 0, sizeof grid);
    std::memset(given, 0, sizeof given);
    std::memset(row_mask, 0, sizeof row_mask);
    std::memset(col_mask, 0, sizeof col_mask);
    std::memset(box_mask, 0, sizeof box_mask);
    std::memset(letter_value, 0, sizeof letter_value);
    std::memset(value_letter, 0, sizeof value_letter);
    next_value = 1;
}

int add_symbol(char c) {
    int v = next_value++;
    letter_value[static_cast<unsigned char>(c)] = v;
    value_letter[v] = static_cast<unsigned char>(c);
    return v;
}

int measure_difficulty() {
    int count[27] = {};
    for (int cell = 0; cell < 81; ++cell) {
        if (grid[cell] == 0) continue;
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
