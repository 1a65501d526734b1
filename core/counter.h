// Counts the solutions of the starter in the grid, stopping once the count exceeds
// best_count, and prints each one as it is found when show_solutions is 1.
#pragma once

extern int solution_count; // solutions found by the current count; the caller zeroes it
extern int best_count;     // the bound: a count stops at best_count + 1 solutions
extern int show_solutions; // 1: print each solution under its heading; set by the callers
extern bool fast_counting; // false: every count in reading order; set by the measuring build
                           // and by tests that check the fast count against the plain one

// Counts from cell onward; every cell before it must be filled. Solutions come in
// lexicographic order of their values read cell by cell, so a listing is the same whichever
// way it is counted. Leaves grid, sets and given flags as it found them, also when the bound
// or the stop flag cuts it short.
void count_solutions(int cell);

// The plain reading-order backtracking that the fast count must always agree with; also the
// whole counter of the measuring build.
void count_in_reading_order(int cell);

// The same counts for callers that keep their own bound; the counter globals are as before.
// count_up_to counts without printing and stops at bound + 1 solutions. list_up_to lists
// the first max solutions (max >= 1) in the dialogue's order, hands each to take with its
// number while the grid holds it, prints nothing, and returns how many it listed.
int count_up_to(int bound);
int list_up_to(int max, void (*take)(int number));
