// One piece of a file of puzzles and what solving it gives: its output text in the format
// asked for, its line on stderr, and for the printable formats its page. Solved on any
// thread, in that thread's own room.
#pragma once

#include "cli/options.h"
#include "core/counter.h"
#include "entry/puzzle_file.h"
#include "logic/rater.h"
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

// What a thread solves in: its puzzle, its counter, its rater.
struct solver_room {
    puzzle p{};
    counter c;
    rater r;
};

// Solves the piece as o asks, in room, filling in everything but piece and source.
void solve_piece(solved_puzzle& s, const options& o, solver_room& room);

// An upper bound of the bytes that solving one piece as o asks may write: the memory a
// piece waiting in line may hold.
long long output_bound(const options& o);
