// Random puzzles with one solution and no given that can go without losing it: a complete grid
// filled at random, then thinned out in random order, a given at a time or, with a symmetry,
// a given and its mirror image together. The composer's generator makes every draw, so a seed
// gives the same puzzles on every run.
#pragma once

enum class symmetry { none, rotate180, mirror };

// Leaves a new puzzle in the calling thread's grid, its givens flagged.
void generate_puzzle(symmetry kind);
