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

#include "core/stop_flag.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

inline bool stopped(const counter& s) {
    return s.cancel != nullptr ? s.cancel->load(std::memory_order_relaxed) : stop_flag != 0;
}

inline int value_of(int bit) {
    return std::countr_zero(static_cast<unsigned>(bit)) + 1;
}

void remember_witness(const puzzle& p, counter& s) {
    std::memcpy(s.witness[s.next_witness], p.grid, 81 * sizeof(int));
    s.next_witness = (s.next_witness + 1) % max_witnesses;
    if (s.witness_count < max_witnesses) ++s.witness_count;
}

// True when some known solution holds every value of the grid.
bool witness_agrees(const puzzle& p, const counter& s) {
    for (int w = 0; w < s.witness_count; ++w) {
        int cell = 0;
        while (cell < 81 && (p.grid[cell] == 0 || p.grid[cell] == s.witness[w][cell])) ++cell;
        if (cell == 81) return true;
    }
    return false;
}

// The candidates of a cell, read through pointers to the unit sets: the compiler then keeps each
// in a register of its own, where through the puzzle it works out an offset for every cell, and
// the loops over the open cells run a tenth slower.
struct unit_sets {
    const int* rows;
    const int* cols;
    const int* boxes;

    explicit unit_sets(const puzzle& p) : rows(p.row_mask), cols(p.col_mask), boxes(p.box_mask) {}

    int candidates(int cell) const {
        return all_values & ~(rows[row_of[cell]] | cols[col_of[cell]] | boxes[box_of[cell]]);
    }
};

// Moves the cell at position i behind the open part of the list.
inline void close_cell(counter& s, int i, int* open_count) {
    int cell = s.open_cell[i];
    s.open_cell[i] = s.open_cell[--*open_count];
    s.open_cell[*open_count] = cell;
}

