#include "entry/starter.h"
#include "tests/support.h"

#include <string>

using StarterTest = Puzzle;

namespace {

std::string parse(const std::string& line, int row, int* accepted) {
    testing::internal::CaptureStdout();
    *accepted = parse_row(line.data(), row);
    return testing::internal::GetCapturedStdout();
}

int filled_cells() {
    int count = 0;
    for (int cell = 0; cell < 81; ++cell) count += grid[cell] != 0;
    return count;
}

} // namespace

TEST_F(StarterTest, ExampleRowPlacesItsLettersAsGivens) {
    int accepted = 0;
    EXPECT_EQ(parse("a-b---cd-\n", 0, &accepted), "");
    EXPECT_EQ(accepted, 1);
    const int cells[] = {0, 2, 6, 7};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(grid[cells[i]], i + 1);
        EXPECT_EQ(given[cells[i]], 1);
    }
    EXPECT_EQ(filled_cells(), 4);
    EXPECT_TRUE(sets_match_grid());
}

TEST_F(StarterTest, BlanksDigitsAndLettersMix) {
    int accepted = 0;
    parse("a.b 5-c-9\n", 3, &accepted);
    EXPECT_EQ(accepted, 1);
    const int expected[9] = {1, 0, 2, 0, 5, 0, 3, 0, 9};
    for (int col = 0; col < 9; ++col) EXPECT_EQ(grid[27 + col], expected[col]) << col;
    EXPECT_EQ(next_value, 4); // digits never enter the alphabet
}

TEST_F(StarterTest, EachRejectionLeavesTheRowAsItWas) {
    struct Case {
        std::string line, output;
    } cases[] = {
        {"aa-------\n", "- illegal: a\n"},
        {"ab!------\n", "- bad letter: !\n"},
        {std::string("ab\0------\n", 10), std::string("- bad letter: \0\n", 16)},
        {"ab\xc3\xa9-----\n", "- bad letter: \xc3\n"},
        {"0--------\n", "- bad letter : 0 (1)\n"},
        {"1a-------\n", "- illegal: a\n"},
        {"ab-----c-\n", ""}, // accepted: shows the next row starts from what is left
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        reset_puzzle();
        int accepted = 1;
        EXPECT_EQ(parse(c.line, 0, &accepted), c.output);
        EXPECT_EQ(accepted, c.output.empty() ? 1 : 0);
        if (!c.output.empty()) {
            EXPECT_EQ(filled_cells(), 0);
        }
        EXPECT_TRUE(sets_match_grid());
        for (int cell = 0; cell < 9; ++cell) EXPECT_EQ(given[cell] != 0, grid[cell] != 0);
    }
}

TEST_F(StarterTest, LettersOfARejectedRowKeepTheirValues) {
    int accepted = 1;
    parse("ab!------\n", 0, &accepted);
    EXPECT_EQ(accepted, 0);
    EXPECT_EQ(letter_value[static_cast<unsigned char>('a')], 1);
    EXPECT_EQ(letter_value[static_cast<unsigned char>('b')], 2);
    EXPECT_EQ(parse("c--------\n", 0, &accepted), "");
    EXPECT_EQ(grid[0], 3);
}

TEST_F(StarterTest, TenthLetterFindsTheAlphabetFull) {
    int accepted = 0;
    parse("abcdefghi\n", 0, &accepted);
    ASSERT_EQ(accepted, 1);
    EXPECT_EQ(parse("j--------\n", 1, &accepted), "- bad letter : j (10)\n");
    EXPECT_EQ(accepted, 0);
    EXPECT_EQ(filled_cells(), 9);
}

TEST_F(StarterTest, ARowRejectedLateUndoesOnlyItsOwnCells) {
    int accepted = 0;
    parse("------a--\n", 0, &accepted);
    ASSERT_EQ(accepted, 1);
    // b and c are placed before the a that clashes with the a above it in box 2
    EXPECT_EQ(parse("bc-----a-\n", 1, &accepted), "- illegal: a\n");
    EXPECT_EQ(accepted, 0);
    EXPECT_EQ(filled_cells(), 1);
    EXPECT_EQ(grid[6], 1);
    EXPECT_TRUE(sets_match_grid());
}
