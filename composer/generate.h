// Random puzzles with one solution and no given that can go without losing it: a complete grid
// filled at random, then thinned out in random order, a given at a time or, with a symmetry,
// a given and its mirror image together. The composer's generator makes every draw, so a seed
// gives the same puzzles on every run.
#pragma once

#include "composer/random.h"
#include "core/counter.h"

enum class symmetry { none, rotate180, mirror };

struct generation {
    symmetry kind = symmetry::none;
    bool every_value = false; // each value keeps a given: a puzzle in letters shows all nine
    int fewest_givens = 0;    // thinning stops once no more givens than this are left
};

// Leaves a new puzzle in p, its givens flagged; the alphabet is left as it was. Counts with c.
void generate_puzzle(puzzle& p, counter& c, random_generator& random, const generation& how);
