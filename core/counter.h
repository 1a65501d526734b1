// Counts the solutions of a puzzle, stopping once the count exceeds a bound, and hands each
// solution to a taker as it is found when one is given. What a count needs beside the puzzle
// is its counter: the bound, the taker, where to stop, and the scratch it works in.
#pragma once

#include "core/grid.h"

#include <atomic>
#include <climits>
#include <cstring>

// Where a listing sends each solution, with its number, while the puzzle holds it.
class solution_taker {
  public:
    virtual void take(const puzzle& p, int number) = 0;

  protected:
    ~solution_taker() = default;
};

// Keeps a copy of the last solution taken in 81 cells of the caller's.
class solution_copier : public solution_taker {
  public:
    explicit solution_copier(int* cells) : cells_(cells) {}
    void take(const puzzle& p, int) override { std::memcpy(cells_, p.grid, sizeof p.grid); }

  private:
    int* cells_;
};

constexpr int max_witnesses = 10;

struct counter {
    int best_count = 9;     // the bound: a count stops at best_count + 1 solutions
    int solution_count = 0; // solutions the last count found
    solution_taker* show_solutions = nullptr;  // where each solution goes; null: counted only
    const std::atomic<bool>* cancel = nullptr; // a count stops once it turns true; null: the
                                               // stop flag, which belongs to the program's thread
    bool in_reading_order = false; // every count by the plain reading-order backtracking that
                                   // the fast count must agree with (the measuring build, tests)
    int dead_cell = 0;   // the empty cell without a candidate that ended a count with no solution
    long long nodes = 0; // measuring nodes visited by its counts: what they cost
    long long node_limit = LLONG_MAX; // a count stops once nodes passes this
    // scratch, the counter's alone
    int open_cell[81]; // cells the fast count has yet to fill; each level owns [0, its count)
    int open_mask[81]; // candidates of the open cells as the last scan found them; 0 elsewhere
    // Solutions a listing already knows, found by its measuring counts. Any one that agrees
    // with the grid shows that a solution lies below it, without a search.
    int witness[max_witnesses][81];
    int witness_count = 0;      // slots in use
    int next_witness = 0;       // the slot the next solution overwrites once all are in use
    bool witnessing = false;    // a listing runs: measuring counts keep the solutions they find
    bool all_witnessed = false; // the witnesses are every solution of the starter
    int count = 0;              // solutions found by the count under way
    int bound = 0;              // it stops once count exceeds this
};

// Counts the puzzle's solutions up to best_count + 1 and returns the number, also left in
// solution_count. With show_solutions, each solution goes there in lexicographic order of its
// values read cell by cell, the dialogue's order, whichever way it is counted. Leaves the
// puzzle as it found it, also when the bound or the stop cuts it short. When an empty cell has
// no candidate at all it is the whole answer (0), and it goes to dead_cell.
int count_solutions(puzzle& p, counter& c);

// A count that should be cheap: -1 when it needs more than budget measuring nodes, and was
// given up (the puzzle is as it was).
int count_cheaply(puzzle& p, counter& c, int budget);
