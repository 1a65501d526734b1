// A grid of candidates, as a person pencils them in: each empty cell holds the values that
// no placed value in its row, column or box rules out, less those the techniques removed.
// A step of the rater is data: what it places, what it removes, and the cells and units that
// justify it, for the words.
#pragma once

#include "core/grid.h"

struct candidate_grid {
    int value[81]; // 1..9, or 0 for an empty cell
    int cand[81];  // the candidate bits of an empty cell; 0 for a filled one
};

// Candidates from the givens alone: each value removes itself from its peers.
void start_candidates(candidate_grid* g, const int* cells);

inline bool sees(int a, int b) {
    return a != b && ((peer_cells[a][b >> 6] >> (b & 63)) & 1) != 0;
}

// The units in the order techniques search them: boxes, then columns, then rows.
extern const int search_order[27];
inline const char* unit_kind(int unit) {
    return unit < 9 ? "row" : unit < 18 ? "column" : "box";
}

constexpr int max_cause = 16;

struct step {
    int technique; // its row in the rating table
    int rating;    // in tenths: 26 is 2.6
    int placed_count;
    int placed_cell[9];
    int placed_value[9];
    int removed_count;
    int removed_cell[729];
    int removed_value[729];
    // what justifies it, for the words: the units it works in (-1 none), the values it is
    // about (bits), and its cells (a subset, a fish's corners, a wing's pivot and pincers)
    int unit[2];
    int values;
    int cause_count;
    int cause[max_cause];
    int form; // the shape of a step where a technique has several: a dynamic chain's, a type
    // where a supposition's contradiction shows, for the words: {0} none named, {1, cell, v} v
    // both placed and ruled out there, {2, cell} a cell left no value, {3, unit, v} v no place
    int clash[3];
};

void clear_step(step* s, int technique);
void add_placement(step* s, int cell, int v);
// Adds the removal of v from cell if it is a candidate there and not yet removed by s.
void add_removal(step* s, const candidate_grid& g, int cell, int v);
void add_cause(step* s, int cell);

// Applies a step: each placement removes its value from the cell's peers.
void apply_step(candidate_grid* g, const step& s);
void place_candidate(candidate_grid* g, int cell, int v);

// The places of v among the empty cells of a unit, as a 9-bit set of positions in the unit.
int places_in_unit(const candidate_grid& g, int unit, int v);
// The number of empty cells of a unit.
int open_cells(const candidate_grid& g, int unit);
