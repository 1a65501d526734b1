// Chains that follow a supposition through a copy of the grid. A supposition ("r1c1 is 5", or
// "is not 5") is followed node by node, every node on before the next node off; in a dynamic
// chain each node off is struck from the copy as it is taken, so later links may rest on it,
// and a node reached that way counts those strikes among its parents. A propagation ends when
// nothing follows, or at the first contradiction: a node reached whose opposite it reached too.
//
// For each cell and value: a contradiction makes the supposition false (on: the value goes;
// off: it is placed); what a value and its denial both lead to holds (a double chain); what
// every value of a cell, or every place of a value in a region, leads to holds (cell and
// region chains). Nishio follows one value alone; the multiple chains are static and take no
// contradiction. Nested chains, when the singles run dry inside a supposition, try simpler
// techniques there and strike what they remove, each strike resting on what the supposition
// had struck that the technique needed.
//
// A chain's nodes are those its conclusion rests on, counted through every parent; the lowest
// rating wins, then the fewest nodes, then the kind, then the first found.
#include "logic/chain_space.h"
#include "logic/scale.h"
#include "logic/techniques.h"

#include <algorithm>

namespace {

enum class chain_family { nishio, multiple, dynamic };

struct chain_mode {
    chain_family family;
    int level; // nesting, for dynamic chains
    bool dynamic() const { return family != chain_family::multiple; }
    bool cell_rules() const { return family != chain_family::nishio; }
};

// Where a conclusion rests: a node in one propagation, or the opposite of the node a
// contradiction met, which was reached but never stored.
struct target {
    const propagation* branch;
    int node;
    bool clash;
};

struct dynamic_hint {
    chain_rank rank;
    step s;
    target targets[10];
    int target_count;
    int start_region; // region chains: the region whose places were supposed; -1 none
    bool cell_starts; // cell chains: each branch starts from a value of the cell
};

class dynamic_hint_sink {
  public:
    virtual bool wants(const chain_rank& rank) = 0;
    virtual void take(const dynamic_hint& hint) = 0;

