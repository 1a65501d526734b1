// Forcing chains: suppose a candidate true and follow what must follow, alternately "then
// not" (a placed value rules out its peers and the cell's other values) and "then" (the other
// end of a strong link: the other value of a bivalue cell, the other place of a value with two
// places in a unit). A supposition that leads to its own denial is false: the candidate goes;
// one whose denial leads to itself is true: it is placed. The X form follows one value only.
// Each chain is found by a search in breadth, so it is as short as it can be; among all the
// chains found the one with the lowest rating, then the fewest nodes, is the step. The same
// links make the bidirectional cycles at the end of this file, and the cell and region chains.
#include "logic/chain_nodes.h"
#include "logic/techniques.h"

#include <bit>
#include <utility>

namespace {

// The nodes that follow from a node: from "cell is v", "not v" in its peers and, unless one
// value is followed, "not w" for its other values; from "cell is not v", "is v" at the other
// end of each strong link: the other place of v in a unit where v has two, and, unless one
// value is followed, the other value of a bivalue cell. The links of a y-cycle (pairs) join
// bivalue cells only: "not v" in a bivalue peer, and from there the cell's other value.
// Returns their number.
// What the links need to know of a grid, counted once per search: each value's places in
// each unit, and which cells hold two candidates.
struct link_view {
    const candidate_grid& g;
    int places[27][10];
    int place_count[27][10];
    bool two[81];
    explicit link_view(const candidate_grid& candidates) : g(candidates) {
        for (int unit = 0; unit < 27; ++unit) {
            for (int v = 1; v <= 9; ++v) {
                places[unit][v] = places_in_unit(g, unit, v);
                place_count[unit][v] = std::popcount(static_cast<unsigned>(places[unit][v]));
            }
        }
        for (int cell = 0; cell < 81; ++cell) {
            two[cell] = std::popcount(static_cast<unsigned>(g.cand[cell])) == 2;
        }
    }
};

int links_from(const link_view& view, int at, int kind, int* next) {
    const candidate_grid& g = view.g;
    int cell = at / 18;
    int v = at / 2 % 9 + 1;
    int count = 0;
    if ((at & 1) != 0) {
        int peer_list[21]; // the cell itself among them
        int peer_count = cells_in(peer_cells[cell], peer_list);
        for (int k = 0; k < peer_count; ++k) {
            int peer = peer_list[k];
            if (peer == cell || (g.cand[peer] & value_bit[v]) == 0) continue;
            if (kind != pairs || view.two[peer]) next[count++] = node_of(peer, v, false);
        }
        if (kind == both_kinds) {
            for (int w = 1; w <= 9; ++w) {
                if (w != v && (g.cand[cell] & value_bit[w]) != 0) {
                    next[count++] = node_of(cell, w, false);
                }
            }
        }
        return count;
    }
    if (kind != one_value && view.two[cell]) {
        int other = g.cand[cell] & ~value_bit[v];
        next[count++] = node_of(cell, std::countr_zero(static_cast<unsigned>(other)) + 1, true);
    }
    if (kind == pairs) return count;
    int units[3] = {row_of[cell], 9 + col_of[cell], 18 + box_of[cell]};
    for (int unit : units) {
        if (view.place_count[unit][v] != 2) continue;
        int places = view.places[unit][v];
        for (int i = 0; i < 9; ++i) {
            if ((places >> i & 1) != 0 && unit_cell[unit][i] != cell) {
                next[count++] = node_of(unit_cell[unit][i], v, true);
            }
        }
    }
    return count;
}

// The number of nodes of the shortest chain from start to target, source and target
// included, or 0 when there is none. The search uses the caller's arrays.
int shortest_chain(const link_view& view, int start, int target, int kind, int* seen, int* queue,
                   int stamp, int* parent) {
    int head = 0;
    int tail = 0;
    queue[tail++] = start;
    seen[start] = stamp;
    parent[start] = -1;
    while (head < tail) {
        int at = queue[head++];
        int next[40];
        int count = links_from(view, at, kind, next);
        for (int k = 0; k < count; ++k) {
            int to = next[k];
            if (seen[to] == stamp) continue;
            seen[to] = stamp;
            parent[to] = at;
            if (to == target) {
                int nodes = 1;
                for (int back = to; parent[back] >= 0; back = parent[back]) ++nodes;
                return nodes;
            }
            queue[tail++] = to;
        }
    }
    return 0;
}

} // namespace

