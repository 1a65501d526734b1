#include "core/board.h"
#include "tests/support.h"

#include <string>

using BoardTest = Puzzle;

namespace {

std::string printed_board() {
    testing::internal::CaptureStdout();
    print_board();
    return testing::internal::GetCapturedStdout();
}

} // namespace

TEST_F(BoardTest, EmptyGridPrintsDashesWithGroupSpacing) {
    std::string row = "- - -   - - -   - - -   \n";
    std::string last = "- - -   - - -   - - - \n";
    std::string band = row + row + row;
    std::string expected = "  \n\n" + band + "\n" + band + "\n" + row + row + last;
    EXPECT_EQ(printed_board(), expected);
}

TEST_F(BoardTest, GivensPrintUpperAndSolvedCellsLower) {
    const char letters[] = "abcdefghi";
    for (int col = 0; col < 9; ++col) {
        place_value(col, add_symbol(letters[col]));
        given[col] = col < 2 ? 1 : 0;
    }
    std::string text = printed_board();
    EXPECT_EQ(text.substr(0, 4 + 24), "  \n\nA B c   d e f   g h i   ");
}

TEST_F(BoardTest, ValuesWithoutALetterPrintAsDigitsGivenOrNot) {
    add_symbol('k'); // value 1 has a letter, the others do not
    place_value(0, 1);
    given[0] = 0;
    place_value(1, 5);
    given[1] = 1;
    place_value(2, 9);
    std::string text = printed_board();
    EXPECT_EQ(text.substr(4, 6), "k 5 9 ");
}
