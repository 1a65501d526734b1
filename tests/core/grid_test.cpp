#include "tests/support.h"

using GridTest = Puzzle;

TEST_F(GridTest, GeometryPutsCellsInTheirRowColumnAndBox) {
    struct Case {
        int cell, row, col, box;
    } cases[] = {{0, 0, 0, 0},  {40, 4, 4, 4}, {80, 8, 8, 8}, {30, 3, 3, 4},
                 {26, 2, 8, 2}, {54, 6, 0, 6}, {35, 3, 8, 5}, {60, 6, 6, 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell);
        EXPECT_EQ(row_of[c.cell], c.row);
        EXPECT_EQ(col_of[c.cell], c.col);
        EXPECT_EQ(box_of[c.cell], c.box);
    }
    const int bits[10] = {0, 1, 2, 4, 8, 16, 32, 64, 128, 256};
    for (int v = 0; v <= 9; ++v) EXPECT_EQ(value_bit[v], bits[v]) << v;
}

TEST_F(GridTest, EveryUnitHoldsNineDistinctCellsAndEachCellIsInThreeUnits) {
    int seen[81] = {};
    for (int unit = 0; unit < 27; ++unit) {
        for (int j = 0; j < 9; ++j) {
            int cell = unit_cell[unit][j];
            ++seen[cell];
            int home = unit < 9 ? row_of[cell] : unit < 18 ? 9 + col_of[cell] : 18 + box_of[cell];
            EXPECT_EQ(home, unit) << "cell " << cell;
        }
    }
    for (int cell = 0; cell < 81; ++cell) EXPECT_EQ(seen[cell], 3) << cell;
}

TEST_F(GridTest, PlacingAndRemovingKeepsTheSetsInStepWithTheGrid) {
    // a long random walk of placements and removals, checked after every step
    std::uint32_t state = 12345;
    int placed[81];
    int count = 0;
    for (int step = 0; step < 5000; ++step) {
        state = state * 1103515245u + 12345u;
        int cell = static_cast<int>((state >> 8) % 81);
        int v = static_cast<int>((state >> 20) % 9) + 1;
        if (count > 0 && (state >> 30) == 0) {
            remove_value(p, placed[--count]);
        } else if (p.grid[cell] == 0 && fits(p, cell, v)) {
            place_value(p, cell, v);
            placed[count++] = cell;
        }
        ASSERT_TRUE(sets_match_grid(p)) << "step " << step;
    }
    while (count > 0) remove_value(p, placed[--count]);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(p.row_mask[i] | p.col_mask[i] | p.box_mask[i], 0);
}

TEST_F(GridTest, FitsRefusesAValueAlreadyInTheRowColumnOrBox) {
    place_value(p, 40, 5);        // row 4, column 4, box 4
    EXPECT_FALSE(fits(p, 36, 5)); // same row
    EXPECT_FALSE(fits(p, 4, 5));  // same column
    EXPECT_FALSE(fits(p, 30, 5)); // same box
    EXPECT_TRUE(fits(p, 0, 5));
    EXPECT_TRUE(fits(p, 36, 4));
    for (int cell = 0; cell < 81; ++cell) EXPECT_TRUE(fits(p, cell, 0)) << cell;
}

TEST_F(GridTest, ResetEmptiesThePuzzleButKeepsTheGeometry) {
    add_symbol(p, 'q');
    place_value(p, 10, 1);
    p.given[10] = 1;
    reset_puzzle(p);
    EXPECT_EQ(p.next_value, 1);
    EXPECT_EQ(p.letter_value[static_cast<unsigned char>('q')], 0);
    EXPECT_EQ(p.value_letter[1], 0);
    for (int cell = 0; cell < 81; ++cell) EXPECT_EQ(p.grid[cell] | p.given[cell], 0) << cell;
    EXPECT_TRUE(sets_match_grid(p));
    EXPECT_EQ(box_of[80], 8);
}

TEST_F(GridTest, SymbolsTakeValuesInOrderAndMapBothWays) {
    const char letters[] = "zyxwvutsr";
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(add_symbol(p, letters[i]), i + 1);
        EXPECT_EQ(p.letter_value[static_cast<unsigned char>(letters[i])], i + 1);
        EXPECT_EQ(p.value_letter[i + 1], letters[i]);
    }
    EXPECT_EQ(p.next_value, 10);
    EXPECT_EQ(p.value_letter[0], 0);
}