bool find_forcing_chain(const candidate_grid& g, int x_only, step* s) {
    const link_view view(g);
    int base = x_only != 0 ? 66 : 70;
    int seen[node_total] = {};
    int queue[node_total];
    int parent[node_total];
    int stamp = 0;
    int best_rating = 0;
    int best_nodes = 0;
    int best_cell = -1;
    int best_value = 0;
    bool best_places = false;
    int best_path[node_total];
    int best_length = 0;
    for (int cell = 0; cell < 81; ++cell) {
        if (g.value[cell] != 0) continue;
        for (int v = 1; v <= 9; ++v) {
            if ((g.cand[cell] & value_bit[v]) == 0) continue;
            // true leads to false: v goes; false leads to true: v is placed
            for (int places = 0; places < 2; ++places) {
                int from = node_of(cell, v, places == 0);
                int to = node_of(cell, v, places != 0);
                int nodes = shortest_chain(view, from, to, x_only != 0 ? one_value : both_kinds,
                                           seen, queue, ++stamp, parent);
                if (nodes == 0) continue;
                int rating = base + length_term(nodes);
                if (best_cell >= 0 &&
                    (rating > best_rating || (rating == best_rating && nodes >= best_nodes))) {
                    continue;
                }
                best_rating = rating;
                best_nodes = nodes;
                best_cell = cell;
                best_value = v;
                best_places = places != 0;
                best_length = 0;
                for (int back = to; back >= 0; back = parent[back]) {
                    best_path[best_length++] = back;
                }
            }
        }
    }
    if (best_cell < 0) return false;
    clear_step(s, s->technique);
    if (best_places) {
        add_placement(s, best_cell, best_value);
    } else {
        add_removal(s, g, best_cell, best_value);
    }
    s->rating = best_rating;
    s->values = value_bit[best_value];
    s->unit[0] = best_nodes;
    // the chain's cells from its start, each once, as many as the step can name
    for (int k = best_length - 1; k >= 0; --k) {
        int cell = best_path[k] / 18;
        bool named = false;
        for (int i = 0; i < s->cause_count; ++i) named |= s->cause[i] == cell;
        if (!named) add_cause(s, cell);
    }
    return true;
}

namespace {

// Every node reached from start by the chains' links, with the nodes of the shortest chain to
// it (source and target included) in nodes_to, 0 where unreached.
void reach_from(const link_view& view, int start, int* nodes_to, int* queue) {
    for (int i = 0; i < node_total; ++i) nodes_to[i] = 0;
    int head = 0;
    int tail = 0;
    queue[tail++] = start;
    nodes_to[start] = 1;
    while (head < tail) {
        int at = queue[head++];
        int next[40];
        int count = links_from(view, at, both_kinds, next);
        for (int k = 0; k < count; ++k) {
            if (nodes_to[next[k]] != 0) continue;
            nodes_to[next[k]] = nodes_to[at] + 1;
            queue[tail++] = next[k];
        }
    }
}

struct branches {
    int nodes_to[9][node_total];
    int total[node_total]; // nodes of all branches to a node, 0 where a branch misses it
    int queue[node_total];
};

// Follows each supposition in starts; a conclusion every one of them reaches holds. Keeps
// the one with the fewest nodes in all, if it beats best_nodes.
bool common_conclusion(const link_view& view, const int* starts, int count, branches* b,
                       int* best_nodes, int* best_node) {
    const candidate_grid& g = view.g;
    for (int k = 0; k < count; ++k) reach_from(view, starts[k], b->nodes_to[k], b->queue);
    bool found = false;
    for (int n = 0; n < node_total; ++n) {
        int cell = n / 18;
        int v = n / 2 % 9 + 1;
        if ((g.cand[cell] & value_bit[v]) == 0) continue;
        bool on = (n & 1) != 0;
        // "cell is v" is news only where v is not placed yet; "cell is not v", where v stands
        if (on && g.value[cell] != 0) continue;
        int total = 0;
        for (int k = 0; k < count && total >= 0; ++k) {
            total = b->nodes_to[k][n] == 0 ? -1 : total + b->nodes_to[k][n];
        }
        if (total <= 0 || (*best_nodes != 0 && total >= *best_nodes)) continue;
        *best_nodes = total;
        *best_node = n;
        found = true;
    }
    return found;
}

} // namespace

bool find_cell_region_chain(const candidate_grid& g, int, step* s) {
    const link_view view(g);
    static thread_local branches b;
    int best_nodes = 0;
    int best_node = -1;
    int best_cause = -1;
    int best_unit = -1; // the region whose places were followed; -1: a cell's values
    int best_value = 0;
    int starts[9];
    for (int cell = 0; cell < 81; ++cell) {
        if (g.value[cell] != 0) continue;
        int count = 0;
        for (int v = 1; v <= 9; ++v) {
            if ((g.cand[cell] & value_bit[v]) != 0) starts[count++] = node_of(cell, v, true);
        }
        if (count >= 2 && common_conclusion(view, starts, count, &b, &best_nodes, &best_node)) {
            best_cause = cell;
            best_unit = -1;
        }
    }
    for (int unit = 0; unit < 27; ++unit) {
        for (int v = 1; v <= 9; ++v) {
            int places = places_in_unit(g, unit, v);
            int count = 0;
            for (int i = 0; i < 9; ++i) {
                if ((places >> i & 1) != 0) starts[count++] = node_of(unit_cell[unit][i], v, true);
            }
            if (count >= 2 && common_conclusion(view, starts, count, &b, &best_nodes, &best_node)) {
                best_cause = unit_cell[unit][std::countr_zero(static_cast<unsigned>(places))];
                best_unit = unit;
                best_value = v;
            }
        }
    }
    if (best_node < 0) return false;
    clear_step(s, s->technique);
    int cell = best_node / 18;
    int v = best_node / 2 % 9 + 1;
    if ((best_node & 1) != 0) {
        add_placement(s, cell, v);
    } else {
        add_removal(s, g, cell, v);
    }
    s->rating = 80 + length_term(best_nodes);
    s->values = value_bit[v];
    s->unit[0] = best_nodes;
    s->unit[1] = best_unit;
    if (best_unit >= 0) s->values |= value_bit[best_value] << 9; // the region's value, apart
    add_cause(s, best_cause);
    return true;
}

