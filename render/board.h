// Boards as the dialogue prints them: a 9x9 block, givens upper case, other filled cells lower
// case, empty cells as dashes, values without a symbol as digits; a solution under its heading,
// a presented starter under its difficulty. Reads the puzzle, changes nothing.
#pragma once

#include "core/counter.h"
#include "core/grid.h"

#include <cstdio>
#include <string>

// How a cell prints: '-' when empty, its letter (upper case for a given), else its digit.
char symbol_of(const int* value_letter, int v, bool is_given);

// The board of any 81 cells and given flags, symbols from an alphabet, into text, which holds
// board_size bytes; returns the length written (no NUL).
constexpr int board_size = 232; // 81 cells of 2 bytes, 27 gaps of 2, 13 line feeds: 229
int format_board(char* text, const int* cells, const int* givens, const int* value_letter);

void write_board(std::FILE* out, const puzzle& p); // the puzzle's grid

// A solution as the dialogue lists it: "-- sol (number)" and the puzzle's grid.
void write_solution(std::FILE* out, int number, const puzzle& p);
void append_solution(std::string& text, int number, const puzzle& p);

// A listing's taker that writes each solution so.
class solution_writer : public solution_taker {
  public:
    explicit solution_writer(std::FILE* out) : out_(out) {}
    void take(const puzzle& p, int number) override { write_solution(out_, number, p); }

  private:
    std::FILE* out_;
};

// A starter as the dialogue presents it, before its solution: its difficulty and its board.
void write_starter(std::FILE* out, int difficulty, const puzzle& p);
