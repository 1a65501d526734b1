// Unique rectangles and loops: a puzzle with one solution cannot end with a loop of cells that
// hold only {v1, v2}, where every region the loop passes through holds two of its cells, since
// the two values could then swap. So the cells beyond the pair (the loop's extra cells) must
// keep the loop from forming: type 1, one extra cell, is not v1 or v2; type 2, the extra cells
// share one extra value z, which goes from every cell they all see; type 3, the extra values of
// two extra cells make a naked or hidden set with other cells of a region they share; type 4,
// v1 has no other place in a region the two share, so v2 goes from both.
//
// Loops are found by a walk from each bivalue cell through cells holding both values, at most
// two of them with extra values unless those are all one value; every loop is judged as it is
// found. Of all the steps, the lowest rating wins, then the lowest type, then the first found.
// Sound only for a puzzle with one solution, the only kind the rater is given.
#include "logic/scale.h"
#include "logic/techniques.h"

namespace {

constexpr int max_loop = 81;

struct loop_search {
    const candidate_grid& g;
    int v1;
    int v2;
    int pair; // the bits of v1 and v2
    int path[max_loop];
    int length;
    bool on_path[81];
    bool found;
    step best;
    int best_type;
};

double loop_rating(int size, int members) {
    double rating = base_rating(technique::unique_rectangle);
    if (size >= 10) rating += scale.loop_of_ten / 10.0;
    if (size >= 8) {
        rating += scale.loop_of_eight / 10.0;
    } else if (size >= 6) {
        rating += scale.loop_of_six / 10.0;
    }
    return rating + members * (scale.set_member / 10.0);
}

// The lowest rating wins, then the lowest type, then the first found.
void offer(loop_search& search, const step& s, int type) {
    if (s.removed.empty()) return;
    if (!search.found || s.rating < search.best.rating ||
        (s.rating == search.best.rating && type < search.best_type)) {
        search.best = s;
        search.best_type = type;
        search.found = true;
    }
}

loop_shape shape_of(const loop_search& search, int type) {
    loop_shape shape{};
    shape.type = type;
    shape.size = search.length;
    for (int i = 0; i < search.length && i < 32; ++i) shape.cells[i] = search.path[i];
    shape.v1 = search.v1;
    shape.v2 = search.v2;
    shape.unit = -1;
    return shape;
}

step loop_step(const loop_search& search, const loop_shape& shape, int members) {
    technique id = search.length == 4 ? technique::unique_rectangle : technique::unique_loop;
    return removal_step(id, loop_rating(search.length, members), shape);
}

// Every region through a loop cell holds two of them, one at an even place in the loop and
// one at an odd place.
bool is_valid_loop(const loop_search& search) {
    int count[27] = {};
    int parity[27] = {}; // bit 0: a cell at an even place, bit 1: at an odd place
    for (int i = 0; i < search.length; ++i) {
        int cell = search.path[i];
        for (int unit : {row_of[cell], 9 + col_of[cell], 18 + box_of[cell]}) {
            ++count[unit];
            parity[unit] |= 1 << (i & 1);
        }
    }
    for (int unit = 0; unit < 27; ++unit) {
        if (count[unit] != 0 && (count[unit] != 2 || parity[unit] != 3)) return false;
    }
    return true;
}

// z goes from every cell that sees all the extra cells.
void type_two(loop_search& search, const int* extra, int count, int z) {
    loop_shape shape = shape_of(search, 2);
    shape.extra = z;
    step s = loop_step(search, shape, 0);
    for (int cell = 0; cell < 81; ++cell) {
        bool sees_all = (search.g.cand[cell] & value_bit[z]) != 0;
        for (int i = 0; i < count && sees_all; ++i) sees_all = sees(cell, extra[i]);
        if (sees_all) s.removed.add(cell, z);
    }
    offer(search, s, 2);
}

void type_three(loop_search& search, int c1, int c2, int extra_values) {
    const candidate_grid& g = search.g;
    int both = g.cand[c1] & g.cand[c2];
    for (int d = count_of(extra_values); d <= 7; ++d) {
        for (int kind : kinds_brc) {
            int unit = unit_of(kind, c1);
            if (unit != unit_of(kind, c2)) continue;
            int i1 = 0;
            int i2 = 0;
            for (int i = 0; i < 9; ++i) {
                if (unit_cell[unit][i] == c1) i1 = i;
                if (unit_cell[unit][i] == c2) i2 = i;
            }
            int empty = empty_cells(g, unit);
            // naked: the two extra cells act as one cell holding their extra values
            for (int chosen = (1 << d) - 1; 2 * d <= empty && chosen < 512;
                 chosen = next_subset(chosen)) {
                if ((chosen >> i1 & 1) == 0 || (chosen >> i2 & 1) != 0) continue;
                int values = extra_values;
                int others = 0; // the other chosen cells' values
                bool enough = true;
                for (int i = 0; i < 9 && enough; ++i) {
                    if ((chosen >> i & 1) == 0 || i == i1) continue;
                    int cand = g.cand[unit_cell[unit][i]];
                    enough = count_of(cand) >= 2;
                    values |= cand;
                    others |= cand;
                }
                if (!enough || count_of(values) != d) continue;
                if ((extra_values & ~both & ~others) != 0) continue;
                loop_shape shape = shape_of(search, 3);
                shape.unit = unit;
                shape.values = values;
                shape.positions = chosen & ~(1 << i1);
                step s = loop_step(search, shape, d - 1);
                for (int i = 0; i < 9; ++i) {
                    int cell = unit_cell[unit][i];
                    if ((chosen >> i & 1) != 0 || cell == c2) continue;
                    for (int bits = g.cand[cell] & values; bits != 0; bits &= bits - 1) {
                        s.removed.add(cell, value_of_bit(bits & -bits));
                    }
                }
                offer(search, s, 3);
            }
            // hidden: the pair's values and d - 2 others fill d places, c2 left out
            if (2 * d >= empty) continue;
            int rest = all_values & ~search.pair & ~extra_values;
            int rest_values[9];
            int rest_count = 0;
            for (int bits = rest; bits != 0; bits &= bits - 1) {
                rest_values[rest_count++] = value_of_bit(bits & -bits);
            }
            if (d - 2 > rest_count) continue;
            for (int chosen = (1 << (d - 2)) - 1; chosen < (1 << rest_count) || chosen == 0;
                 chosen = next_subset(chosen)) {
                int hidden = search.pair;
                for (int i = 0; i < rest_count; ++i) {
                    if ((chosen >> i & 1) != 0) hidden |= value_bit[rest_values[i]];
                }
                int positions = 0;
                bool every = true;
                for (int bits = hidden; bits != 0 && every; bits &= bits - 1) {
                    int places = places_in(g, unit, value_of_bit(bits & -bits)) & ~(1 << i2);
                    every = places != 0;
                    positions |= places;
                }
                if (every && count_of(positions) == d) {
                    loop_shape shape = shape_of(search, 3);
                    shape.hidden = true;
                    shape.unit = unit;
                    shape.values = hidden;
                    shape.positions = positions & ~(1 << i1);
                    step s = loop_step(search, shape, d - 2);
                    for (int i = 0; i < 9; ++i) {
                        if ((shape.positions >> i & 1) == 0) continue;
                        int cell = unit_cell[unit][i];
                        for (int bits = g.cand[cell] & ~hidden; bits != 0; bits &= bits - 1) {
                            s.removed.add(cell, value_of_bit(bits & -bits));
                        }
                    }
                    offer(search, s, 3);
                }
                if (chosen == 0) break; // the empty set comes once
            }
        }
    }
}

void type_four(loop_search& search, int c1, int c2) {
    const candidate_grid& g = search.g;
    for (int locked : {search.v1, search.v2}) {
        for (int kind : kinds_brc) {
            int unit = unit_of(kind, c1);
            if (unit != unit_of(kind, c2)) continue;
            int places = places_in(g, unit, locked);
            bool alone = true;
            for (int i = 0; i < 9; ++i) {
                int cell = unit_cell[unit][i];
                if ((places >> i & 1) != 0 && cell != c1 && cell != c2) alone = false;
            }
            if (!alone) continue;
            int other = locked == search.v1 ? search.v2 : search.v1;
            loop_shape shape = shape_of(search, 4);
            shape.unit = unit;
            shape.extra = locked;
            step s = loop_step(search, shape, 0);
            for (int cell : {c1, c2}) {
                if ((g.cand[cell] & value_bit[other]) != 0) s.removed.add(cell, other);
            }
            offer(search, s, 4);
            return;
        }
    }
}

void judge_loop(loop_search& search) {
    if (!is_valid_loop(search)) return;
    const candidate_grid& g = search.g;
    int extra[max_loop];
    int count = 0;
    int extra_values = 0;
    for (int i = 0; i < search.length; ++i) {
        int cand = g.cand[search.path[i]];
        if (count_of(cand) > 2) {
            extra[count++] = search.path[i];
            extra_values |= cand & ~search.pair;
        }
    }
    if (count == 1) {
        loop_shape shape = shape_of(search, 1);
        step s = loop_step(search, shape, 0);
        s.removed.add(extra[0], search.v1);
        s.removed.add(extra[0], search.v2);
        offer(search, s, 1);
    } else if (count >= 3) {
        if (count_of(extra_values) == 1) type_two(search, extra, count, value_of_bit(extra_values));
    } else if (count == 2) {
        if (count_of(extra_values) == 1) {
            type_two(search, extra, count, value_of_bit(extra_values));
        } else {
            type_three(search, extra[0], extra[1], extra_values);
        }
        type_four(search, extra[0], extra[1]);
    }
}

// One cell of the walk. arrival is the kind of region it was reached through (-1 at the start);
// allowance the extra cells it may still take; extra the values beyond the pair of every cell
// this walk has looked at so far, on the loop or beside it.
void walk(loop_search& search, int cell, int arrival, int allowance, int extra) {
    const candidate_grid& g = search.g;
    search.path[search.length++] = cell;
    search.on_path[cell] = true;
    for (int kind : kinds_brc) {
        if (kind == arrival) continue;
        for (int next : unit_cell[unit_of(kind, cell)]) {
            if (next == search.path[0] && search.length >= 4) {
                judge_loop(search);
            } else if (!search.on_path[next] && (g.cand[next] & search.pair) == search.pair) {
                extra |= g.cand[next] & ~search.pair;
                bool bivalue = count_of(g.cand[next]) == 2;
                if ((bivalue || count_of(extra) == 1 || allowance > 0) &&
                    search.length < max_loop) {
                    walk(search, next, kind, bivalue ? allowance : allowance - 1, extra);
                }
            }
        }
    }
    search.on_path[cell] = false;
    --search.length;
}

} // namespace

bool find_unique_loops(const candidate_grid& g, int, step_sink& sink) {
    loop_search search{g, 0, 0, 0, {}, 0, {}, false, {}, 0};
    for (int start = 0; start < 81; ++start) {
        if (count_of(g.cand[start]) != 2) continue;
        search.pair = g.cand[start];
        search.v1 = value_of_bit(search.pair & -search.pair);
        search.v2 = value_of_bit(search.pair & (search.pair - 1));
        walk(search, start, -1, 2, 0);
    }
    return search.found && !sink.take(search.best);
}
