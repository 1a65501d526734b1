#include "render/board.h"
#include "tests/support.h"

#include <string>

using BoardTest = Puzzle;

namespace {

std::string printed_board(const puzzle& p) {
    testing::internal::CaptureStdout();
    write_board(stdout, p);
    return testing::internal::GetCapturedStdout();
}

} // namespace

TEST_F(BoardTest, EmptyGridPrintsDashesWithGroupSpacing) {
    std::string row = "- - -   - - -   - - -   \n";
    std::string last = "- - -   - - -   - - - \n";
    std::string band = row + row + row;
    std::string expected = "  \n\n" + band + "\n" + band + "\n" + row + row + last;
    EXPECT_EQ(printed_board(p), expected);
}

TEST_F(BoardTest, GivensPrintUpperAndSolvedCellsLower) {
    const char letters[] = "abcdefghi";
    for (int col = 0; col < 9; ++col) {
        place_value(p, col, add_symbol(p, letters[col]));
        p.given[col] = col < 2 ? 1 : 0;
    }
    std::string text = printed_board(p);
    EXPECT_EQ(text.substr(0, 4 + 24), "  \n\nA B c   d e f   g h i   ");
}

TEST_F(BoardTest, ValuesWithoutALetterPrintAsDigitsGivenOrNot) {
    add_symbol(p, 'k'); // value 1 has a letter, the others do not
    place_value(p, 0, 1);
    p.given[0] = 0;
    place_value(p, 1, 5);
    p.given[1] = 1;
    place_value(p, 2, 9);
    std::string text = printed_board(p);
    EXPECT_EQ(text.substr(4, 6), "k 5 9 ");
}

// A solution and a presented starter carry their headings, written once for every writer.
TEST_F(BoardTest, SolutionsAndStartersCarryTheirHeadings) {
    testing::internal::CaptureStdout();
    write_solution(stdout, 3, p);
    write_starter(stdout, 7, p);
    std::string text = testing::internal::GetCapturedStdout();
    std::string board = printed_board(p);
    EXPECT_EQ(text, "\n-- sol (3)\n" + board + "\n** difficulty:7 ***\n" + board);
    std::string appended;
    append_solution(appended, 3, p);
    EXPECT_EQ(appended, "\n-- sol (3)\n" + board);
}