namespace {

// A loop whose links alternate strong and weak closes on itself: whichever way round it is
// read, each weak link holds as a strong one, so one of its two ends is true. A value joined
// across two cells goes from every cell that sees both; two values joined in one cell leave
// it no other value. path holds the loop's nodes from an "is" node; the removals go to s.
void cycle_removals(const candidate_grid& g, const int* path, int length, step* s) {
    for (int i = 0; i < length; i += 2) {
        int a = node_cell(path[i]);
        int b = node_cell(path[i + 1]);
        int v = node_value(path[i]);
        int w = node_value(path[i + 1]);
        if (a == b) {
            for (int x = 1; x <= 9; ++x) {
                if (x != v && x != w) add_removal(s, g, a, x);
            }
            continue;
        }
        for (int cell = 0; cell < 81; ++cell) {
            if (cell != a && cell != b && sees(cell, a) && sees(cell, b))
                add_removal(s, g, cell, v);
        }
    }
}

// True when no candidate is in the loop twice.
bool simple_loop(const int* path, int length) {
    for (int i = 0; i < length; ++i) {
        for (int j = i + 1; j < length; ++j) {
            if (path[i] >> 1 == path[j] >> 1) return false;
        }
    }
    return true;
}

} // namespace

bool find_cycle(const candidate_grid& g, int kind, step* s) {
    const link_view view(g);
    int base = kind == both_kinds ? 70 : 65;
    int seen[node_total] = {};
    int queue[node_total];
    int parent[node_total];
    int depth[node_total];
    int stamp = 0;
    int path[node_total];
    int best_path[node_total];
    int best_length = 0;
    int best_rating = 0;
    for (int cell = 0; cell < 81; ++cell) {
        if (g.value[cell] != 0 || (kind == pairs && !view.two[cell])) continue;
        for (int v = 1; v <= 9; ++v) {
            if ((g.cand[cell] & value_bit[v]) == 0) continue;
            // the shortest loop back to "cell is v" that removes something: a chain from it
            // to the far end of one of its strong links, denied, closes through that link;
            // the first step straight to that end is no loop
            int start = node_of(cell, v, true);
            int ends[40];
            int end_count = links_from(view, start ^ 1, kind, ends);
            for (int k = 0; k < end_count; ++k) ends[k] ^= 1;
            int head = 0;
            int tail = 0;
            queue[tail++] = start;
            seen[start] = ++stamp;
            parent[start] = -1;
            depth[start] = 1;
            bool closed = false;
            while (head < tail && !closed) {
                int at = queue[head++];
                // a longer loop than the best one found cannot beat it
                if (best_length > 0 && depth[at] >= best_length) break;
                int next[40];
                int count = links_from(view, at, kind, next);
                for (int k = 0; k < count && !closed; ++k) {
                    int to = next[k];
                    bool end = false;
                    for (int e = 0; e < end_count; ++e) end |= ends[e] == to;
                    if (seen[to] == stamp || (end && at == start)) continue;
                    seen[to] = stamp;
                    parent[to] = at;
                    depth[to] = depth[at] + 1;
                    queue[tail++] = to;
                    if (!end) continue;
                    int length = 0;
                    for (int back = to; back >= 0; back = parent[back]) path[length++] = back;
                    for (int i = 0; i < length / 2; ++i) std::swap(path[i], path[length - 1 - i]);
                    if (!simple_loop(path, length)) continue;
                    clear_step(s, s->technique);
                    cycle_removals(g, path, length, s);
                    if (s->removed_count == 0) continue;
                    closed = true;
                    int rating = base + length_term(length);
                    if (best_length > 0 && (rating > best_rating ||
                                            (rating == best_rating && length >= best_length))) {
                        continue;
                    }
                    best_rating = rating;
                    best_length = length;
                    for (int i = 0; i < length; ++i) best_path[i] = path[i];
                }
            }
        }
    }
    clear_step(s, s->technique);
    if (best_length == 0) return false;
    cycle_removals(g, best_path, best_length, s);
    s->rating = best_rating;
    s->unit[0] = best_length;
    for (int i = 0; i < best_length; ++i) {
        int cell = node_cell(best_path[i]);
        bool named = false;
        for (int k = 0; k < s->cause_count; ++k) named |= s->cause[k] == cell;
        if (!named) add_cause(s, cell);
    }
    s->values = 0;
    for (int i = 0; i < best_length; ++i) s->values |= value_bit[node_value(best_path[i])];
    return true;
}
