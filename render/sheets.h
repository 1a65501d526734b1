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

// The puzzle in the grid, with its givens and the alphabet's symbols; no solution yet.
printed_puzzle puzzle_in_grid(int difficulty);

// Writes every starter to out in the text, line or csv format; line and csv end with the
// rating and the level.
void write_starters(std::FILE* out, output_format format,
                    const std::vector<composed_starter>& starters);
