// One piece of a file of puzzles and what solving it gives: its output text in the format
// asked for, its line on stderr, and for the printable formats its page. Solved on any
// thread, in that thread's own puzzle.
#pragma once

#include "cli/options.h"
#include "entry/puzzle_file.h"
#include "render/svg.h"

#include <string>

struct solved_puzzle {
    read_piece piece;
    int source;         // which of the command's sources it came from
    std::string out;    // its output
    std::string reason; // why it failed, if it did: its line on stderr names the place
    bool has_page;      // the printable formats: page holds it
    printed_puzzle page;
};

// Solves the piece as o asks, filling in everything but piece and source.
void solve_piece(solved_puzzle* s, const options& o);

// An upper bound of the bytes that solving one piece as o asks may write: the memory a
// piece waiting in line may hold.
long long output_bound(const options& o);
