// The room the chain searches work in, and the parts of them that call each other: a nested
// chain runs the static chains and the dynamic ones inside a supposition, each a level deeper
// in this room. For logic/ alone.
#pragma once

#include "core/stop_flag.h"
#include "logic/chains.h"

#include <atomic>
#include <cstdint>

// Room enough for every node a static search can reach: each node on once, and each node off
// once per node on that reaches it.
constexpr int static_pool = 1 << 15;

struct static_room {
    int node[static_pool];
    int parent[static_pool]; // pool entry of the first parent; -1 for the start
    int how[static_pool];
    std::uint64_t chain_bits[static_pool]; // a node on's: bits of the nodes off on its chain
    int used;
    int queue_on[static_pool];
    int queue_off[static_pool];
    int on_seen[node_total]; // stamp: the node is reached in this search
    int stamp;
    int chain[static_pool];
    int chain_how[static_pool];
    // the links of each node under the rules of the pass under way
    int pass_stamp;
    int cached_at[node_total];
    int cache_first[node_total];
    int cache_count[node_total];
    int cache_links[node_total * 28];
    int cache_how[node_total * 28];
    int cache_used;
};

// Where a static search hands its steps, each with its chain (start first) and how each node
// was reached. wants tells the search whether a step of that rank could still be taken, so that
// it stops going deeper when none could.
class static_hint_sink {
  public:
    virtual bool wants(const chain_rank& rank) = 0;
    virtual void take(const chain_rank& rank, const step& s, const int* nodes, const int* hows,
                      int length) = 0;

  protected:
    ~static_hint_sink() = default;
};

void search_static_chains(const candidate_grid& g, static_room& room, static_hint_sink& sink);

// One propagation of a supposition: the nodes it reached in the order it reached them, the
// parents of each, and the contradiction it met, if any.
constexpr int max_parents = 1 << 15;
constexpr int max_nested_references = 256;
struct propagation {
    int stamp;
    int seen[node_total]; // stamp: the node was reached
    int order[node_total];
    int count;
    int first_parent[node_total]; // into parents
    int parent_count[node_total];
    int how[node_total];
    int nested[node_total]; // the nested chain step that removed an off node; -1 for none
    int parents[max_parents];
    int parents_used;
    bool contradiction;
    int clash_stored; // the node met in the sets
    int clash_node;   // its opposite, reached but not stored: its parents follow
    int clash_parents[32];
    int clash_parent_count;
    // the nested chain steps its nodes off came from: what makes each the same as another, and
    // its nodes
    std::uint64_t nested_identity[max_nested_references];
    int nested_nodes[max_nested_references];
    int nested_count;

    bool has(int node) const { return seen[node] == stamp; }
};

// A step of a chain nested inside a supposition, kept until the rule that found it is done:
// what it removes, the candidates it rests on that the supposition removed, and for a chain its
// nodes (its own nested additions included) and what makes it the same as another.
struct nested_step {
    chain_rank rank;
    candidate_set removed;
    candidate_set premises;
    bool chain;
    int nodes;
    std::uint64_t identity;
};
constexpr int max_nested_steps = 4096;

struct dynamic_room {
    candidate_grid work;      // the grid as the supposition leaves it
    int snapshot[81];         // the candidates before it
    propagation on_branch[9]; // one for each value of the cell, supposed on
    propagation off_branch;   // the value supposed off
    propagation region_branch[8];
    int queue_on[node_total];
    int queue_off[node_total];
    int visit[node_total]; // stamps of a walk through ancestors
    int visit_stamp;
    nested_step nested_steps[max_nested_steps];
    int nested_count;
};

// Three deep: a chain nested in a supposition may run chains in its own suppositions.
constexpr int chain_depth = 3;
struct chain_space {
    static_room statics[chain_depth + 1];
    dynamic_room dynamics[chain_depth];
    const std::atomic<bool>* cancel = nullptr; // the rater's, for the search under way
};

// Whether the search must end: its caller's cancel where it has one (the search then runs on a
// thread of its own, which must not read the stop flag), else a signal.
inline bool cut_short(const chain_space& space) {
    return space.cancel != nullptr ? space.cancel->load(std::memory_order_relaxed) : stop_flag != 0;
}
