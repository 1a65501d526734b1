// A puzzle as a value: cell values, givens, row/column/box bit sets and the alphabet, and the
// fixed geometry every search reads. Every change of a cell goes through place_value and
// remove_value, so the sets never drift from the cells.
#pragma once

#include <bit>
#include <cstdint>

constexpr int all_values = 0x1FF; // the bits of the values 1..9

// The fixed geometry, worked out by the compiler: nothing to initialise, nothing to change.
struct geometry_tables {
    int row_of[81];       // cell / 9
    int col_of[81];       // cell % 9
    int box_of[81];       // 3 * (row / 3) + col / 3
    int value_bit[10];    // 0 for value 0, 1 << (v - 1) for v = 1..9
    int unit_cell[27][9]; // the cells of rows 0..8, columns 9..17, boxes 18..26
    int set_size[512];    // the number of values in each value set
    // each cell's row, column and box as a cell set, cells 0..63 then 64..80
    std::uint64_t peer_cells[81][2];
};

constexpr geometry_tables make_geometry() {
    geometry_tables t{};
    for (int cell = 0; cell < 81; ++cell) {
        t.row_of[cell] = cell / 9;
        t.col_of[cell] = cell % 9;
        t.box_of[cell] = 3 * (cell / 27) + (cell % 9) / 3;
    }
    for (int v = 1; v <= 9; ++v) t.value_bit[v] = 1 << (v - 1);
    for (int set = 1; set < 512; ++set) t.set_size[set] = t.set_size[set >> 1] + (set & 1);
    int filled[27] = {};
    for (int cell = 0; cell < 81; ++cell) {
        t.unit_cell[t.row_of[cell]][filled[t.row_of[cell]]++] = cell;
        t.unit_cell[9 + t.col_of[cell]][filled[9 + t.col_of[cell]]++] = cell;
        t.unit_cell[18 + t.box_of[cell]][filled[18 + t.box_of[cell]]++] = cell;
        for (int other = 0; other < 81; ++other) {
            if (t.row_of[other] == t.row_of[cell] || t.col_of[other] == t.col_of[cell] ||
                t.box_of[other] == t.box_of[cell]) {
                t.peer_cells[cell][other >> 6] |= std::uint64_t{1} << (other & 63);
            }
        }
    }
    return t;
}
inline constexpr geometry_tables geometry = make_geometry();
// The tables by their own names, as every search reads them.
inline constexpr const auto& row_of = geometry.row_of;
inline constexpr const auto& col_of = geometry.col_of;
inline constexpr const auto& box_of = geometry.box_of;
inline constexpr const auto& value_bit = geometry.value_bit;
inline constexpr const auto& unit_cell = geometry.unit_cell;
inline constexpr const auto& set_size = geometry.set_size;
inline constexpr const auto& peer_cells = geometry.peer_cells;

// A puzzle, owned by whoever works on it: the dialogue's, a command's, each counting thread's.
struct puzzle {
    int grid[81];          // value of each cell, 0..80 in reading order; 0 = empty
    int given[81];         // 1 where the cell is a given of the starter; read by the printer
    int row_mask[9];       // value bits present in each row
    int col_mask[9];       // value bits present in each column
    int box_mask[9];       // value bits present in each 3x3 box
    int letter_value[256]; // value of each symbol byte, by unsigned code; 0 = not in use
    int value_letter[10];  // symbol byte of each value; 0 = none (always 0 for value 0)
    int next_value = 1;    // value the next new symbol receives, 1..10 (10 = alphabet full)
};

void reset_puzzle(puzzle& p);      // empties cells, flags, sets and alphabet
int add_symbol(puzzle& p, char c); // gives c the next value and returns it; the caller
                                   // checks that there is room
// How evenly the givens spread: 9 minus the most givens of any row, column or box. This is
// the composer's score, not how hard the puzzle is to solve.
int measure_difficulty(const puzzle& p);

// The cells of a cell set (0..63, then 64..80) in increasing order into cells; their number.
inline int cells_in(const std::uint64_t set[2], int* cells) {
    int count = 0;
    for (int half = 0; half < 2; ++half) {
        for (std::uint64_t bits = set[half]; bits != 0; bits &= bits - 1) {
            cells[count++] = 64 * half + std::countr_zero(bits);
        }
    }
    return count;
}

// Inline: these run in the innermost loop of the solution counter.
inline int candidates(const puzzle& p, int cell) {
    return all_values &
           ~(p.row_mask[row_of[cell]] | p.col_mask[col_of[cell]] | p.box_mask[box_of[cell]]);
}

inline bool fits(const puzzle& p, int cell, int v) {
    return ((p.row_mask[row_of[cell]] | p.col_mask[col_of[cell]] | p.box_mask[box_of[cell]]) &
            value_bit[v]) == 0;
}

// The cell must be empty and fits(p, cell, v) must hold.
inline void place_value(puzzle& p, int cell, int v) {
    p.grid[cell] = v;
    p.row_mask[row_of[cell]] |= value_bit[v];
    p.col_mask[col_of[cell]] |= value_bit[v];
    p.box_mask[box_of[cell]] |= value_bit[v];
}

// The bit is always set here, so exclusive-or clears it.
inline void remove_value(puzzle& p, int cell) {
    int bit = value_bit[p.grid[cell]];
    p.row_mask[row_of[cell]] ^= bit;
    p.col_mask[col_of[cell]] ^= bit;
    p.box_mask[box_of[cell]] ^= bit;
    p.grid[cell] = 0;
}

// An empty cell that no value fits: a starter that has one has no solution. The counter
// leaves such a cell behind, and the next lay-out often has it too.
inline bool is_dead_cell(const puzzle& p, int cell) {
    return p.grid[cell] == 0 && candidates(p, cell) == 0;
}
