// Uniqueness: a puzzle with one solution cannot leave a pattern whose values could swap. A
// rectangle of four cells in two rows, two columns and two boxes must not end as {a,b} in
// all four (types 1 to 4 below); and a grid of bivalue cells, where each value has two places
// or none in every unit, must not be all that is left (the bivalue universal grave): of the
// candidates beyond it, one is true. Sound only for a puzzle with one solution, which is the
// only kind the rater is given.
#include "logic/techniques.h"

#include <bit>

namespace {

int bits(int set) {
    return std::popcount(static_cast<unsigned>(set));
}

// The unit two cells share, other than through sharing none: a row, a column, or -1.
int shared_line(int a, int b) {
    if (row_of[a] == row_of[b]) return row_of[a];
    if (col_of[a] == col_of[b]) return 9 + col_of[a];
    return -1;
}

// The cells of a unit, other than two, that are empty and may join a naked set; their number.
int others_in_unit(const candidate_grid& g, int unit, int a, int b, int* others) {
    int count = 0;
    for (int i = 0; i < 9; ++i) {
        int cell = unit_cell[unit][i];
        if (g.value[cell] == 0 && cell != a && cell != b) others[count++] = cell;
    }
    return count;
}

// Two cells of a unit that hold, beyond what a pattern of pairs allows them, the values in
// extra act as one cell holding those: with size other cells of the unit holding only those
// values too, they make a naked set, and its values go from the rest of the unit. The set's
// cells go after the causes already named.
bool naked_set_with(const candidate_grid& g, int a, int b, int extra, int unit, int size, step* s) {
    int others[9];
    int count = others_in_unit(g, unit, a, b, others);
    for (int pick = 0; pick < 1 << count; ++pick) {
        if (bits(pick) != size) continue;
        int values = extra;
        for (int i = 0; i < count; ++i) {
            if ((pick >> i & 1) != 0) values |= g.cand[others[i]];
        }
        if (bits(values) != size + 1) continue;
        int causes = s->cause_count;
        for (int i = 0; i < count; ++i) {
            if ((pick >> i & 1) != 0) {
                add_cause(s, others[i]);
                continue;
            }
            for (int v = 1; v <= 9; ++v) {
                if ((values & value_bit[v]) != 0) add_removal(s, g, others[i], v);
            }
        }
        if (s->removed_count > 0) {
            s->unit[1] = unit;
            s->values = values;
            return true;
        }
        s->cause_count = causes;
    }
    return false;
}

// The rating of a pattern of n cells, types 1, 2 and 4: 4.5 for a rectangle, 4.6 for a loop
// of six, 4.7 for eight, 5.0 beyond.
int pattern_rating(int n) {
    return n == 4 ? 45 : n == 6 ? 46 : n == 8 ? 47 : 50;
}

// Types 1, 2 and 4 of a rectangle or loop of n cells that must not all come down to pair, or
// with size above 0 type 3 with a naked set of that many cells beside the two with extras.
bool try_pattern(const candidate_grid& g, const int* cells, int n, int pair, int size, step* s) {
    int roof[2]; // the cells with more than the pair; the others are the floor
    int roofs = 0;
    for (int k = 0; k < n; ++k) {
        if (g.cand[cells[k]] == pair) continue;
        if (roofs == 2) return false;
        roof[roofs++] = cells[k];
    }
    auto start = [&](int type) {
        clear_step(s, s->technique);
        s->values = pair;
        for (int k = 0; k < n; ++k) add_cause(s, cells[k]);
        s->form = n;
        s->unit[0] = type;
        s->rating = pattern_rating(n);
    };
    if (roofs == 1) { // type 1: the cell with more cannot be a or b
        if (size > 0) return false;
        start(1);
        for (int v = 1; v <= 9; ++v) {
            if ((pair & value_bit[v]) != 0) add_removal(s, g, roof[0], v);
        }
        return s->removed_count > 0;
    }
    if (roofs != 2) return false;
    int extra0 = g.cand[roof[0]] & ~pair;
    int extra1 = g.cand[roof[1]] & ~pair;
    int units[2] = {shared_line(roof[0], roof[1]),
                    box_of[roof[0]] == box_of[roof[1]] ? 18 + box_of[roof[0]] : -1};
    if (size > 0) { // type 3: the extras with size more cells of a unit, a naked set
        if (bits(extra0 | extra1) < 2) return false;
        for (int unit : units) {
            start(3);
            if (unit >= 0 && naked_set_with(g, roof[0], roof[1], extra0 | extra1, unit, size, s)) {
                s->rating = pattern_rating(n) + size;
                s->values |= pair << 9; // the set's values, and the pair apart
                return true;
            }
        }
        return false;
    }
    // type 2: the same one extra value in both: one of them holds it
    if (extra0 == extra1 && bits(extra0) == 1) {
        start(2);
        int v = std::countr_zero(static_cast<unsigned>(extra0)) + 1;
        for (int cell = 0; cell < 81; ++cell) {
            if (sees(cell, roof[0]) && sees(cell, roof[1])) add_removal(s, g, cell, v);
        }
        if (s->removed_count > 0) return true;
    }
    // type 4: where a value of the pair has no other place in a unit of the two, they hold it
    // once, and so cannot hold the other value of the pair
    for (int unit : units) {
        if (unit < 0) continue;
        for (int v = 1; v <= 9; ++v) {
            if ((pair & value_bit[v]) == 0) continue;
            if (bits(places_in_unit(g, unit, v)) != 2) continue;
            int w = std::countr_zero(static_cast<unsigned>(pair & ~value_bit[v])) + 1;
            start(4);
            add_removal(s, g, roof[0], w);
            add_removal(s, g, roof[1], w);
            if (s->removed_count > 0) return true;
        }
    }
    return false;
}

bool find_rectangle(const candidate_grid& g, int size, step* s) {
    for (int r1 = 0; r1 < 9; ++r1) {
        for (int r2 = r1 + 1; r2 < 9; ++r2) {
            for (int c1 = 0; c1 < 9; ++c1) {
                for (int c2 = c1 + 1; c2 < 9; ++c2) {
                    int corner[4] = {9 * r1 + c1, 9 * r1 + c2, 9 * r2 + c1, 9 * r2 + c2};
                    // two boxes: the rows share a band or the columns share a stack, not both
                    bool band = r1 / 3 == r2 / 3;
                    bool stack = c1 / 3 == c2 / 3;
                    if (band == stack) continue;
                    int common = all_values;
                    for (int cell : corner) common &= g.cand[cell];
                    if (bits(common) < 2) continue;
                    for (int a = 1; a <= 9; ++a) {
                        for (int b = a + 1; b <= 9; ++b) {
                            int pair = value_bit[a] | value_bit[b];
                            if ((common & pair) != pair) continue;
                            if (try_pattern(g, corner, 4, pair, size, s)) return true;
                        }
                    }
                }
            }
        }
    }
    return false;
}

// Unique loops: six or more cells holding a pair, each row, column and box with two of them
// or none, and the two of a unit an odd number of steps apart along the loop, so that the
// pair could swap all round it. At most two of them may hold more than the pair.
constexpr int longest_loop = 12;
constexpr int most_loops = 32;

struct loop_list {
    int count = 0;
    int n[most_loops];
    int pair[most_loops];
    int cells[most_loops][longest_loop];
};

struct loop_search {
    const candidate_grid& g;
    int pair;
    int path[longest_loop];
    int in_unit[27];
    int extras;
    int budget; // steps of the search left: the loops worth a rating are found well within it
    loop_list* out;
};

int units_of(int cell, int* units) {
    units[0] = row_of[cell];
    units[1] = 9 + col_of[cell];
    units[2] = 18 + box_of[cell];
    return 3;
}

bool loop_closes(const loop_search& q, int length) {
    for (int unit = 0; unit < 27; ++unit) {
        if (q.in_unit[unit] != 0 && q.in_unit[unit] != 2) return false;
    }
    for (int i = 0; i < length; ++i) {
        for (int j = i + 1; j < length; ++j) {
            if (sees(q.path[i], q.path[j]) && (j - i) % 2 == 0) return false;
        }
    }
    return true;
}

void extend_loop(loop_search* q, int length) {
    if (--q->budget < 0 || q->out->count == most_loops) return;
    int at = q->path[length - 1];
    if (length >= 6 && length % 2 == 0 && sees(at, q->path[0]) && loop_closes(*q, length)) {
        loop_list& out = *q->out;
        out.n[out.count] = length;
        out.pair[out.count] = q->pair;
        for (int i = 0; i < length; ++i) out.cells[out.count][i] = q->path[i];
        ++out.count;
        return;
    }
    if (length == longest_loop) return;
    for (int next = q->path[0] + 1; next < 81; ++next) {
        if (!sees(at, next) || (q->g.cand[next] & q->pair) != q->pair) continue;
        bool extra = q->g.cand[next] != q->pair;
        if (extra && q->extras == 2) continue;
        int units[3];
        units_of(next, units);
        bool full = false;
        for (int unit : units) full |= q->in_unit[unit] == 2;
        bool again = false;
        for (int i = 0; i < length; ++i) again |= q->path[i] == next;
        if (full || again) continue;
        for (int unit : units) ++q->in_unit[unit];
        q->extras += extra ? 1 : 0;
        q->path[length] = next;
        extend_loop(q, length + 1);
        q->extras -= extra ? 1 : 0;
        for (int unit : units) --q->in_unit[unit];
    }
}

void find_loops(const candidate_grid& g, loop_list* out) {
    loop_search q{g, 0, {}, {}, 0, 200000, out};
    for (int a = 1; a <= 9; ++a) {
        for (int b = a + 1; b <= 9; ++b) {
            q.pair = value_bit[a] | value_bit[b];
            // all but two of six cells or more hold the pair alone
            int alone = 0;
            for (int cell = 0; cell < 81; ++cell) alone += g.cand[cell] == q.pair ? 1 : 0;
            if (alone < 4) continue;
            for (int start = 0; start < 81; ++start) {
                // a loop is sought from its first cell
                if (g.value[start] != 0 || (g.cand[start] & q.pair) != q.pair) continue;
                int units[3];
                units_of(start, units);
                for (int unit : units) ++q.in_unit[unit];
                q.extras = g.cand[start] != q.pair ? 1 : 0;
                q.path[0] = start;
                extend_loop(&q, 1);
                for (int unit : units) --q.in_unit[unit];
            }
        }
    }
}

} // namespace

