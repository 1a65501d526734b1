// Dynamic chains. A supposition ("r1c1 is 5", or "r1c1 is not 5") is followed in breadth
// through a copy of the grid: a value placed rules out its peers and the cell's other values,
// and a candidate ruled out may leave a cell one value or a value one place in a unit, which
// is then placed. What was ruled out along the way counts, unlike in a static chain, so a
// single may rest on several earlier nodes: each node keeps the set of nodes it rests on, and
// a chain's length is the size of that set. From level 1 on, when the singles run dry, the
// techniques below the chain's row in the table are tried in the copy too (a nested chain).
//
// Every candidate is followed once on and once off per step, and what each reaches is kept
// in a table; the shapes of the technique are then read off the tables: a supposition that
// meets a node and its opposite, a node both a candidate and its denial reach, a node every
// value of a cell or every place of a value in a unit reaches. The step with the fewest nodes
// wins. The tables are large, so each thread has them once per level, made on first use.
#include "core/stop_flag.h"
#include "logic/chain_nodes.h"
#include "logic/rating.h"

#include <bit>
#include <cstdint>
#include <memory>

namespace {

// The sets of nodes have a few bits more than there are nodes: one for each nested chain a
// supposition used, which counts as that chain's nodes, so that a chain used twice counts once.
constexpr int words = (node_total + 63) / 64 + 1;
constexpr int nested_bits = words * 64 - node_total;

struct follow_space {
    candidate_grid work;
    int stamp[node_total];
    int now;
    std::uint64_t rests_on[node_total][words]; // the nodes each node rests on, itself included
    int nested_nodes[nested_bits];             // each nested chain's nodes
    int nested_count;
    int queue[node_total];
    int head;
    int tail;
    int conflict; // nodes of the contradiction met; 0 while there is none
    int clash[3]; // where it showed, as a step names it
    step inner;   // a nested technique's step
};

struct level_space {
    follow_space f;
    // for each candidate (cell * 9 + v - 1), followed on and followed off: the nodes of the
    // chain to each node it reaches, 0 where it does not; the contradiction's nodes apart
    std::uint16_t reach[2][729][node_total];
    int conflict[2][729];
};

bool reached(const follow_space& f, int node) {
    return f.stamp[node] == f.now;
}

int size_of_set(const follow_space& f, const std::uint64_t* set) {
    int n = 0;
    for (int w = 0; w < words; ++w) n += std::popcount(set[w]);
    for (int k = 0; k < f.nested_count; ++k) {
        int bit = node_total + k;
        if ((set[bit >> 6] >> (bit & 63) & 1) != 0) n += f.nested_nodes[k] - 1;
    }
    return n;
}

int size_of(const follow_space& f, int node) {
    return size_of_set(f, f.rests_on[node]);
}

// Adds node, resting on the nodes in the set rests (its own bit is added), unless it is there
// already. Meeting its opposite is a contradiction: the nodes of both chains count.
void derive_on(follow_space* f, int node, const std::uint64_t* rests) {
    if (reached(*f, node) || f->conflict != 0) return;
    f->stamp[node] = f->now;
    std::uint64_t* set = f->rests_on[node];
    for (int w = 0; w < words; ++w) set[w] = rests[w];
    set[node >> 6] |= std::uint64_t{1} << (node & 63);
    if (reached(*f, node ^ 1)) {
        f->conflict = size_of(*f, node) + size_of(*f, node ^ 1);
        f->clash[0] = 1;
        f->clash[1] = node_cell(node);
        f->clash[2] = node_value(node);
        return;
    }
    int cell = node_cell(node);
    int v = node_value(node);
    if (node_on(node)) {
        f->work.value[cell] = v;
    } else {
        f->work.cand[cell] &= ~value_bit[v];
    }
    f->queue[f->tail++] = node;
}

// The union of what the parents rest on, with the bit of a nested chain (-1: none), in set.
void union_of(const follow_space& f, const int* parents, int parent_count, int nested,
              std::uint64_t* set) {
    for (int w = 0; w < words; ++w) set[w] = 0;
    if (nested >= 0) set[nested >> 6] |= std::uint64_t{1} << (nested & 63);
    for (int k = 0; k < parent_count; ++k) {
        const std::uint64_t* from = f.rests_on[parents[k]];
        for (int w = 0; w < words; ++w) set[w] |= from[w];
    }
}

// Adds node, resting on the nodes in parents.
void derive(follow_space* f, int node, const int* parents, int parent_count) {
    if (reached(*f, node) || f->conflict != 0) return;
    std::uint64_t rests[words];
    union_of(*f, parents, parent_count, -1, rests);
    derive_on(f, node, rests);
}

// The off nodes already reached among the places of v in a unit other than cell (-1: all),
// where v was a candidate to start with.
int offs_in_unit(const follow_space& f, const candidate_grid& g, int unit, int v, int cell,
                 int* into) {
    int count = 0;
    for (int i = 0; i < 9; ++i) {
        int at = unit_cell[unit][i];
        if (at == cell || (g.cand[at] & value_bit[v]) == 0) continue;
        int off = node_of(at, v, false);
        if (reached(f, off)) into[count++] = off;
    }
    return count;
}

// A contradiction the copy shows without a node meeting its opposite: a cell left without a
// value, or a value without a place in a unit. Its nodes: all the chains that emptied it.
void empty_conflict(follow_space* f, const int* offs, int count, int kind, int where, int v) {
    f->clash[0] = kind;
    f->clash[1] = where;
    f->clash[2] = v;
    std::uint64_t all[words] = {};
    for (int k = 0; k < count; ++k) {
        for (int w = 0; w < words; ++w) all[w] |= f->rests_on[offs[k]][w];
    }
    int n = size_of_set(*f, all);
    f->conflict = n > 0 ? n : 1;
}

// What follows from one node: the singles, or, following one value, its places alone.
void follow_node(follow_space* f, const candidate_grid& g, int node, bool one_value) {
    int cell = node_cell(node);
    int v = node_value(node);
    if (node_on(node)) {
        int peers[21]; // the cell itself among them
        int count = cells_in(peer_cells[cell], peers);
        for (int k = 0; k < count; ++k) {
            if (peers[k] != cell && (f->work.cand[peers[k]] & value_bit[v]) != 0) {
                derive(f, node_of(peers[k], v, false), &node, 1);
            }
        }
        if (!one_value) {
            for (int w = 1; w <= 9; ++w) {
                if (w != v && (f->work.cand[cell] & value_bit[w]) != 0) {
                    derive(f, node_of(cell, w, false), &node, 1);
                }
            }
            f->work.cand[cell] = 0;
        }
        return;
    }
    int parents[9];
    if (!one_value && f->work.value[cell] == 0) {
        int left = f->work.cand[cell];
        int count = 0;
        for (int w = 1; w <= 9; ++w) {
            int off = node_of(cell, w, false);
            if ((g.cand[cell] & value_bit[w]) != 0 && reached(*f, off)) parents[count++] = off;
        }
        if (left == 0) {
            empty_conflict(f, parents, count, 2, cell, 0);
            return;
        }
        if (std::popcount(static_cast<unsigned>(left)) == 1) {
            int w = std::countr_zero(static_cast<unsigned>(left)) + 1;
            derive(f, node_of(cell, w, true), parents, count);
        }
    }
    int units[3] = {row_of[cell], 9 + col_of[cell], 18 + box_of[cell]};
    for (int unit : units) {
        bool placed = false;
        for (int i = 0; i < 9; ++i) placed |= f->work.value[unit_cell[unit][i]] == v;
        if (placed) continue;
        int places = places_in_unit(f->work, unit, v);
        if (std::popcount(static_cast<unsigned>(places)) > 1) continue;
        if (places == 0) {
            int count = offs_in_unit(*f, g, unit, v, -1, parents);
            empty_conflict(f, parents, count, 3, unit, v);
            return;
        }
        int at = unit_cell[unit][std::countr_zero(static_cast<unsigned>(places))];
        int count = offs_in_unit(*f, g, unit, v, at, parents);
        derive(f, node_of(at, v, true), parents, count);
    }
}

// The ratings a chain of this level may use inside, from pointing (2.6) up to below this:
// the singles are followed anyway.
int inner_limit(int level) {
    static constexpr int below[] = {0, 63, 75, 85, 90, 95};
    return below[level];
}

// The nodes a nested technique's step rests on: what the supposition ruled out in its cells,
// and of its values in its units; for a nested chain, which may have used any of it,
// everything the supposition ruled out so far.
int pattern_parents(const follow_space& f, const candidate_grid& g, const step& s, int* parents) {
    int count = 0;
    if (technique_table[s.technique].rating >= 65) {
        for (int n = 0; n < node_total; n += 2) {
            if (reached(f, n) && (g.cand[node_cell(n)] & value_bit[node_value(n)]) != 0) {
                parents[count++] = n;
            }
        }
        return count;
    }
    auto take = [&](int cell, int values) {
        for (int w = 1; w <= 9; ++w) {
            if ((values & value_bit[w]) == 0 || (g.cand[cell] & value_bit[w]) == 0) continue;
            int off = node_of(cell, w, false);
            if (reached(f, off) && count < node_total) parents[count++] = off;
        }
    };
    for (int k = 0; k < s.cause_count; ++k) take(s.cause[k], all_values);
    if (technique_table[s.technique].find == find_fish) {
        // the base lines through the corners, where the value was ruled out
        for (int k = 0; k < s.cause_count; ++k) {
            int line = s.unit[0] == 9 ? 9 + col_of[s.cause[k]] : row_of[s.cause[k]];
            for (int i = 0; i < 9; ++i) take(unit_cell[line][i], s.values);
        }
        return count;
    }
    for (int unit : s.unit) {
        if (unit < 0 || unit >= 27) continue;
        for (int i = 0; i < 9; ++i) take(unit_cell[unit][i], s.values & all_values);
    }
    return count;
}

// Follows one supposition as far as it goes. Returns the nodes of the contradiction it meets,
// or 0.
int follow(follow_space* f, const candidate_grid& g, int start, bool one_value, int level) {
    f->work = g;
    ++f->now;
    f->head = f->tail = 0;
    f->conflict = 0;
    f->nested_count = 0;
    derive(f, start, nullptr, 0);
    static thread_local int parents[node_total];
    for (;;) {
        while (f->head < f->tail && f->conflict == 0) {
            follow_node(f, g, f->queue[f->head++], one_value);
        }
        if (f->conflict != 0 || level == 0) return f->conflict;
        if (first_step_between(f->work, &f->inner, 26, inner_limit(level)) < 0) return 0;
        const step& s = f->inner;
        int count = pattern_parents(*f, g, s, parents);
        int nested = -1;
        if (technique_table[s.technique].rating >= 65 && f->nested_count < nested_bits) {
            nested = node_total + f->nested_count;
            f->nested_nodes[f->nested_count++] = s.unit[0];
        }
        std::uint64_t rests[words]; // once for all that the step finds
        union_of(*f, parents, count, nested, rests);
        for (int i = 0; i < s.removed_count; ++i) {
            derive_on(f, node_of(s.removed_cell[i], s.removed_value[i], false), rests);
        }
        for (int i = 0; i < s.placed_count; ++i) {
            derive_on(f, node_of(s.placed_cell[i], s.placed_value[i], true), rests);
        }
    }
}

void keep(level_space* space, int side, int candidate) {
    const follow_space& f = space->f;
    std::uint16_t* row = space->reach[side][candidate];
    for (int n = 0; n < node_total; ++n) {
        int size = reached(f, n) ? size_of(f, n) : 0;
        row[n] = static_cast<std::uint16_t>(size < 65535 ? size : 65535);
    }
}

struct best_step {
    int nodes = 0;
    int conclusion = -1; // a node
    int form = 0;
    int cell = -1;
    int value = 0;
    int region = -1;
};

void consider(best_step* best, int nodes, int conclusion, int form, int cell, int value,
              int region) {
    if (best->conclusion >= 0 && nodes >= best->nodes) return;
    *best = {nodes, conclusion, form, cell, value, region};
}

// A node is news if the grid does not know it yet: a value not placed, a candidate still there.
bool news(const candidate_grid& g, int node) {
    int cell = node_cell(node);
    return (g.cand[cell] & value_bit[node_value(node)]) != 0 && g.value[cell] == 0;
}

// The conclusion that every supposition in starts (candidates) reaches, with the fewest nodes.
void common_end(const level_space& space, const candidate_grid& g, const int* starts, int count,
                int form, int region, best_step* best) {
    for (int k = 0; k < count; ++k) {
        if (space.conflict[1][starts[k]] != 0) return; // that one is a contradiction of its own
    }
    for (int n = 0; n < node_total; ++n) {
        if (!news(g, n)) continue;
        int total = 0;
        for (int k = 0; k < count && total >= 0; ++k) {
            int size = space.reach[1][starts[k]][n];
            total = size == 0 ? -1 : total + size;
        }
        if (total > 0) {
            consider(best, total, n, form, starts[0] / 9, starts[0] % 9 + 1, region);
        }
    }
}

bool dynamic_step(const candidate_grid& g, int level, bool one_value, step* s) {
    static thread_local std::unique_ptr<level_space> spaces[6];
    if (!spaces[level]) spaces[level] = std::make_unique<level_space>();
    level_space& space = *spaces[level];
    best_step best;
    for (int cell = 0; cell < 81; ++cell) {
        if (stop_flag != 0) return false; // a supposition at a deep level takes a while
        for (int v = 1; v <= 9; ++v) {
            if ((g.cand[cell] & value_bit[v]) == 0) continue;
            int candidate = cell * 9 + v - 1;
            for (int side = 1; side >= (one_value ? 1 : 0); --side) {
                int nodes = follow(&space.f, g, node_of(cell, v, side == 1), one_value, level);
                space.conflict[side][candidate] = nodes;
                if (nodes != 0) {
                    consider(&best, nodes, node_of(cell, v, side == 0),
                             side == 1 ? on_fails : off_fails, cell, v, -1);
                } else if (!one_value) {
                    keep(&space, side, candidate);
                }
            }
            if (one_value || space.conflict[0][candidate] != 0 ||
                space.conflict[1][candidate] != 0) {
                continue;
            }
            for (int n = 0; n < node_total; ++n) {
                int on = space.reach[1][candidate][n];
                int off = space.reach[0][candidate][n];
                if (on != 0 && off != 0 && news(g, n)) {
                    consider(&best, on + off, n, both_ways, cell, v, -1);
                }
            }
        }
    }
    if (!one_value) {
        int starts[9];
        for (int cell = 0; cell < 81; ++cell) {
            int count = 0;
            for (int v = 1; v <= 9; ++v) {
                if ((g.cand[cell] & value_bit[v]) != 0) starts[count++] = cell * 9 + v - 1;
            }
            if (count >= 2) common_end(space, g, starts, count, every_value, -1, &best);
        }
        for (int unit = 0; unit < 27; ++unit) {
            for (int v = 1; v <= 9; ++v) {
                int places = places_in_unit(g, unit, v);
                int count = 0;
                for (int i = 0; i < 9; ++i) {
                    if ((places >> i & 1) != 0) starts[count++] = unit_cell[unit][i] * 9 + v - 1;
                }
                if (count >= 2) common_end(space, g, starts, count, every_place, unit, &best);
            }
        }
    }
    if (best.conclusion < 0) return false;
    clear_step(s, s->technique);
    int cell = node_cell(best.conclusion);
    int v = node_value(best.conclusion);
    if (node_on(best.conclusion)) {
        add_placement(s, cell, v);
    } else {
        add_removal(s, g, cell, v);
    }
    s->rating = technique_table[s->technique].rating + length_term(best.nodes);
    s->form = best.form;
    s->unit[0] = best.nodes;
    s->unit[1] = best.region;
    s->values = value_bit[v] | value_bit[best.value] << 9;
    add_cause(s, best.cell);
    if (best.form == on_fails || best.form == off_fails) {
        // followed once more, to say where the contradiction shows
        follow(&space.f, g, node_of(best.cell, best.value, best.form == on_fails), one_value,
               level);
        for (int k = 0; k < 3; ++k) s->clash[k] = space.f.clash[k];
    }
    return true;
}

} // namespace

bool find_nishio(const candidate_grid& g, int, step* s) {
    return dynamic_step(g, 0, true, s);
}

bool find_dynamic_chain(const candidate_grid& g, int level, step* s) {
    return dynamic_step(g, level, false, s);
}
