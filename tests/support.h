// Shared by the unit tests: a clean slate of every global, and starters written as text.
#pragma once

#include "composer/compose.h"
#include "core/counter.h"
#include "core/grid.h"
#include "core/stop_flag.h"

#include <cstring>
#include <gtest/gtest.h>

inline void reset_all() {
    init_geometry();
    reset_puzzle();
    stop_flag = 0;
    solution_count = 0;
    best_count = 9;
    show_solutions = 0;
    fast_counting = true;
    layout_probe = nullptr;
    random_state = 1;
}

// Lays a starter written as 81 characters in reading order: '1'..'9' are givens, anything
// else an empty cell. Returns false if a given breaks the sudoku rule.
inline bool load_digits(const char* cells) {
    for (int cell = 0; cell < 81; ++cell) {
        int v = cells[cell] - '0';
        if (v < 1 || v > 9) continue;
        if (!fits(cell, v)) return false;
        place_value(cell, v);
        given[cell] = 1;
    }
    return true;
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
