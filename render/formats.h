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
std::string cells_line(const int* cells, const int* givens, const int* value_letter);
