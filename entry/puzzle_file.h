// Files of puzzles read a piece at a time: a puzzle is one line of 81 cells or a group of nine
// lines of nine; blank lines and lines starting with '#' stand between puzzles. A group that
// such a line breaks is one malformed puzzle when the rows after the break complete its nine
// (4 rows, a blank line, 5 rows); rows that make nine of their own are a puzzle of their own.
// Bytes go in as they arrive, and each piece comes out once its last line is in: a puzzle, or
// a malformed piece with the reason, at the line it starts on. Nothing grows with the input: a
// line longer than any puzzle line is malformed at once and the rest of it is skipped unkept.
#pragma once

constexpr int longest_puzzle_line = 256; // 81 cells with room for blanks around them

struct read_piece {
    char cells[82];  // the 81 cells and a NUL; empty when the piece is malformed
    long long line;  // the line it starts on, from 1
    char reason[64]; // why it is malformed; empty when it is not
};

struct puzzle_reader {
    char line[longest_puzzle_line]; // the line being read, without its line feed
    int length;
    bool too_long;        // the line passed the limit: the rest of it is skipped
    bool at_start;        // nothing read yet: a UTF-8 byte-order mark here is skipped
    int mark_bytes;       // bytes of a byte-order mark matched so far
    long long line_count; // lines read so far
    char rows[162];       // the rows of a group read so far, and after a break those that
                          // may complete it
    int row_count;        // rows of the group
    long long first_row_line;
    bool broken;          // a blank or '#' line came after the group's rows
    int later_count;      // rows since the break
    long long later_line; // the first of them
};

// Where the reader hands each piece, in order.
class piece_taker {
  public:
    virtual void take(const read_piece& piece) = 0;

  protected:
    ~piece_taker() = default;
};

void start_reading(puzzle_reader* r);
// Reads size bytes; hands each piece completed by them to take, in order.
void read_puzzle_bytes(puzzle_reader* r, const char* bytes, int size, piece_taker& take);
// The input has ended: its last line, and a group of rows it left unfinished.
void end_reading(puzzle_reader* r, piece_taker& take);
