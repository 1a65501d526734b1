// Two ways to count the same thing. The reading-order backtracking is the reference. The fast
// count fills forced cells (a cell with one candidate, a value with one place in a row,
// column or box) before it branches, and gives up on a branch as soon as a cell or a value
// has no place left. Measuring counts branch on the cell with fewest candidates. Listings
// branch on the first empty cell in reading order, so solutions keep their order, and enter a
// value only once a known solution or a measuring count with bound 0 shows that a solution
// lies below it. Those counts do walk subtrees without solutions, but fewest-first, where a
// dead end shows within a few cells; the reading-order walk they spare can spend minutes
// there. So a listing costs about one short count per node on the paths to its solutions.
#include "core/counter.h"

#include "core/board.h"
#include "core/grid.h"
#include "core/stop_flag.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <utility>

int solution_count;
int best_count;
int show_solutions;
bool fast_counting = true;

namespace {

int open_cell[81];  // cells the fast count has yet to fill; each level owns [0, its count)
int open_mask[81];  // candidates of the open cells as the last scan found them; 0 elsewhere
int last_dead_cell; // the empty cell without candidates that ended the last count, if any

// Solutions a listing already knows, found by its measuring counts. Any one that agrees with
// the grid shows that a solution lies below it, without a search.
constexpr int max_witnesses = 10;
int witness[max_witnesses][81];
int witness_count;  // slots in use
int next_witness;   // the slot the next solution overwrites once all are in use
bool witnessing;    // a listing runs: measuring counts keep the solutions they find
bool all_witnessed; // the witnesses are every solution of the starter

void (*solution_taker)(int number); // where list_up_to sends each solution; null: printed

inline int value_of(int bit) {
    return std::countr_zero(static_cast<unsigned>(bit)) + 1;
}

void print_solution(int number) {
    std::printf("\n-- sol (%d)\n", number);
    print_board();
}

// A solution in the grid: to list_up_to's taker, else printed when solutions are shown.
void show_solution() {
    if (solution_taker != nullptr) {
        solution_taker(solution_count);
    } else if (show_solutions == 1) {
        print_solution(solution_count);
    }
}

void remember_witness() {
    std::memcpy(witness[next_witness], grid, sizeof grid);
    next_witness = (next_witness + 1) % max_witnesses;
    if (witness_count < max_witnesses) ++witness_count;
}

// True when some known solution holds every value of the grid.
bool witness_agrees() {
    for (int w = 0; w < witness_count; ++w) {
        int cell = 0;
        while (cell < 81 && (grid[cell] == 0 || grid[cell] == witness[w][cell])) ++cell;
        if (cell == 81) return true;
    }
    return false;
}

// Moves the cell at position i behind the open part of the list.
inline void close_cell(int i, int* open_count) {
    int cell = open_cell[i];
    open_cell[i] = open_cell[--*open_count];
    open_cell[*open_count] = cell;
}

// Places every value that has one place left in a row, column or box. open_mask holds the
// candidates of the open cells as the last scan found them, and 0 for every other cell; it
// may go stale as values are placed, but only ever holds too many candidates: a value seen
// in one cell of a unit has at most that place left. Returns -1 on a contradiction, else the
// number placed.
int place_hidden_singles(int* placed, int* placed_count) {
    int* const unit_masks[3] = {row_mask, col_mask, box_mask};
    int found = 0;
    for (int unit = 0; unit < 27; ++unit) {
        const int* cells = unit_cell[unit];
        int once = 0; // values seen in some open cell of the unit, then in two or more
        int twice = 0;
        for (int j = 0; j < 9; ++j) {
            int mask = open_mask[cells[j]];
            twice |= once & mask;
            once |= mask;
        }
        // values placed from earlier units are no longer missing here
        int missing = all_values & ~unit_masks[unit / 9][unit % 9];
        if ((once & missing) != missing) return -1; // a value with no place left
        int single = once & ~twice & missing;
        while (single != 0) {
            int bit = single & -single;
            single ^= bit;
            int cell = -1;
            for (int j = 0; j < 9; ++j) {
                if ((open_mask[cells[j]] & bit) != 0) cell = cells[j];
            }
            int v = value_of(bit);
            // its one place was taken by another value meanwhile, or no longer fits
            if (cell < 0 || !fits(cell, v)) return -1;
            place_value(cell, v);
            open_mask[cell] = 0;
            placed[(*placed_count)++] = cell;
            ++found;
        }
    }
    return found;
}

// Fills forced cells, recording each in placed: cells with one candidate until none is left,
// then one pass for values with one place in a unit, then cells with one candidate again.
// Another pass for values would rarely find more, and costs more than the branching it saves.
// Returns the position in open_cell of the cell to branch on, -1 when the grid is complete,
// -2 on a contradiction.
template <bool in_order> int propagate(int* open_count, int* placed, int* placed_count) {
    bool values_done = false;
    for (;;) {
        bool changed = false;
        int branch = -1;
        int branch_size = 10;
        for (int i = 0; i < *open_count;) {
            int cell = open_cell[i];
            if (grid[cell] != 0) { // filled as a hidden single
                close_cell(i, open_count);
                continue;
            }
            int mask = candidates(cell);
            if (mask == 0) return -2;
            if ((mask & (mask - 1)) == 0) {
                place_value(cell, value_of(mask));
                open_mask[cell] = 0;
                placed[(*placed_count)++] = cell;
                close_cell(i, open_count);
                changed = true;
                continue;
            }
            open_mask[cell] = mask;
            if (in_order) {
                if (branch < 0 || cell < open_cell[branch]) branch = i;
            } else if (branch_size > 2 && set_size[mask] < branch_size) {
                // two candidates is the fewest an open cell can have here: once one turns
                // up, no later cell can beat it and the size look-up is spared
                branch = i;
                branch_size = set_size[mask];
            }
            ++i;
        }
        if (*open_count == 0) return -1;
        if (changed) continue;
        if (values_done) return branch;
        values_done = true;
        int hidden = place_hidden_singles(placed, placed_count);
        if (hidden < 0) return -2;
        if (hidden == 0) return branch;
    }
}

// A measuring count: branches on a cell with fewest candidates and prints nothing.
void measure(int open_count) {
    if (stop_flag != 0 || solution_count > best_count) return;
    int placed[81];
    int placed_count = 0;
    int branch = propagate<false>(&open_count, placed, &placed_count);
    if (branch == -1) {
        ++solution_count;
        if (witnessing) remember_witness();
    } else if (branch >= 0) {
        int cell = open_cell[branch];
        close_cell(branch, &open_count);
        open_mask[cell] = 0;
        int mask = candidates(cell);
        // ascending values; no re-test between them: the callee tests the flag and the bound
        while (mask != 0) {
            int bit = mask & -mask;
            mask ^= bit;
            place_value(cell, value_of(bit));
            measure(open_count);
            remove_value(cell);
        }
    }
    while (placed_count > 0) remove_value(placed[--placed_count]);
}

// Whether a solution lies below the grid: a known solution answers at once; otherwise, unless
// the known ones are all there are, a measuring count looks for one and keeps it.
bool has_solution(int open_count) {
    if (witness_agrees()) return true;
    if (all_witnessed) return false;
    int count = solution_count;
    int bound = best_count;
    solution_count = 0;
    best_count = 0;
    measure(open_count);
    bool found = solution_count > 0;
    solution_count = count;
    best_count = bound;
    return found;
}

// Lists in reading order: the first open cell, values ascending, each entered only when a
// solution lies below it, so every path it walks ends in a solution. The grid it is called on
// has a solution.
void list_in_order(int open_count) {
    if (stop_flag != 0 || solution_count > best_count) return;
    int placed[81];
    int placed_count = 0;
    int branch = propagate<true>(&open_count, placed, &placed_count);
    if (branch == -1) {
        ++solution_count;
        show_solution();
    } else if (branch >= 0) {
        int cell = open_cell[branch];
        close_cell(branch, &open_count);
        open_mask[cell] = 0;
        int mask = candidates(cell);
        int listed = solution_count;
        while (mask != 0) {
            int bit = mask & -mask;
            mask ^= bit;
            place_value(cell, value_of(bit));
            // when the values before the last led to no solution, the last one holds it
            bool known = mask == 0 && solution_count == listed;
            if (known || has_solution(open_count)) list_in_order(open_count);
            remove_value(cell);
        }
    }
    while (placed_count > 0) remove_value(placed[--placed_count]);
}

// When the witnesses are every solution, the listing needs no search: it is the witnesses in
// the order a listing finds them, the lexicographic order of their values cell by cell.
void list_witnesses(int open_count) {
    int order[max_witnesses]; // insertion sort: ten at most
    for (int w = 0; w < witness_count; ++w) {
        int i = w;
        for (; i > 0 &&
               std::lexicographical_compare(witness[w], witness[w] + 81, witness[order[i - 1]],
                                            witness[order[i - 1]] + 81);
             --i) {
            order[i] = order[i - 1];
        }
        order[i] = w;
    }
    for (int i = 0; i < witness_count && solution_count <= best_count; ++i) {
        if (stop_flag != 0) return;
        const int* solution = witness[order[i]];
        for (int j = 0; j < open_count; ++j) place_value(open_cell[j], solution[open_cell[j]]);
        ++solution_count;
        show_solution();
        for (int j = 0; j < open_count; ++j) remove_value(open_cell[j]);
    }
}

// A listing starts with a measuring count up to the bound (at most max_witnesses solutions).
// A starter without a solution ends there. When that count ran to its end, its solutions are
// all there are: the listing enters no subtree without one of them and stops after the last.
void list_solutions(int open_count) {
    int bound = best_count;
    witness_count = 0;
    next_witness = 0;
    witnessing = true;
    // at least two: a listing of the first solution alone then learns whether it is the only
    // one, and if so walks straight to it
    best_count = std::clamp(bound, 1, max_witnesses - 1);
    solution_count = 0;
    measure(open_count);
    int found = solution_count;
    all_witnessed = found <= best_count;
    best_count = all_witnessed ? std::min(found - 1, bound) : bound;
    solution_count = 0;
    if (all_witnessed) {
        list_witnesses(open_count);
    } else if (found > 0) {
        list_in_order(open_count);
    }
    best_count = bound;
    witnessing = false;
}

} // namespace

