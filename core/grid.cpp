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

int row_of[81];
int col_of[81];
int box_of[81];
int value_bit[10];
int unit_cell[27][9];
int set_size[512];
std::uint64_t peer_cells[81][2];

void init_geometry() {
    for (int cell = 0; cell < 81; ++cell) {
        row_of[cell] = cell / 9;
        col_of[cell] = cell % 9;
        box_of[cell] = 3 * (cell / 27) + (cell % 9) / 3;
    }
    value_bit[0] = 0;
    for (int v = 1; v <= 9; ++v) value_bit[v] = 1 << (v - 1);
    for (int set = 1; set < 512; ++set) set_size[set] = set_size[set >> 1] + (set & 1);
    for (int cell = 0; cell < 81; ++cell) {
        for (int other = 0; other < 81; ++other) {
            if (row_of[other] == row_of[cell] || col_of[other] == col_of[cell] ||
                box_of[other] == box_of[cell]) {
                peer_cells[cell][other >> 6] |= std::uint64_t{1} << (other & 63);
            }
        }
    }
    int filled[27] = {};
    for (int cell = 0; cell < 81; ++cell) {
        unit_cell[row_of[cell]][filled[row_of[cell]]++] = cell;
        unit_cell[9 + col_of[cell]][filled[9 + col_of[cell]]++] = cell;
        unit_cell[18 + box_of[cell]][filled[18 + box_of[cell]]++] = cell;
    }
}

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