  protected:
    ~dynamic_hint_sink() = default;
};

void search_dynamic(const candidate_grid& g, chain_space& space, int depth, chain_mode mode,
                    dynamic_hint_sink& sink);

// --- propagation -----------------------------------------------------------------------

void start_propagation(propagation& p) {
    ++p.stamp;
    p.count = 0;
    p.parents_used = 0;
    p.contradiction = false;
    p.nested_count = 0;
}

void add_parent(propagation& p, int parent) {
    if (p.parents_used < max_parents) p.parents[p.parents_used++] = parent;
}

// Stores a node whose parents were added just before, from first on.
void store_node(propagation& p, int node, int first, int how, int nested) {
    p.seen[node] = p.stamp;
    p.order[p.count++] = node;
    p.first_parent[node] = first;
    p.parent_count[node] = p.parents_used - first;
    p.how[node] = how;
    p.nested[node] = nested;
}

// The parents, beside the node it came from, of a node on reached by a rule in a dynamic chain:
// the nodes off that struck the candidates the rule needed gone.
// Records the contradiction met: q reached while its opposite is stored, by way of the parents
// given (the first 32 of them).
void note_clash(propagation& p, int q, const int* parents, int count) {
    p.contradiction = true;
    p.clash_stored = q ^ 1;
    p.clash_node = q;
    p.clash_parent_count = std::min(count, 32);
    for (int i = 0; i < p.clash_parent_count; ++i) p.clash_parents[i] = parents[i];
}

void add_struck_parents(propagation& p, const int* snapshot, const int* now, int on_node, int how) {
    int cell = node_cell(on_node);
    int v = node_value(on_node);
    if (how == by_cell) {
        for (int bits = snapshot[cell] & ~now[cell]; bits != 0; bits &= bits - 1) {
            int struck = node_of(cell, value_of_bit(bits & -bits), false);
            if (p.has(struck)) add_parent(p, struck);
        }
    } else {
        for (int other : unit_cell[how]) {
            if ((snapshot[other] & ~now[other] & value_bit[v]) == 0) continue;
            int struck = node_of(other, v, false);
            if (p.has(struck)) add_parent(p, struck);
        }
    }
}

bool add_nested_nodes(chain_space& space, int depth, propagation& p, chain_mode mode, int* queue,
                      int& tail);

// Strikes the candidate of a node off from the room's work grid and its places.
void strike(dynamic_room& room, int node) {
    remove_candidate(room.work, node_cell(node), node_value(node));
}

// Follows the supposition start on the grid g; the room's work grid is g again afterwards.
void propagate(chain_space& space, int depth, propagation& p, const candidate_grid& g, int start,
               chain_mode mode) {
    dynamic_room& room = space.dynamics[depth];
    start_propagation(p);
    room.work = g;
    std::copy(g.cand, g.cand + 81, room.snapshot);
    int* now = room.work.cand;
    const int* snapshot = room.snapshot;
    int head_on = 0;
    int tail_on = 0;
    int head_off = 0;
    int tail_off = 0;
    store_node(p, start, p.parents_used, by_start, -1);
    (node_on(start) ? room.queue_on[tail_on++] : room.queue_off[tail_off++]) = start;
    int links[32];
    int hows[32];
    for (;;) {
        if (head_on < tail_on) {
            int from = room.queue_on[head_on++];
            int n = links_from_on(room.work, from, mode.cell_rules(), true, links);
            for (int k = 0; k < n; ++k) {
                int q = links[k];
                if (p.has(q ^ 1)) {
                    note_clash(p, q, &from, 1);
                    room.work = g;
                    return;
                }
                if (p.has(q)) continue;
                int first = p.parents_used;
                add_parent(p, from);
                store_node(p, q, first, by_start, -1);
                room.queue_off[tail_off++] = q;
            }
        } else if (head_off < tail_off) {
            int from = room.queue_off[head_off++];
            int n = links_from_off(room.work, from, mode.cell_rules(), true, links, hows);
            int first_parent[32];
            int parent_count[32];
            for (int k = 0; k < n; ++k) {
                // parents go in the pool now, while the candidate of from is still there
                first_parent[k] = p.parents_used;
                add_parent(p, from);
                if (mode.dynamic()) add_struck_parents(p, snapshot, now, links[k], hows[k]);
                parent_count[k] = p.parents_used - first_parent[k];
            }
            if (mode.dynamic()) strike(room, from);
            for (int k = 0; k < n; ++k) {
                int q = links[k];
                if (p.has(q ^ 1)) {
                    note_clash(p, q, p.parents + first_parent[k], parent_count[k]);
                    room.work = g;
                    return;
                }
                if (p.has(q)) continue;
                p.seen[q] = p.stamp;
                p.order[p.count++] = q;
                p.first_parent[q] = first_parent[k];
                p.parent_count[q] = parent_count[k];
                p.how[q] = hows[k];
                p.nested[q] = -1;
                room.queue_on[tail_on++] = q;
            }
        } else if (mode.level < 1 || cut_short(space) ||
                   !add_nested_nodes(space, depth, p, mode, room.queue_off, tail_off)) {
            break;
        }
    }
    room.work = g;
}

// --- counting the nodes a conclusion rests on --------------------------------------------

// The number of distinct nodes among target and its ancestors; the nested chain steps met on
// the way go into nested (identities, one each) and their nodes into nested_nodes.
int ancestry(dynamic_room& room, const target& t, std::uint64_t* nested, int* nested_nodes,
             int& nested_count) {
    const propagation& p = *t.branch;
    ++room.visit_stamp;
    int stack[node_total];
    int top = 0;
    int count = 1;
    room.visit[t.node] = room.visit_stamp;
    auto push = [&](int node) {
        if (room.visit[node] == room.visit_stamp) return;
        room.visit[node] = room.visit_stamp;
        stack[top++] = node;
        ++count;
    };
    if (t.clash) {
        for (int i = 0; i < p.clash_parent_count; ++i) push(p.clash_parents[i]);
    } else {
        stack[top++] = t.node;
    }
    while (top > 0) {
        int node = stack[--top];
        if (p.nested[node] >= 0) {
            int k = p.nested[node];
            bool listed = false;
            for (int i = 0; i < nested_count; ++i) listed |= nested[i] == p.nested_identity[k];
            if (!listed && nested_count < max_nested_references) {
                nested[nested_count] = p.nested_identity[k];
                nested_nodes[nested_count++] = p.nested_nodes[k];
            }
        }
        for (int i = 0; i < p.parent_count[node]; ++i) push(p.parents[p.first_parent[node] + i]);
    }
    return count;
}

int count_nodes(dynamic_room& room, const target* targets, int n) {
    std::uint64_t nested[max_nested_references];
    int nested_nodes[max_nested_references];
    int nested_count = 0;
    int total = 0;
    for (int i = 0; i < n; ++i)
        total += ancestry(room, targets[i], nested, nested_nodes, nested_count);
    for (int i = 0; i < nested_count; ++i) total += nested_nodes[i];
    return total;
}

// --- the per-cell search ----------------------------------------------------------------

technique technique_of(chain_mode mode, int kind) {
    if (mode.family == chain_family::nishio) return technique::nishio;
    if (mode.family == chain_family::multiple) {
        return kind == cell_kind ? technique::cell_forcing_chain : technique::region_forcing_chain;
    }
    switch (kind) {
    case contradiction_kind:
        return technique::contradiction_chain;
    case double_kind:
        return technique::double_chain;
    case cell_kind:
        return technique::dynamic_cell_chain;
    default:
        return technique::dynamic_region_chain;
    }
}

double base_of(chain_mode mode) {
    if (mode.family == chain_family::nishio) return base_rating(technique::nishio);
    if (mode.family == chain_family::multiple) return base_rating(technique::cell_forcing_chain);
    return scale.nesting[mode.level].tenths / 10.0;
}

struct cell_search {
    const candidate_grid& g;
    dynamic_room& room;
    chain_mode mode;
    dynamic_hint_sink& sink;
};

// Hands on a step that concludes node (placing it when on, removing it when off), resting on
// the targets, if it removes anything.
void conclude(cell_search& c, int kind, int node, const target* targets, int n,
              const dynamic_shape& shape, int start_region, bool cell_starts) {
    int cell = node_cell(node);
    int v = node_value(node);
    candidate_set removed;
    if (node_on(node)) {
        for (int bits = c.g.cand[cell] & ~value_bit[v]; bits != 0; bits &= bits - 1) {
            removed.add(cell, value_of_bit(bits & -bits));
        }
    } else if ((c.g.cand[cell] & value_bit[v]) != 0) {
        removed.add(cell, v);
    }
    if (removed.empty()) return;
    dynamic_hint hint;
    hint.target_count = n;
    for (int i = 0; i < n; ++i) hint.targets[i] = targets[i];
    int nodes = count_nodes(c.room, targets, n);
    hint.rank = {base_of(c.mode) + length_term(nodes), nodes, kind};
    if (!c.sink.wants(hint.rank)) return;
    technique id = technique_of(c.mode, kind);
    dynamic_shape full = shape;
    full.nodes = nodes;
    full.level = c.mode.family == chain_family::dynamic ? c.mode.level : 0;
    full.nishio = c.mode.family == chain_family::nishio;
    hint.s = node_on(node) ? placement_step(id, hint.rank.rating, cell, v, full)
                           : removal_step(id, hint.rank.rating, full);
    hint.s.removed = removed;
    hint.start_region = start_region;
    hint.cell_starts = cell_starts;
    c.sink.take(hint);
}

void contradiction(cell_search& c, const propagation& p, int cell, int v, bool on) {
    target targets[2] = {{&p, p.clash_stored, false}, {&p, p.clash_node, true}};
    dynamic_shape shape{
        cell, v, on, -1, 0, false, 0, node_cell(p.clash_stored), node_value(p.clash_stored)};
    conclude(c, contradiction_kind, node_of(cell, v, !on), targets, 2, shape, -1, false);
}

// What every branch reaches, in the first branch's order: nodes on (placed), then nodes off.
void common_ends(cell_search& c, int kind, const propagation* const* branches, int n,
                 const dynamic_shape& shape, int start_region, bool cell_starts) {
    const propagation& first = *branches[0];
    for (bool on : {true, false}) {
        for (int i = 0; i < first.count; ++i) {
            int node = first.order[i];
            if (node_on(node) != on) continue;
            bool everywhere = true;
            for (int b = 1; b < n && everywhere; ++b) everywhere = branches[b]->has(node);
            if (!everywhere) continue;
            target targets[10];
            for (int b = 0; b < n; ++b) targets[b] = {branches[b], node, false};
            conclude(c, kind, node, targets, n, shape, start_region, cell_starts);
        }
    }
}

void search_cell(cell_search& c, chain_space& space, int depth, int cell) {
    const candidate_grid& g = c.g;
    dynamic_room& room = c.room;
    bool nishio = c.mode.family == chain_family::nishio;
    bool multiple = c.mode.family == chain_family::multiple;
    int values = g.cand[cell];
    int n = count_of(values);
    int i = 0;
    for (int bits = values; bits != 0; bits &= bits - 1, ++i) {
        int v = value_of_bit(bits & -bits);
        propagation& on = room.on_branch[i];
        propagate(space, depth, on, g, node_of(cell, v, true), c.mode);
        if (!multiple && on.contradiction) contradiction(c, on, cell, v, true);
        if (!multiple) {
            propagation& off = room.off_branch;
            propagate(space, depth, off, g, node_of(cell, v, false), c.mode);
            if (off.contradiction) contradiction(c, off, cell, v, false);
            if (!nishio && n >= 3) {
                const propagation* both[2] = {&on, &off};
                dynamic_shape shape{cell, v, true, -1, 0, false, 0, -1, 0};
                common_ends(c, double_kind, both, 2, shape, -1, false);
            }
        }
        if (nishio) continue;
        for (int kind : kinds_brc) {
            int unit = unit_of(kind, cell);
            int places = places_in(g, unit, v);
            if (count_of(places) < 2 ||
                unit_cell[unit][std::countr_zero(static_cast<unsigned>(places))] != cell) {
                continue;
            }
            const propagation* branches[9] = {&on};
            int count = 1;
            for (int k = 0; k < 9; ++k) {
                int other = unit_cell[unit][k];
                if ((places >> k & 1) == 0 || other == cell) continue;
                propagation& branch = room.region_branch[count - 1];
                propagate(space, depth, branch, g, node_of(other, v, true), c.mode);
                branches[count++] = &branch;
            }
            dynamic_shape shape{cell, v, true, unit, 0, false, 0, -1, 0};
            common_ends(c, region_kind, branches, count, shape, unit, false);
        }
    }
    if (nishio) return;
    const propagation* branches[9];
    for (int k = 0; k < n; ++k) branches[k] = &room.on_branch[k];
    dynamic_shape shape{cell, 0, true, -1, 0, false, 0, -1, 0};
    common_ends(c, cell_kind, branches, n, shape, -1, true);
}

void search_dynamic(const candidate_grid& g, chain_space& space, int depth, chain_mode mode,
                    dynamic_hint_sink& sink) {
    cell_search c{g, space.dynamics[depth], mode, sink};
    int fewest = mode.family == chain_family::multiple ? 3 : 2;
    for (int cell = 0; cell < 81; ++cell) {
        if (count_of(g.cand[cell]) < fewest) continue;
        if (depth == 0 && cut_short(space)) return;
        search_cell(c, space, depth, cell);
    }
}

// --- nesting ------------------------------------------------------------------------------

// The candidates a step of a simpler technique needs gone, of those the supposition struck:
// present before it, absent now.
candidate_set premises_of(const step& s, const int* before, const int* now) {
    candidate_set premises;
    auto add_struck = [&](int cell, int v) {
        if ((before[cell] & ~now[cell] & value_bit[v]) != 0) premises.add(cell, v);
    };
    if (const auto* shape = std::get_if<intersection_shape>(&s.shape)) {
        for (int cell : unit_cell[shape->from]) {
            if (unit_of(kind_of(shape->to), cell) != shape->to) add_struck(cell, shape->v);
        }
    } else if (const auto* fish = std::get_if<fish_shape>(&s.shape)) {
        int base_kind = fish->columns ? column_unit : row_unit;
        for (int line = 0; line < 9; ++line) {
            if ((fish->base >> line & 1) == 0) continue;
            for (int i = 0; i < 9; ++i) {
                if ((fish->cover >> i & 1) == 0)
                    add_struck(unit_cell[base_kind + line][i], fish->v);
            }
        }
    } else if (const auto* set = std::get_if<subset_shape>(&s.shape)) {
        bool hidden = s.id == technique::hidden_pair;
        for (int i = 0; i < 9; ++i) {
            int cell = unit_cell[set->unit][i];
            bool in_set = (set->positions >> i & 1) != 0;
            if (hidden == in_set) continue;
            int values = hidden ? set->values : all_values & ~set->values;
            for (int bits = values; bits != 0; bits &= bits - 1) {
                add_struck(cell, value_of_bit(bits & -bits));
            }
        }
    }
    return premises;
}

// The premises of a chain: what its nodes on needed struck. A node reached by the cell rule
// needs its cell's other values gone; by the region rule, its value's other places there.
void add_chain_premises(candidate_set& premises, const int* before, const int* now, int node,
                        int how) {
    int cell = node_cell(node);
    int v = node_value(node);
    if (how == by_cell) {
        for (int bits = before[cell] & ~now[cell]; bits != 0; bits &= bits - 1) {
            premises.add(cell, value_of_bit(bits & -bits));
        }
    } else if (how >= 0 && how < 27) {
        for (int other : unit_cell[how]) {
            if ((before[other] & ~now[other] & value_bit[v]) != 0) premises.add(other, v);
        }
    }
}

std::uint64_t mix(std::uint64_t x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ULL;
    return x ^ (x >> 33);
}

// Collects every step of a simpler technique that rests on the supposition.
class rule_collector : public step_sink {
  public:
    rule_collector(dynamic_room& room, const int* before, const int* now)
        : room_(room), before_(before), now_(now) {}
    bool take(const step& s) override {
        candidate_set premises = premises_of(s, before_, now_);
        if (premises.empty() || room_.nested_count >= max_nested_steps) return true;
        nested_step& n = room_.nested_steps[room_.nested_count++];
        n.removed = s.removed;
        n.premises = premises;
        n.chain = false;
        n.identity = 0;
        n.nodes = 0;
        return true;
    }