void count_in_reading_order(int cell) {
    if (solution_count > best_count) return;
    for (;; ++cell) {
        if (stop_flag != 0) return;
        if (cell == 81) {
            ++solution_count;
            show_solution();
            return;
        }
        if (grid[cell] == 0) break;
    }
    // no re-test between values: the callee tests the flag and the bound on entry
    for (int v = 1; v <= 9; ++v) {
        if (!fits(cell, v)) continue;
        place_value(cell, v);
        count_in_reading_order(cell + 1);
        remove_value(cell);
    }
}

namespace {

// Gathers the open cells from cell on into open_cell. Returns their number, or -1 when one of
// them has no candidate left, which ends the count with no solution.
int gather_open_cells(int cell) {
    // The composer's lay-outs come one after another with most givens in common, so the cell
    // that left the last one without a solution often does the same for the next.
    if (last_dead_cell >= cell && grid[last_dead_cell] == 0 && candidates(last_dead_cell) == 0) {
        return -1;
    }
    int open_count = 0;
    std::memset(open_mask, 0, sizeof open_mask); // filled cells hold no candidates
    for (int c = cell; c < 81; ++c) {
        if (grid[c] != 0) continue;
        if (candidates(c) == 0) {
            last_dead_cell = c;
            return -1;
        }
        open_cell[open_count++] = c;
    }
    return open_count;
}

} // namespace

void count_solutions(int cell) {
    if (!fast_counting) {
        count_in_reading_order(cell);
        return;
    }
    int open_count = gather_open_cells(cell);
    if (open_count < 0) return;
    if (show_solutions == 1) {
        list_solutions(open_count);
    } else {
        measure(open_count);
    }
}

int count_up_to(int bound) {
    int count = 0;
    std::swap(count, solution_count);
    std::swap(bound, best_count);
    count_solutions(0);
    std::swap(count, solution_count);
    std::swap(bound, best_count);
    return count;
}

int list_up_to(int max, void (*take)(int number)) {
    solution_taker = take;
    int count = 0;
    int bound = max - 1;
    int shown = 1;
    std::swap(count, solution_count);
    std::swap(bound, best_count);
    std::swap(shown, show_solutions);
    count_solutions(0);
    std::swap(count, solution_count);
    std::swap(bound, best_count);
    std::swap(shown, show_solutions);
    solution_taker = nullptr;
    return count;
}
