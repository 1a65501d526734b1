// Shared by the unit tests: a clean slate of every global before and after each test.
#pragma once

#include "composer/compose_internal.h"
#include "core/counter.h"
#include "core/grid.h"
#include "core/stop_flag.h"
#include "tests/harness.h"

#include <cstring>
#include <gtest/gtest.h>

inline void reset_all() {
    reset_puzzle();
    stop_flag = 0;
    solution_count = 0;
    best_count = 9;
    show_solutions = 0;
    fast_counting = true;
    layout_probe = nullptr;
    layout_limit = max_tries + 1;
    counting_jobs = 1;
    random_state = 1;
}

// True when every row, column and box set is exactly the union of its cells' value bits.
inline bool sets_match_grid() {
    int rows[9] = {}, cols[9] = {}, boxes[9] = {};
    for (int cell = 0; cell < 81; ++cell) {
        rows[row_of[cell]] |= value_bit[grid[cell]];
        cols[col_of[cell]] |= value_bit[grid[cell]];
        boxes[box_of[cell]] |= value_bit[grid[cell]];
    }
    return std::memcmp(rows, row_mask, sizeof rows) == 0 &&
           std::memcmp(cols, col_mask, sizeof cols) == 0 &&
           std::memcmp(boxes, box_mask, sizeof boxes) == 0;
}

class Puzzle : public testing::Test {
  protected:
    void SetUp() override { reset_all(); }
    void TearDown() override { reset_all(); }
};
