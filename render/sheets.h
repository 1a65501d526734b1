// Composed starters written out in every format: the dialogue's presentations (text), one line
// a starter (line), CSV rows (csv), a printable grid (svg) and a printable sheet (html).
#pragma once

#include "render/formats.h"

#include <cstdio>
#include <string>
#include <vector>

struct composed_starter {
    int difficulty;
    int tries; // the lay-outs measured when it was found
    int cells[81];
    int givens[81];
    int solution[81];
};

struct sheet_request {
    const char* sentence; // lower case, without its line feed
    const std::vector<composed_starter>* starters;
    std::string caption; // under each grid: sentence, letters or none
    bool solution;       // svg: the solution grid beside the puzzle
};

// Writes every starter to out in format. For svg only the first goes to out.
void write_starters(std::FILE* out, output_format format, const sheet_request& request);