  private:
    dynamic_room& room_;
    const int* before_;
    const int* now_;
};

// Collects every static chain step, for the nested chains of level 2 and up.
class static_collector : public static_hint_sink {
  public:
    explicit static_collector(dynamic_room& room) : room_(room) {}
    bool wants(const chain_rank&) override { return true; }
    void take(const chain_rank& rank, const step& s, const int* nodes, const int* hows,
              int length) override {
        if (room_.nested_count >= max_nested_steps) return;
        nested_step& n = room_.nested_steps[room_.nested_count++];
        n.rank = rank;
        n.removed = s.removed;
        n.premises = candidate_set{};
        for (int i = 0; i < length; ++i) {
            if (node_on(nodes[i]) && hows[i] != by_start) {
                add_chain_premises(n.premises, room_.snapshot, room_.work.cand, nodes[i], hows[i]);
            }
        }
        n.chain = true;
        n.nodes = length;
        std::uint64_t identity = mix(static_cast<std::uint64_t>(nodes[length - 1]) + 1);
        for (int i = 0; i < length; ++i)
            identity += mix(static_cast<std::uint64_t>(nodes[i]) * 7919 + 13);
        n.identity = identity;
    }

  private:
    dynamic_room& room_;
};

// Collects every dynamic chain step found a level deeper, with what it rests on here.
class dynamic_collector : public dynamic_hint_sink {
  public:
    dynamic_collector(dynamic_room& outer, dynamic_room& inner) : outer_(outer), inner_(inner) {}
    bool wants(const chain_rank&) override { return true; }
    void take(const dynamic_hint& hint) override {
        if (outer_.nested_count >= max_nested_steps) return;
        nested_step& n = outer_.nested_steps[outer_.nested_count++];
        n.rank = hint.rank;
        n.removed = hint.s.removed;
        n.premises = candidate_set{};
        n.chain = true;
        n.nodes = hint.rank.nodes;
        std::uint64_t identity = 0;
        for (int t = 0; t < hint.target_count; ++t) {
            const target& tg = hint.targets[t];
            const propagation& p = *tg.branch;
            // the target's ancestors, walked as the count walks them
            ++inner_.visit_stamp;
            int stack[node_total + 1];
            int top = 0;
            std::uint64_t part = mix(static_cast<std::uint64_t>(tg.node) + 1 + 1000 * t);
            auto visit = [&](int node) {
                if (inner_.visit[node] == inner_.visit_stamp) return;
                inner_.visit[node] = inner_.visit_stamp;
                stack[top++] = node;
            };
            if (tg.clash) {
                for (int i = 0; i < p.clash_parent_count; ++i) visit(p.clash_parents[i]);
            } else {
                visit(tg.node);
            }
            while (top > 0) {
                int node = stack[--top];
                part += mix(static_cast<std::uint64_t>(node) * 7919 + 13);
                if (node_on(node)) {
                    int how = p.how[node];
                    if (how == by_start) {
                        if (hint.cell_starts)
                            how = by_cell;
                        else if (hint.start_region >= 0)
                            how = hint.start_region;
                    }
                    add_chain_premises(n.premises, outer_.snapshot, outer_.work.cand, node, how);
                }
                for (int i = 0; i < p.parent_count[node]; ++i) {
                    visit(p.parents[p.first_parent[node] + i]);
                }
            }
            identity = identity * 31 + part;
        }
        n.identity = identity;
    }

