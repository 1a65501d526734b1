// Static chains, whose links rest on the candidates as they stand: bidirectional cycles and
// forcing chains, in three passes. The x pass links one value's places in regions; the y pass
// links a bivalue cell's two values and, from a node on, the value's other places; the xy pass
// uses every link. A cycle is a loop of links, alternately on and off, found by a search in
// breadth from a node on: every candidate that sees both an on node and an off node of one
// value on the loop cannot hold that value. A forcing chain leads a candidate to its own
// denial: supposed on it ends off (and goes), supposed off it ends on (and is placed).
//
// Every step is weighed and the lowest rating wins (then fewest nodes, then the kind, then the
// first found), so a search stops going deeper once nothing it could find would win.
#include "logic/chain_space.h"
#include "logic/scale.h"
#include "logic/techniques.h"

namespace {

struct pass_rules {
    bool on_cell; // links from a node on
    bool on_region;
    bool off_cell; // links from a node off
    bool off_region;
    bool bivalue_starts;
    bool forcing; // forcing chains are sought too
    technique cycle;
    technique chain;
    int cycle_kind;
    int chain_kind;
};
constexpr pass_rules passes[3] = {
    {false, true, false, true, false, true, technique::x_cycle, technique::forcing_x_chain, x_kind,
     x_kind},
    {true, true, true, false, true, false, technique::y_cycle, technique::y_cycle, y_kind, y_kind},
    {true, true, true, true, false, true, technique::xy_cycle, technique::forcing_chain, xy_kind,
     xy_kind},
};

struct search {
    const candidate_grid& g;
    static_room& room;
    static_hint_sink& sink;
    const pass_rules* rules;
    int start;
};

int add_node(static_room& room, int node, int parent, int how) {
    int i = room.used++;
    room.node[i] = node;
    room.parent[i] = parent;
    room.how[i] = how;
    return i;
}

// The chain from pool entry i back to the start, the start first; its length.
int chain_of(const static_room& room, int i, int* nodes, int* hows) {
    int length = 0;
    for (int k = i; k >= 0; k = room.parent[k]) ++length;
    int at = length;
    for (int k = i; k >= 0; k = room.parent[k]) {
        --at;
        nodes[at] = room.node[k];
        hows[at] = room.how[k];
    }
    return length;
}

chain_shape shape_of(const int* nodes, int length) {
    chain_shape shape{};
    shape.length = length;
    for (int i = 0; i < length && i < max_chain_nodes; ++i) shape.nodes[i] = nodes[i];
    return shape;
}

// A loop closed by the off node at pool entry closing, through a link of kind how back to the
// start: what it removes, and the step if any.
void judge_cycle(search& s, int closing, int how) {
    static_room& room = s.room;
    int length = chain_of(room, closing, room.chain, room.chain_how);
    // the start, reached again, is the loop's last node: it rests on the closing link
    room.chain_how[0] = how;
    chain_rank rank{chain_rating(s.rules->cycle, length), length, s.rules->cycle_kind};
    if (!s.sink.wants(rank)) return;
    std::uint64_t on_sight[10][2] = {};
    std::uint64_t off_sight[10][2] = {};
    std::uint64_t loop[2] = {};
    for (int i = 0; i < length; ++i) {
        int cell = node_cell(room.chain[i]);
        int v = node_value(room.chain[i]);
        std::uint64_t(*sight)[2] = node_on(room.chain[i]) ? on_sight : off_sight;
        sight[v][0] |= peer_cells[cell][0];
        sight[v][1] |= peer_cells[cell][1];
        loop[cell >> 6] |= std::uint64_t{1} << (cell & 63);
    }
    candidate_set removed;
    for (int v = 1; v <= 9; ++v) {
        for (int half = 0; half < 2; ++half) {
            for (std::uint64_t bits = on_sight[v][half] & off_sight[v][half] & ~loop[half];
                 bits != 0; bits &= bits - 1) {
                int cell = 64 * half + std::countr_zero(bits);
                if ((s.g.cand[cell] & value_bit[v]) != 0) removed.add(cell, v);
            }
        }
    }
    if (removed.empty()) return;
    step st = removal_step(s.rules->cycle, rank.rating, shape_of(room.chain, length));
    st.removed = removed;
    s.sink.take(rank, st, room.chain, room.chain_how, length);
}

// The links from a node under the pass's rules, worked out once per pass: the grid does not
// change while the pass searches.
[[gnu::noinline]] void cache_links(search& s, int node) {
    static_room& room = s.room;
    int first = room.cache_used;
    int n = node_on(node) ? links_from_on(s.g, node, s.rules->on_cell, s.rules->on_region,
                                          room.cache_links + first)
                          : links_from_off(s.g, node, s.rules->off_cell, s.rules->off_region,
                                           room.cache_links + first, room.cache_how + first);
    room.cached_at[node] = room.pass_stamp;
    room.cache_first[node] = first;
    room.cache_count[node] = n;
    room.cache_used += n;
}

inline int links_of(search& s, int node, const int*& links, const int*& hows) {
    static_room& room = s.room;
    if (room.cached_at[node] != room.pass_stamp) cache_links(s, node);
    links = room.cache_links + room.cache_first[node];
    hows = room.cache_how + room.cache_first[node];
    return room.cache_count[node];
}

// A node's bit in the sets of nodes off that a chain holds: one bit stands for several nodes.
inline std::uint64_t chain_bit(int node) {
    return std::uint64_t{1} << ((node >> 1) & 63);
}

// Whether node is an off node on the chain that leads to the on node at pool entry p. The set
// of bits of the chain's nodes off answers most asks without a walk.
bool on_chain(const static_room& room, int p, int node) {
    if ((room.chain_bits[p] & chain_bit(node)) == 0) return false;
    for (int k = p; k >= 0; k = room.parent[k]) {
        if (room.node[k] == node) return true;
    }
    return false;
}

// A forcing chain ends at end, the node opposite its start: the step it makes, if it removes
// anything.
void judge_forcing_chain(search& s, int end) {
    static_room& room = s.room;
    const pass_rules& r = *s.rules;
    int length = chain_of(room, end, room.chain, room.chain_how);
    chain_rank rank{chain_rating(r.chain, length), length, r.chain_kind};
    int from = room.chain[0];
    int cell = node_cell(from);
    int v = node_value(from);
    step st = node_on(from)
                  ? removal_step(r.chain, rank.rating, shape_of(room.chain, length))
                  : placement_step(r.chain, rank.rating, cell, v, shape_of(room.chain, length));
    if (node_on(from)) {
        st.removed.add(cell, v);
    } else {
        for (int bits = s.g.cand[cell] & ~value_bit[v]; bits != 0; bits &= bits - 1) {
            st.removed.add(cell, value_of_bit(bits & -bits));
        }
    }
    if (!st.removed.empty()) s.sink.take(rank, st, room.chain, room.chain_how, length);
}

// The loops through the start: each node on is reached once, by its first parent; nodes off
// may be reached many times, each with its own parent. The same search meets the start's
// forcing chain to its denial, if the pass seeks one: nodes on come in the order a search for
// that chain alone would meet them, so the first node off opposite the start ends that chain.
// Its step comes after the loops', as if sought on its own.
void find_cycles(search& s) {
    static_room& room = s.room;
    const pass_rules& r = *s.rules;
    room.used = 0;
    ++room.stamp;
    int start = s.start;
    room.on_seen[start] = room.stamp;
    int on_count = 1;
    room.queue_on[0] = add_node(room, start, -1, by_start);
    room.chain_bits[room.queue_on[0]] = 0;
    int denial = r.forcing ? -1 : static_pool; // pool entry of the start's opposite, once met
    const int* links;
    const int* hows;
    for (int depth = 2; on_count > 0; depth += 2) {
        // a loop closed at this depth has depth nodes, as has a chain to the start's opposite
        // met on the way there: no deeper one can win if this cannot
        bool loops = depth < 4 || s.sink.wants({chain_rating(r.cycle, depth), depth, r.cycle_kind});
        bool chain =
            denial < 0 && s.sink.wants({chain_rating(r.chain, depth), depth, r.chain_kind});
        if (!loops && !chain) break;
        int off_count = 0;
        for (int i = 0; i < on_count; ++i) {
            int p = room.queue_on[i];
            int n = links_of(s, room.node[p], links, hows);
            for (int k = 0; k < n; ++k) {
                if (on_chain(room, p, links[k]) || room.used >= static_pool) continue;
                int q = add_node(room, links[k], p, by_start);
                room.queue_off[off_count++] = q;
                if (links[k] == (start ^ 1) && denial < 0) denial = q;
            }
        }
        on_count = 0;
        for (int i = 0; i < off_count; ++i) {
            int p = room.queue_off[i];
            int n = links_of(s, room.node[p], links, hows);
            for (int k = 0; k < n; ++k) {
                if (links[k] == start && depth >= 4) judge_cycle(s, p, hows[k]);
                if (room.on_seen[links[k]] == room.stamp || room.used >= static_pool) continue;
                room.on_seen[links[k]] = room.stamp;
                int q = add_node(room, links[k], p, hows[k]);
                room.chain_bits[q] = room.chain_bits[room.parent[p]] | chain_bit(room.node[p]);
                room.queue_on[on_count++] = q;
            }
        }
    }
    if (denial >= 0 && denial < static_pool) judge_forcing_chain(s, denial);
}

// A forcing chain from the start node off to its opposite, found in breadth, every node once.
void find_forcing_chain(search& s, int from) {
    static_room& room = s.room;
    const pass_rules& r = *s.rules;
    int target = from ^ 1;
    room.used = 0;
    ++room.stamp;
    room.on_seen[from] = room.stamp; // on_seen and off_seen hold nodes of both kinds by number
    int on_count = 0;
    int off_count = 0;
    int root = add_node(room, from, -1, by_start);
    if (node_on(from)) {
        room.queue_on[on_count++] = root;
    } else {
        room.queue_off[off_count++] = root;
    }
    const int* links;
    const int* hows;
    // nodes derived at level depth make a chain of depth + 1 nodes
    for (int depth = 1; on_count + off_count > 0; ++depth) {
        if (!s.sink.wants({chain_rating(r.chain, depth + 1), depth + 1, r.chain_kind})) return;
        bool from_on = depth % 2 == (node_on(from) ? 1 : 0);
        int* queue = from_on ? room.queue_on : room.queue_off;
        int count = from_on ? on_count : off_count;
        int* next = from_on ? room.queue_off : room.queue_on;
        int next_count = 0;
        for (int i = 0; i < count; ++i) {
            int p = queue[i];
            // a forcing chain's links from a node off always include the region rule, which
            // every pass that seeks forcing chains has anyway
            int n = links_of(s, room.node[p], links, hows);
            for (int k = 0; k < n; ++k) {
                if (links[k] == target) {
                    judge_forcing_chain(s, add_node(room, target, p, from_on ? by_start : hows[k]));
                    return;
                }
                if (room.on_seen[links[k]] == room.stamp || room.used >= static_pool) continue;
                room.on_seen[links[k]] = room.stamp;
                next[next_count++] = add_node(room, links[k], p, from_on ? by_start : hows[k]);
            }
        }
        if (from_on) {
            on_count = 0;
            off_count = next_count;
        } else {
            off_count = 0;
            on_count = next_count;
        }
    }
}

} // namespace