bool find_unique_rectangle(const candidate_grid& g, int, step* s) {
    if (find_rectangle(g, 0, s)) return true; // 4.5: a rectangle's types 1, 2 and 4
    // then the lowest rating among loops and type 3, whose naked set adds to it
    loop_list loops;
    find_loops(g, &loops);
    for (int rating = 46; rating <= 53; ++rating) {
        if (rating <= 48 && find_rectangle(g, rating - 45, s)) return true;
        for (int k = 0; k < loops.count; ++k) {
            int size = rating - pattern_rating(loops.n[k]);
            if (size < 0 || size > 3) continue;
            if (try_pattern(g, loops.cells[k], loops.n[k], loops.pair[k], size, s)) return true;
        }
    }
    clear_step(s, s->technique);
    return false;
}

namespace {

// The bivalue universal grave: every empty cell with two candidates and every value with two
// places or none in each unit has two solutions. The cells with more than two candidates
// (three at most here, five candidates each) are tried with each pair they could keep; the
// first way that leaves such a grave names the extra candidates, one of which must be true.
struct grave {
    int count; // the cells with extras
    int cell[3];
    int extra[3]; // their extra candidates
    int keep[3];  // the pair each keeps in the grave
};

bool is_grave(const candidate_grid& g, const grave& x) {
    int cand[81];
    for (int cell = 0; cell < 81; ++cell) cand[cell] = g.cand[cell];
    for (int k = 0; k < x.count; ++k) cand[x.cell[k]] = x.keep[k];
    for (int unit = 0; unit < 27; ++unit) {
        int once = 0;
        int twice = 0;
        int more = 0;
        for (int i = 0; i < 9; ++i) {
            int c = cand[unit_cell[unit][i]];
            more |= twice & c;
            twice |= once & c;
            once |= c;
        }
        if (more != 0 || (once & ~twice) != 0) return false;
    }
    return true;
}

bool find_grave(const candidate_grid& g, grave* x, int k) {
    if (k >= x->count || k >= 3) return is_grave(g, *x);
    int cand = g.cand[x->cell[k]];
    for (int a = 1; a <= 9; ++a) {
        for (int b = a + 1; b <= 9; ++b) {
            int pair = value_bit[a] | value_bit[b];
            if ((cand & pair) != pair) continue;
            x->keep[k] = pair;
            x->extra[k] = cand & ~pair;
            if (find_grave(g, x, k + 1)) return true;
        }
    }
    return false;
}

int single_value(int set) {
    return bits(set) == 1 ? std::countr_zero(static_cast<unsigned>(set)) + 1 : 0;
}

void grave_step(step* s, const grave& x, int type, int rating) {
    for (int k = 0; k < x.count; ++k) add_cause(s, x.cell[k]);
    s->form = type;
    s->rating = rating;
}

} // namespace

