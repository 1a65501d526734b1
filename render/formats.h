// Puzzles and solutions written out for the commands: as the dialogue's boards, as one line of
// 81 symbols, or as CSV fields. Symbols come from the alphabet, as on the boards.
#pragma once

#include <cstdio>
#include <string>

// The output formats, by their names on the command line.
enum class output_format { text, line, csv, svg, html };
bool format_by_name(const char* name, output_format* format); // false: no such format

// 81 symbols in reading order: givens upper case, other cells lower case, values without a
// letter as digits, empty cells as '.'.
std::string cells_line(const int* cells, const int* givens);

// One solution as the dialogue lists it: its heading with its number, then its board.
void write_solution(std::FILE* out, int number, const int* cells, const int* givens);
void append_solution(std::string* text, int number, const int* cells, const int* givens);

// A starter as the dialogue presents it, without the question: difficulty, board, solution.
void write_presentation(std::FILE* out, int difficulty, const int* starter, const int* givens,
                        const int* solution);
