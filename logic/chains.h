// What the chain techniques share: nodes, the links between them, the room they search in, and
// the order their steps are chosen in.
//
// A node is a candidate supposed on (the cell holds the value) or off (it does not), numbered
// so that a node and its opposite differ in the lowest bit. A node on rules off the cell's other
// values (the cell rule) and the value's other places in its regions (the region rule); a node
// off makes the cell's other value on when the cell has two (cell rule), and the value's other
// place on in a region where it has two (region rule).
#pragma once

#include "logic/step.h"

#include <memory>

constexpr int node_total = 81 * 9 * 2;

inline int node_of(int cell, int v, bool on) {
    return (cell * 9 + v - 1) * 2 + (on ? 1 : 0);
}
inline int node_cell(int node) {
    return node / 18;
}
inline int node_value(int node) {
    return node / 2 % 9 + 1;
}
inline bool node_on(int node) {
    return (node & 1) != 0;
}

// How a node came to be: from the start, by the cell rule, or by the region rule in a region
// (0..26); an off node nested chains add names the step that removed it.
constexpr int by_start = -1;
constexpr int by_cell = 27;
constexpr int by_nesting = 28;

// The links from a node, in the order the techniques meet them: the cell rule first (values
// ascending), then the region rule through the box, the row and the column (cells in region
// order); a node reached twice is listed once. how, when given, gets how each was reached.
// The number of nodes written to out.
int links_from_on(const candidate_grid& g, int node, bool cell_rule, bool region_rule, int* out);
int links_from_off(const candidate_grid& g, int node, bool cell_rule, bool region_rule, int* out,
                   int* how);

// The length term of a chain of nodes nodes.
double chain_rating(technique id, int nodes);

// The order chain steps are taken in: lowest rating, then fewest nodes, then by kind (a double
// chain, an x-chain, a y-cycle, an xy-chain, a cell chain, a region chain, a contradiction),
// then the first found.
enum chain_kind {
    double_kind = 1,
    x_kind,
    y_kind,
    xy_kind,
    cell_kind,
    region_kind,
    contradiction_kind
};
struct chain_rank {
    double rating;
    int nodes;
    int kind;
};
inline bool ranks_before(const chain_rank& a, const chain_rank& b) {
    if (a.rating != b.rating) return a.rating < b.rating;
    if (a.nodes != b.nodes) return a.nodes < b.nodes;
    return a.kind < b.kind;
}

// The room every chain search works in, made once by whoever rates (a few megabytes), so that
// nothing is allocated while it searches. One per thread.
struct chain_space;
struct chain_space_deleter {
    void operator()(chain_space* space) const;
};
using chain_room = std::unique_ptr<chain_space, chain_space_deleter>;
chain_room make_chain_room();
