#include "entry/puzzle_file.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Keeps each piece as "LINE:cells" or "LINE:reason".
class piece_list : public piece_taker {
  public:
    void take(const read_piece& piece) override {
        pieces.push_back(std::to_string(piece.line) + ":" +
                         (piece.reason[0] != '\0' ? piece.reason : piece.cells));
    }
    std::vector<std::string> pieces;
};

// Reads text in chunks of chunk bytes, as reads from a pipe may cut it anywhere.
std::vector<std::string> read_in_chunks(const std::string& text, int chunk) {
    piece_list take;
    puzzle_reader reader;
    start_reading(&reader);
    for (std::size_t at = 0; at < text.size(); at += static_cast<std::size_t>(chunk)) {
        std::string part = text.substr(at, static_cast<std::size_t>(chunk));
        read_puzzle_bytes(&reader, part.data(), static_cast<int>(part.size()), take);
    }
    end_reading(&reader, take);
    return take.pieces;
}

const std::string row = "123456789";
const std::string line81 = std::string(81, '.');

} // namespace

// Whatever the reads cut, the pieces are the same: a mark at the start, rows of a group, a
// comment that breaks a group, a line far too long, a last line without its line feed.
TEST(PuzzleFile, PiecesDoNotDependOnWhereReadsCutTheInput) {
    std::string rows9;
    for (int i = 0; i < 9; ++i) rows9 += row + "\r\n";
    std::string text = "\xEF\xBB\xBF# comment\n" + rows9 + row + "\n" + row + "\n# cut\n" +
                       std::string(100000, 'x') + "\n" + line81;
    std::string cells;
    for (int i = 0; i < 9; ++i) cells += row;
    const std::vector<std::string> expected = {
        "2:" + cells,
        "11:2 rows of 9 cells, not nine",
        "14:a line longer than any puzzle",
        "15:" + line81,
    };
    for (int chunk : {1, 2, 3, 7, 64, 65536}) {
        SCOPED_TRACE(chunk);
        EXPECT_EQ(read_in_chunks(text, chunk), expected);
    }
}

// A mark that is not whole is ordinary text; one further on than the start is too.
// A byte-order mark anywhere but at the start is a character like any other: one cell.
TEST(PuzzleFile, OnlyAWholeMarkAtTheStartIsSkipped) {
    EXPECT_EQ(
        read_in_chunks("\xEF\xBB" + line81 + "\n", 1),
        std::vector<std::string>{"1:82 cells; a puzzle is one line of 81 or nine lines of 9"});
    EXPECT_EQ(
        read_in_chunks("\n\xEF\xBB\xBF" + line81 + "\n", 1),
        std::vector<std::string>{"2:82 cells; a puzzle is one line of 81 or nine lines of 9"});
}
