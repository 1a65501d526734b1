// The scale: every technique the rater knows, in the order it tries them, with its rating in
// tenths. The rater walks this table from the top for every step, applies the first step
// found, and starts again at the top; a puzzle's rating is the largest rating of its steps,
// and one the table cannot finish rates 20.0. A new technique is a row and a function.
#pragma once

#include "logic/techniques.h"

using technique_finder = bool (*)(const candidate_grid& g, int param, step* s);

struct technique {
    const char* name; // lower case, as the csv and the words show it
    int rating;       // tenths; a chain's grows with its length
    technique_finder find;
    int param;
    int group = 0; // rows of one group (not 0) are searched together: the lowest rating wins
};

inline constexpr technique technique_table[] = {
    {"full house", 10, find_full_house, 0},
    {"hidden single", 12, find_hidden_single, 1},
    {"hidden single", 15, find_hidden_single, 0},
    {"direct pointing", 17, find_intersection, direct_pointing},
    {"direct claiming", 19, find_intersection, direct_claiming},
    {"direct hidden pair", 20, find_hidden_subset, direct + 2},
    {"naked single", 23, find_naked_single, 0},
    {"direct hidden triple", 25, find_hidden_subset, direct + 3},
    {"pointing", 26, find_intersection, pointing},
    {"claiming", 28, find_intersection, claiming},
    {"naked pair", 30, find_naked_subset, 2},
    {"x-wing", 32, find_fish, 2},
    {"hidden pair", 34, find_hidden_subset, 2},
    {"naked triple", 36, find_naked_subset, 3},
    {"swordfish", 38, find_fish, 3},
    {"hidden triple", 40, find_hidden_subset, 3},
    {"xy-wing", 42, find_xy_wing, 0},
    {"xyz-wing", 44, find_xyz_wing, 0},
    {"unique rectangle", 45, find_unique_rectangle, 0},
    {"naked quad", 50, find_naked_subset, 4},
    {"jellyfish", 52, find_fish, 4},
    {"hidden quad", 54, find_hidden_subset, 4},
    {"bivalue universal grave", 56, find_bivalue_grave, 0},
    {"aligned pair exclusion", 62, find_aligned_pair_exclusion, 0},
    {"bidirectional x-cycle", 65, find_cycle, one_value, 1},
    {"bidirectional y-cycle", 65, find_cycle, pairs, 1},
    {"forcing x-chain", 66, find_forcing_chain, 1, 1},
    {"bidirectional cycle", 70, find_cycle, both_kinds, 1},
    {"forcing chain", 70, find_forcing_chain, 0, 1},
    {"aligned triple exclusion", 75, find_aligned_triple_exclusion, 0},
    {"nishio", 75, find_nishio, 0},
    {"cell or region forcing chain", 80, find_cell_region_chain, 0},
    {"dynamic forcing chain", 85, find_dynamic_chain, 0},
    {"dynamic forcing chain (+)", 90, find_dynamic_chain, 1},
    {"nested forcing chain", 95, find_dynamic_chain, 2},
    {"nested multiple forcing chain", 100, find_dynamic_chain, 3},
    {"nested dynamic forcing chain", 105, find_dynamic_chain, 4},
    {"nested dynamic forcing chain (+)", 110, find_dynamic_chain, 5},
};
inline constexpr int technique_count = sizeof technique_table / sizeof technique_table[0];

constexpr int unfinished_rating = 200; // 20.0: the techniques above cannot finish the puzzle

// The level a person reads from a rating in tenths.
const char* level_of(int rating);

// The first step the table finds in g, in s; its row, or -1 when none applies.
int first_step(const candidate_grid& g, step* s);
// The same among the rows rated from lowest up to below below (tenths).
int first_step_between(const candidate_grid& g, step* s, int lowest, int below);

struct rating_outcome {
    int rating;   // in tenths; unfinished_rating when the techniques ran out
    int hardest;  // the row of the hardest step; -1 when there was none
    int steps;    // steps applied
    bool stopped; // the stop flag ended the rating: the rest means nothing
};

// Rates the puzzle whose filled cells are cells (each counts as a given). Each step goes to
// take, if given, with the candidates it was found in; take returns false to stop there. The
// stop flag ends a rating at once, long chains included.
rating_outcome rate_puzzle(const int* cells,
                           bool (*take)(const step& s, const candidate_grid& before) = nullptr);