bool find_bivalue_grave(const candidate_grid& g, int, step* s) {
    grave x{};
    x.count = 0;
    for (int cell = 0; cell < 81; ++cell) {
        if (g.value[cell] != 0 || bits(g.cand[cell]) == 2) continue;
        if (x.count == 3 || bits(g.cand[cell]) > 5) return false;
        x.cell[x.count++] = cell;
    }
    if (x.count == 0 || !find_grave(g, &x, 0)) return false;
    // type 1: one cell, one extra: it is the cell's value
    int v = single_value(x.extra[0]);
    if (x.count == 1 && v != 0) {
        add_placement(s, x.cell[0], v);
        grave_step(s, x, 1, 56);
        s->values = value_bit[v];
        return true;
    }
    // type 2: the extras are one value, or one cell's extras: the grave's values there go, or
    // the extra goes from every cell that sees all the cells holding it
    int same = single_value(x.extra[0]) != 0 ? x.extra[0] : 0;
    for (int k = 1; k < x.count; ++k) same = single_value(x.extra[k]) != 0 ? same & x.extra[k] : 0;
    v = single_value(same);
    if (x.count == 1) {
        for (int w = 1; w <= 9; ++w) {
            if ((x.keep[0] & value_bit[w]) != 0) add_removal(s, g, x.cell[0], w);
        }
    } else if (v != 0) {
        for (int cell = 0; cell < 81; ++cell) {
            bool all = true;
            for (int k = 0; k < x.count; ++k) all = all && sees(cell, x.cell[k]);
            if (all) add_removal(s, g, cell, v);
        }
    }
    if (s->removed_count > 0) {
        grave_step(s, x, 2, 57);
        s->values = x.count == 1 ? x.keep[0] : value_bit[v];
        return true;
    }
    if (x.count != 2) return false;
    int shared[2] = {shared_line(x.cell[0], x.cell[1]),
                     box_of[x.cell[0]] == box_of[x.cell[1]] ? 18 + box_of[x.cell[0]] : -1};
    // type 4: a value of both pairs with no other place in their unit is in one of the two
    // cells; the other holds its extra, so neither holds the other value of its pair
    for (int unit : shared) {
        if (unit < 0) continue;
        int common = x.keep[0] & x.keep[1];
        for (int w = 1; w <= 9; ++w) {
            if ((common & value_bit[w]) == 0 || bits(places_in_unit(g, unit, w)) != 2) continue;
            clear_step(s, s->technique);
            for (int k = 0; k < 2; ++k) {
                int other = single_value(x.keep[k] & ~value_bit[w]);
                if (other != 0) add_removal(s, g, x.cell[k], other);
            }
            if (s->removed_count == 0) continue;
            grave_step(s, x, 4, 57);
            s->unit[0] = unit;
            s->values = value_bit[w];
            return true;
        }
    }
    // type 3: their extras with other cells of the unit make a naked set
    for (int size = 1; size <= 3; ++size) {
        for (int unit : shared) {
            clear_step(s, s->technique);
            grave_step(s, x, 3, 57 + size);
            if (unit >= 0 &&
                naked_set_with(g, x.cell[0], x.cell[1], x.extra[0] | x.extra[1], unit, size, s)) {
                s->unit[0] = unit;
                return true;
            }
        }
    }
    return false;
}