void search_static_chains(const candidate_grid& g, static_room& room, static_hint_sink& sink) {
    for (const pass_rules& rules : passes) {
        // a pass whose every step is rated above what was found cannot win
        if (!sink.wants({base_rating(rules.cycle), 4, rules.cycle_kind}) &&
            !(rules.forcing && sink.wants({base_rating(rules.chain), 4, rules.chain_kind}))) {
            continue;
        }
        ++room.pass_stamp;
        room.cache_used = 0;
        for (int cell = 0; cell < 81; ++cell) {
            int n = count_of(g.cand[cell]);
            if (n < 2 || (rules.bivalue_starts && n != 2)) continue;
            for (int bits = g.cand[cell]; bits != 0; bits &= bits - 1) {
                int v = value_of_bit(bits & -bits);
                search s{g, room, sink, &rules, node_of(cell, v, true)};
                find_cycles(s);
                if (rules.forcing) find_forcing_chain(s, node_of(cell, v, false));
            }
        }
    }
}

namespace {

// The rater's sink: the step that ranks first.
class best_static_chain : public static_hint_sink {
  public:
    bool wants(const chain_rank& rank) override { return !found_ || ranks_before(rank, best_); }
    void take(const chain_rank& rank, const step& s, const int*, const int*, int) override {
        if (!wants(rank)) return;
        best_ = rank;
        step_ = s;
        found_ = true;
    }
    bool found_ = false;
    chain_rank best_{};
    step step_{};
};

} // namespace

bool find_static_chains(const candidate_grid& g, int, step_sink& sink, chain_space& space) {
    best_static_chain best;
    search_static_chains(g, space.statics[0], best);
    return best.found_ && !sink.take(best.step_);
}
