// Shared by the unit tests: a fixture with a puzzle of its own and the stop flag cleared, and
// checks of a puzzle's invariants.
#pragma once

#include "core/counter.h"
#include "core/grid.h"
#include "core/stop_flag.h"
#include "tests/harness.h"

#include <cstring>
#include <gtest/gtest.h>

// True when every row, column and box set is exactly the union of its cells' value bits.
inline bool sets_match_grid(const puzzle& p) {
    int rows[9] = {}, cols[9] = {}, boxes[9] = {};
    for (int cell = 0; cell < 81; ++cell) {
        rows[row_of[cell]] |= value_bit[p.grid[cell]];
        cols[col_of[cell]] |= value_bit[p.grid[cell]];
        boxes[box_of[cell]] |= value_bit[p.grid[cell]];
    }
    return std::memcmp(rows, p.row_mask, sizeof rows) == 0 &&
           std::memcmp(cols, p.col_mask, sizeof cols) == 0 &&
           std::memcmp(boxes, p.box_mask, sizeof boxes) == 0;
}

// Counts p's solutions up to bound + 1 with a counter of its own.
inline int count_up_to(puzzle& p, int bound, bool in_reading_order = false) {
    counter c;
    c.best_count = bound;
    c.in_reading_order = in_reading_order;
    return count_solutions(p, c);
}

class Puzzle : public testing::Test {
  protected:
    void SetUp() override { stop_flag = 0; }
    void TearDown() override { stop_flag = 0; }
    puzzle p{};
};
