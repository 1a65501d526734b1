// Counts the solutions of the starter in the grid, stopping once the count exceeds
// best_count, and prints each one as it is found when show_solutions is 1.
#pragma once

#include <atomic>

extern int solution_count; // solutions found by the last count_solutions, or judged by the
                           // composer
extern int best_count;     // the bound: a count stops at best_count + 1 solutions
extern int show_solutions; // 1: print each solution under its heading; set by the callers
extern bool fast_counting; // false: every count by the plain reading-order backtracking that
                           // the fast count must agree with; set by the measuring build and
                           // by tests that check the fast count against the plain one

// Counts from cell onward; every cell before it must be filled. Solutions come in
// lexicographic order of their values read cell by cell, so a listing is the same whichever
// way it is counted. Leaves grid, sets and given flags as it found them, also when the bound
// or the stop flag cuts it short.
void count_solutions(int cell);

// Counts for callers with a bound of their own; the dialogue's globals stay as they are.
// count_up_to counts the grid's solutions without printing, stopping at bound + 1, and
// returns how many it found. When an empty cell has no candidate at all it is the whole
// answer (0), and it goes to dead_cell if given. list_up_to lists the first max solutions
// (max >= 1) in the dialogue's order, hands each to take with its number while the grid holds
// it, prints nothing, and returns how many it listed. Both work on the calling thread's
// puzzle and leave it as they found it.
int count_up_to(int bound, int* dead_cell = nullptr);
int list_up_to(int max, void (*take)(int number));

// Measuring nodes the calling thread's counts have visited so far: what they cost, in a unit
// that does not depend on the machine's load. For tests and benchmarks.
long long measuring_nodes();

// A counting thread's counts stop when *cancel turns true, instead of on the stop flag, which
// belongs to the program's own thread. Null gives the stop flag back.
void cancel_counts_with(const std::atomic<bool>* cancel);

// count_up_to for a count that should be cheap: -1 when it needs more than budget measuring
// nodes, and was given up (the puzzle is as it was).
int count_cheaply(int bound, int budget, int* dead_cell);