// Places every value that has one place left in a row, column or box. open_mask holds the
// candidates of the open cells as the last scan found them, and 0 for every other cell; it
// may go stale as values are placed, but only ever holds too many candidates: a value seen
// in one cell of a unit has at most that place left. Returns -1 on a contradiction, else the
// number placed.
int place_hidden_singles(puzzle& p, counter& s, int* placed, int* placed_count) {
    int* const unit_masks[3] = {p.row_mask, p.col_mask, p.box_mask};
    int found = 0;
    for (int unit = 0; unit < 27; ++unit) {
        const int* cells = unit_cell[unit];
        int once = 0; // values seen in some open cell of the unit, then in two or more
        int twice = 0;
        for (int j = 0; j < 9; ++j) {
            int mask = s.open_mask[cells[j]];
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
                if ((s.open_mask[cells[j]] & bit) != 0) cell = cells[j];
            }
            int v = value_of(bit);
            // its one place was taken by another value meanwhile, or no longer fits
            if (cell < 0 || !fits(p, cell, v)) return -1;
            place_value(p, cell, v);
            s.open_mask[cell] = 0;
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
template <bool in_order>
int propagate(puzzle& p, counter& s, int* open_count, int* placed, int* placed_count) {
    bool values_done = false;
    const unit_sets sets(p);
    for (;;) {
        bool changed = false;
        int branch = -1;
        int branch_size = 10;
        for (int i = 0; i < *open_count;) {
            int cell = s.open_cell[i];
            if (p.grid[cell] != 0) { // filled as a hidden single
                close_cell(s, i, open_count);
                continue;
            }
            int mask = sets.candidates(cell);
            if (mask == 0) return -2;
            if ((mask & (mask - 1)) == 0) {
                place_value(p, cell, value_of(mask));
                s.open_mask[cell] = 0;
                placed[(*placed_count)++] = cell;
                close_cell(s, i, open_count);
                changed = true;
                continue;
            }
            s.open_mask[cell] = mask;
            if (in_order) {
                if (branch < 0 || cell < s.open_cell[branch]) branch = i;
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
        int hidden = place_hidden_singles(p, s, placed, placed_count);
        if (hidden < 0) return -2;
        if (hidden == 0) return branch;
    }
}

// A measuring count: branches on a cell with fewest candidates and prints nothing.
void measure(puzzle& p, counter& s, int open_count) {
    if (++s.nodes > s.node_limit || s.count > s.bound || stopped(s)) return;
    int placed[81];
    int placed_count = 0;
    int branch = propagate<false>(p, s, &open_count, placed, &placed_count);
    if (branch == -1) {
        ++s.count;
        if (s.witnessing) remember_witness(p, s);
    } else if (branch >= 0) {
        int cell = s.open_cell[branch];
        close_cell(s, branch, &open_count);
        s.open_mask[cell] = 0;
        int mask = candidates(p, cell);
        // ascending values; no re-test between them: the callee tests the flag and the bound
        while (mask != 0) {
            int bit = mask & -mask;
            mask ^= bit;
            place_value(p, cell, value_of(bit));
            measure(p, s, open_count);
            remove_value(p, cell);
        }
    }
    while (placed_count > 0) remove_value(p, placed[--placed_count]);
}

// Whether a solution lies below the grid: a known solution answers at once; otherwise, unless
// the known ones are all there are, a measuring count of its own looks for one and keeps it.
bool has_solution(puzzle& p, counter& s, int open_count) {
    if (witness_agrees(p, s)) return true;
    if (s.all_witnessed) return false;
    int listed = s.count;
    int bound = s.bound;
    s.count = 0;
    s.bound = 0;
    measure(p, s, open_count);
    bool found = s.count > 0;
    s.count = listed;
    s.bound = bound;
    return found;
}

// Lists in reading order: the first open cell, values ascending, each entered only when a
// solution lies below it, so every path it walks ends in a solution. The grid it is called on
// has a solution.
void list_in_order(puzzle& p, counter& s, int open_count) {
    if (s.count > s.bound || stopped(s)) return;
    int placed[81];
    int placed_count = 0;
    int branch = propagate<true>(p, s, &open_count, placed, &placed_count);
    if (branch == -1) {
        ++s.count;
        s.show_solutions->take(p, s.count);
    } else if (branch >= 0) {
        int cell = s.open_cell[branch];
        close_cell(s, branch, &open_count);
        s.open_mask[cell] = 0;
        int mask = candidates(p, cell);
        int listed = s.count;
        while (mask != 0) {
            int bit = mask & -mask;
            mask ^= bit;
            place_value(p, cell, value_of(bit));
            // when the values before the last led to no solution, the last one holds it
            bool known = mask == 0 && s.count == listed;
            if (known || has_solution(p, s, open_count)) list_in_order(p, s, open_count);
            remove_value(p, cell);
        }
    }
    while (placed_count > 0) remove_value(p, placed[--placed_count]);
}

// When the witnesses are every solution, the listing needs no search: it is the witnesses in
// the order a listing finds them, the lexicographic order of their values cell by cell.
void list_witnesses(puzzle& p, counter& s, int open_count) {
    int order[max_witnesses]; // insertion sort: ten at most
    for (int w = 0; w < s.witness_count; ++w) {
        int i = w;
        for (; i > 0 &&
               std::lexicographical_compare(s.witness[w], s.witness[w] + 81,
                                            s.witness[order[i - 1]], s.witness[order[i - 1]] + 81);
             --i) {
            order[i] = order[i - 1];
        }
        order[i] = w;
    }
    for (int i = 0; i < s.witness_count && s.count <= s.bound; ++i) {
        if (stopped(s)) return;
        const int* solution = s.witness[order[i]];
        for (int j = 0; j < open_count; ++j) {
            place_value(p, s.open_cell[j], solution[s.open_cell[j]]);
        }
        ++s.count;
        s.show_solutions->take(p, s.count);
        for (int j = 0; j < open_count; ++j) remove_value(p, s.open_cell[j]);
    }
}

// A listing starts with a measuring count up to the bound (at most max_witnesses solutions).
// A starter without a solution ends there. When that count ran to its end, its solutions are
// all there are, and they are the listing.
void list_solutions(puzzle& p, counter& s, int open_count) {
    int bound = s.bound;
    s.witness_count = 0;
    s.next_witness = 0;
    s.witnessing = true;
    // at least two: a listing of the first solution alone then learns whether it is the only
    // one, and if so needs no search for it
    s.bound = std::clamp(bound, 1, max_witnesses - 1);
    s.count = 0;
    measure(p, s, open_count);
    int found = s.count;
    s.witnessing = false;
    s.all_witnessed = found <= s.bound;
    s.bound = s.all_witnessed ? std::min(found - 1, bound) : bound;
    s.count = 0;
    if (s.all_witnessed) {
        list_witnesses(p, s, open_count);
    } else if (found > 0) {
        list_in_order(p, s, open_count);
    }
}

// Gathers the empty cells into open_cell. Returns their number, or -1 when one of them has no
// candidate left, which ends the count with no solution: that cell goes to dead_cell.
int gather_open_cells(const puzzle& p, counter& s) {
    int open_count = 0;
    std::memset(s.open_mask, 0, sizeof s.open_mask); // filled cells hold no candidates
    const unit_sets sets(p);
    const int* const grid = p.grid;
    for (int cell = 0; cell < 81; ++cell) {
        if (grid[cell] != 0) continue;
        if (sets.candidates(cell) == 0) {
            s.dead_cell = cell;
            return -1;
        }
        s.open_cell[open_count++] = cell;
    }
    return open_count;
}

// The plain reading-order backtracking, on the same tally.
void count_plainly(puzzle& p, counter& s, int cell) {
    if (s.count > s.bound) return;
    for (;; ++cell) {
        if (stopped(s)) return;
        if (cell == 81) {
            ++s.count;
            if (s.show_solutions != nullptr) s.show_solutions->take(p, s.count);
            return;
        }
        if (p.grid[cell] == 0) break;
    }
    // no re-test between values: the callee tests the flag and the bound on entry
    for (int v = 1; v <= 9; ++v) {
        if (!fits(p, cell, v)) continue;
        place_value(p, cell, v);
        count_plainly(p, s, cell + 1);
        remove_value(p, cell);
    }
}

} // namespace

int count_solutions(puzzle& p, counter& c) {
    c.count = 0;
    c.bound = c.best_count;
    if (c.in_reading_order) {
        count_plainly(p, c, 0);
    } else if (int open_count = gather_open_cells(p, c); open_count >= 0) {
        if (c.show_solutions != nullptr) {
            list_solutions(p, c, open_count);
        } else {
            measure(p, c, open_count);
        }
    }
    c.solution_count = c.count;
    return c.count;
}

int count_cheaply(puzzle& p, counter& c, int budget) {
    long long start = c.nodes;
    c.node_limit = start + budget;
    int count = count_solutions(p, c);
    bool spent = c.nodes > c.node_limit;
    c.node_limit = LLONG_MAX;
    return spent ? -1 : count;
}
