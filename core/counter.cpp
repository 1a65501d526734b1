// Two ways to count the same thing. The reading-order backtracking is the reference. The fast
// count fills forced cells (a cell with one candidate, a value with one place in a row,
// column or box) before it branches, and gives up on a branch as soon as a cell or a value
// has no place left. Measuring counts branch on the cell with fewest candidates; printing
// counts branch on the first empty cell in reading order, so solutions keep their order.
#include "core/counter.h"

#include "core/board.h"
#include "core/grid.h"
#include "core/stop_flag.h"

#include <bit>
#include <cstdio>
#include <cstring>

int solution_count;
int best_count;
int show_solutions;
bool fast_counting = true;

namespace {

int open_cell[81]; // cells the fast count has yet to fill; each level owns [0, its count)

inline int value_of(int bit) {
    return std::countr_zero(static_cast<unsigned>(bit)) + 1;
}

inline int unit_mask(int unit) {
    if (unit < 9) return row_mask[unit];
    if (unit < 18) return col_mask[unit - 9];
    return box_mask[unit - 18];
}

void report_solution() {
    ++solution_count;
    if (show_solutions == 1) {
        std::printf("\n-- sol (%d)\n", solution_count);
        print_board();
    }
}

// Moves the cell at position i behind the open part of the list.
inline void close_cell(int i, int* open_count) {
    int cell = open_cell[i];
    open_cell[i] = open_cell[--*open_count];
    open_cell[*open_count] = cell;
}

// Fills forced cells until none is left, recording each in placed. Returns the position in
// open_cell of the cell to branch on, -1 when the grid is complete, -2 on a contradiction.
template <bool in_order> int propagate(int* open_count, int* placed, int* placed_count) {
    int cand[81];
    for (;;) {
        bool changed = false;
        int branch = -1;
        int branch_size = 10;
        std::memset(cand, 0, sizeof cand);
        for (int i = 0; i < *open_count;) {
            int cell = open_cell[i];
            if (grid[cell] != 0) { // filled by a value with one place, below
                close_cell(i, open_count);
                continue;
            }
            int mask = candidates(cell);
            if (mask == 0) return -2;
            if ((mask & (mask - 1)) == 0) {
                place_value(cell, value_of(mask));
                placed[(*placed_count)++] = cell;
                close_cell(i, open_count);
                changed = true;
                continue;
            }
            cand[cell] = mask;
            if (in_order ? (branch < 0 || cell < open_cell[branch])
                         : std::popcount(static_cast<unsigned>(mask)) < branch_size) {
                branch = i;
                branch_size = std::popcount(static_cast<unsigned>(mask));
            }
            ++i;
        }
        if (*open_count == 0) return -1;
        if (changed) continue;

        // cand may go stale below as values are placed, but only ever holds too many
        // candidates: a value seen in one cell has at most that place left
        for (int unit = 0; unit < 27; ++unit) {
            int once = 0;
            int twice = 0;
            for (int j = 0; j < 9; ++j) {
                int mask = cand[unit_cell[unit][j]];
                twice |= once & mask;
                once |= mask;
            }
            int missing = all_values & ~unit_mask(unit);
            if ((once & missing) != missing) return -2; // a value with no place left
            int single = once & ~twice & missing;
            while (single != 0) {
                int bit = single & -single;
                single ^= bit;
                if ((unit_mask(unit) & bit) != 0) continue; // placed meanwhile from another unit
                int cell = 0;
                for (int j = 0; j < 9; ++j) {
                    if ((cand[unit_cell[unit][j]] & bit) != 0) cell = unit_cell[unit][j];
                }
                int v = value_of(bit);
                if (grid[cell] != 0 || !fits(cell, v)) return -2;
                place_value(cell, v);
                placed[(*placed_count)++] = cell;
                changed = true;
            }
        }
        if (!changed) return branch;
    }
}

template <bool in_order> void search(int open_count) {
    if (stop_flag != 0 || solution_count > best_count) return;
    int placed[81];
    int placed_count = 0;
    int branch = propagate<in_order>(&open_count, placed, &placed_count);
    if (branch == -1) {
        report_solution();
    } else if (branch >= 0) {
        int cell = open_cell[branch];
        close_cell(branch, &open_count);
        int mask = candidates(cell);
        // ascending values; no re-test between them: the callee tests the flag and the bound
        while (mask != 0) {
            int bit = mask & -mask;
            mask ^= bit;
            place_value(cell, value_of(bit));
            search<in_order>(open_count);
            remove_value(cell);
        }
    }
    while (placed_count > 0) remove_value(placed[--placed_count]);
}

} // namespace

void count_in_reading_order(int cell) {
    if (solution_count > best_count) return;
    for (;; ++cell) {
        if (stop_flag != 0) return;
        if (cell == 81) {
            report_solution();
            return;
        }
        if (grid[cell] == 0) break;
    }
    // no re-test between values: the callee tests the flag and the bound on entry
    for (int v = 1; v <= 9; ++v) {
        if (!fits(cell, v)) continue;
        place_value(cell, v);
        count_in_reading_order(cell + 1);
        remove_value(cell);
    }
}

void count_solutions(int cell) {
    if (!fast_counting) {
        count_in_reading_order(cell);
        return;
    }
    int open_count = 0;
    for (int c = cell; c < 81; ++c) {
        if (grid[c] == 0) open_cell[open_count++] = c;
    }
    if (show_solutions == 1) {
        search<true>(open_count);
    } else {
        search<false>(open_count);
    }
}