  private:
    dynamic_room& outer_;
    dynamic_room& inner_;
};

// Sorts the collected chain steps from the first of the rule on by rank, keeping the order found
// among equals, and drops a step that removes just what an earlier one does.
void sort_chain_steps(dynamic_room& room, int from) {
    std::stable_sort(
        room.nested_steps + from, room.nested_steps + room.nested_count,
        [](const nested_step& a, const nested_step& b) { return ranks_before(a.rank, b.rank); });
    int kept = from;
    for (int i = from; i < room.nested_count; ++i) {
        bool repeated = false;
        for (int k = from; k < kept && !repeated; ++k) {
            repeated = room.nested_steps[k].removed == room.nested_steps[i].removed;
        }
        if (!repeated) room.nested_steps[kept++] = room.nested_steps[i];
    }
    // a chain step the supposition did not make possible is no nested step
    int with_premises = from;
    for (int i = from; i < kept; ++i) {
        if (!room.nested_steps[i].premises.empty())
            room.nested_steps[with_premises++] = room.nested_steps[i];
    }
    room.nested_count = with_premises;
}

// When a supposition's singles run dry: the first rule of the level that finds steps resting on
// the supposition, each step's removals struck as nodes off. False when none does.
bool add_nested_nodes(chain_space& space, int depth, propagation& p, chain_mode mode, int* queue,
                      int& tail) {
    dynamic_room& room = space.dynamics[depth];
    const candidate_grid& now = room.work;
    room.nested_count = 0;
    struct plain_rule {
        bool (*find)(const candidate_grid&, int, step_sink&);
        int param;
    };
    static constexpr plain_rule plain_rules[4] = {
        {find_intersections, 0}, {find_hidden_subsets, 2}, {find_naked_subsets, 2}, {find_fish, 2}};
    rule_collector plain(room, room.snapshot, now.cand);
    for (const plain_rule& rule : plain_rules) {
        rule.find(now, rule.param, plain);
        if (room.nested_count > 0) break;
    }
    if (room.nested_count == 0 && mode.level >= 2 && mode.level <= 3) {
        static_collector chains(room);
        search_static_chains(now, space.statics[depth + 1], chains);
        sort_chain_steps(room, 0);
    }
    if (room.nested_count == 0 && mode.level == 3) {
        dynamic_collector chains(room, space.dynamics[depth + 1]);
        search_dynamic(now, space, depth + 1, {chain_family::multiple, 0}, chains);
        sort_chain_steps(room, 0);
    }
    if (room.nested_count == 0 && mode.level >= 4) {
        dynamic_collector chains(room, space.dynamics[depth + 1]);
        search_dynamic(now, space, depth + 1, {chain_family::dynamic, 0}, chains);
        sort_chain_steps(room, 0);
        if (room.nested_count == 0 && mode.level == 5) {
            search_dynamic(now, space, depth + 1, {chain_family::dynamic, 2}, chains);
            sort_chain_steps(room, 0);
        }
    }
    if (room.nested_count == 0) return false;
    bool added = false;
    for (int k = 0; k < room.nested_count; ++k) {
        const nested_step& n = room.nested_steps[k];
        int reference = -1;
        if (n.chain && p.nested_count < max_nested_references) {
            reference = p.nested_count++;
            p.nested_identity[reference] = n.identity;
            p.nested_nodes[reference] = n.nodes;
        }
        n.removed.each([&](int cell, int v) {
            int node = node_of(cell, v, false);
            if (p.has(node)) return;
            int first = p.parents_used;
            n.premises.each([&](int pc, int pv) {
                int struck = node_of(pc, pv, false);
                if (p.has(struck)) add_parent(p, struck);
            });
            store_node(p, node, first, by_nesting, reference);
            queue[tail++] = node;
            added = true;
        });
    }
    return added;
}

// --- the rater's side ---------------------------------------------------------------------

class best_dynamic_chain : public dynamic_hint_sink {
  public:
    bool wants(const chain_rank& rank) override { return !found_ || ranks_before(rank, best_); }
    void take(const dynamic_hint& hint) override {
        if (!wants(hint.rank)) return;
        best_ = hint.rank;
        step_ = hint.s;
        found_ = true;
    }
    bool found_ = false;
    chain_rank best_{};
    step step_{};
};

bool find_best(const candidate_grid& g, chain_space& space, chain_mode mode, step_sink& sink) {
    best_dynamic_chain best;
    search_dynamic(g, space, 0, mode, best);
    if (cut_short(space)) return false;
    return best.found_ && !sink.take(best.step_);
}

} // namespace

bool find_nishio_chains(const candidate_grid& g, int, step_sink& sink, chain_space& space) {
    return find_best(g, space, {chain_family::nishio, 0}, sink);
}

bool find_multiple_chains(const candidate_grid& g, int, step_sink& sink, chain_space& space) {
    return find_best(g, space, {chain_family::multiple, 0}, sink);
}

bool find_dynamic_chains(const candidate_grid& g, int level, step_sink& sink, chain_space& space) {
    return find_best(g, space, {chain_family::dynamic, level}, sink);
}
