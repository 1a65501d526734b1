#include "entry/starter.h"
#include "tests/support.h"

#include <string>

using StarterTest = Puzzle;

namespace {

// The row's verdict as the dialogue words it, or empty when the row is accepted.
std::string parse(puzzle& p, const std::string& line, int row, int* accepted) {
    row_verdict v = parse_row(p, line.data(), row);
    *accepted = v.fault == row_fault::none ? 1 : 0;
    switch (v.fault) {
    case row_fault::bad_letter:
        return std::string("bad letter ") + v.c;
    case row_fault::no_value:
        return std::string("no value ") + v.c + " " + std::to_string(v.next_value);
    case row_fault::illegal:
        return std::string("illegal ") + v.c;
    default:
        return "";
    }
}

int filled_cells(const puzzle& p) {
    int count = 0;
    for (int cell = 0; cell < 81; ++cell) count += p.grid[cell] != 0;
    return count;
}

} // namespace

TEST_F(StarterTest, ExampleRowPlacesItsLettersAsGivens) {
    int accepted = 0;
    EXPECT_EQ(parse(p, "a-b---cd-\n", 0, &accepted), "");
    EXPECT_EQ(accepted, 1);
    const int cells[] = {0, 2, 6, 7};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(p.grid[cells[i]], i + 1);
        EXPECT_EQ(p.given[cells[i]], 1);
    }
    EXPECT_EQ(filled_cells(p), 4);
    EXPECT_TRUE(sets_match_grid(p));
}

TEST_F(StarterTest, BlanksDigitsAndLettersMix) {
    int accepted = 0;
    parse(p, "a.b 5-c-9\n", 3, &accepted);
    EXPECT_EQ(accepted, 1);
    const int expected[9] = {1, 0, 2, 0, 5, 0, 3, 0, 9};
    for (int col = 0; col < 9; ++col) EXPECT_EQ(p.grid[27 + col], expected[col]) << col;
    EXPECT_EQ(p.next_value, 4); // digits never enter the alphabet
}

TEST_F(StarterTest, EachRejectionLeavesTheRowAsItWas) {
    struct Case {
        std::string line, output;
    } cases[] = {
        {"aa-------\n", "illegal a"},
        {"ab!------\n", "bad letter !"},
        {std::string("ab\0------\n", 10), std::string("bad letter \0", 12)},
        {"ab\xc3\xa9-----\n", "bad letter \xc3"},
        {"0--------\n", "no value 0 1"},
        {"1a-------\n", "illegal a"},
        {"ab-----c-\n", ""}, // accepted: shows the next row starts from what is left
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        reset_puzzle(p);
        int accepted = 1;
        EXPECT_EQ(parse(p, c.line, 0, &accepted), c.output);
        EXPECT_EQ(accepted, c.output.empty() ? 1 : 0);
        if (!c.output.empty()) {
            EXPECT_EQ(filled_cells(p), 0);
        }
        EXPECT_TRUE(sets_match_grid(p));
        for (int cell = 0; cell < 9; ++cell) EXPECT_EQ(p.given[cell] != 0, p.grid[cell] != 0);
    }
}

TEST_F(StarterTest, LettersOfARejectedRowKeepTheirValues) {
    int accepted = 1;
    parse(p, "ab!------\n", 0, &accepted);
    EXPECT_EQ(accepted, 0);
    EXPECT_EQ(p.letter_value[static_cast<unsigned char>('a')], 1);
    EXPECT_EQ(p.letter_value[static_cast<unsigned char>('b')], 2);
    EXPECT_EQ(parse(p, "c--------\n", 0, &accepted), "");
    EXPECT_EQ(p.grid[0], 3);
}

TEST_F(StarterTest, TenthLetterFindsTheAlphabetFull) {
    int accepted = 0;
    parse(p, "abcdefghi\n", 0, &accepted);
    ASSERT_EQ(accepted, 1);
    EXPECT_EQ(parse(p, "j--------\n", 1, &accepted), "no value j 10");
    EXPECT_EQ(accepted, 0);
    EXPECT_EQ(filled_cells(p), 9);
}

TEST_F(StarterTest, ARowRejectedLateUndoesOnlyItsOwnCells) {
    int accepted = 0;
    parse(p, "------a--\n", 0, &accepted);
    ASSERT_EQ(accepted, 1);
    // b and c are placed before the a that clashes with the a above it in box 2
    EXPECT_EQ(parse(p, "bc-----a-\n", 1, &accepted), "illegal a");
    EXPECT_EQ(accepted, 0);
    EXPECT_EQ(filled_cells(p), 1);
    EXPECT_EQ(p.grid[6], 1);
    EXPECT_TRUE(sets_match_grid(p));
}
