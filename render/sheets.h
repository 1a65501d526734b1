// Composed starters written out in every format: the dialogue's presentations (text), one line
// a starter (line), CSV rows (csv), a printable grid (svg) and a printable sheet (html).
#pragma once

#include "render/formats.h"
#include "render/svg.h"

#include <cstdio>
#include <string>
#include <vector>

struct composed_starter : printed_puzzle {
    int tries; // the lay-outs measured when it was found
};

#include "core/grid.h"

// The puzzle's grid, with its givens and its alphabet; no solution yet.
printed_puzzle printed_from(const puzzle& p, int difficulty);

// A starter as the dialogue presents it, without the question: difficulty, board, solution.
void write_presentation(std::FILE* out, const printed_puzzle& s);

// A starter in the text, line or csv format; line and csv end with the rating and the level.
// The csv header goes first, once.
void write_starter_header(std::FILE* out, output_format format);
void write_starter_entry(std::FILE* out, output_format format, const composed_starter& s);
