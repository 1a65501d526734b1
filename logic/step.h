// A step of the rater is typed data: which technique, its rating, what it places and removes,
// and the shape that justifies it, each shape a struct of its own so that no field means two
// things. The words in render/ are made from the shape; nothing here is text.
#pragma once

#include "logic/candidates.h"

#include <variant>

enum class technique : unsigned char {
    full_house,
    hidden_single_box,
    hidden_single_line,
    direct_pointing,
    direct_claiming,
    direct_hidden_pair,
    naked_single,
    direct_hidden_triple,
    pointing,
    claiming,
    naked_pair,
    x_wing,
    hidden_pair,
    naked_triple,
    swordfish,
    hidden_triple,
    xy_wing,
    xyz_wing,
    unique_rectangle, // a loop of four cells
    unique_loop,      // of six or more
    naked_quad,
    jellyfish,
    hidden_quad,
    grave,
    aligned_pair_exclusion,
    x_cycle,
    y_cycle,
    forcing_x_chain,
    xy_cycle,
    forcing_chain,
    aligned_triple_exclusion,
    nishio,
    cell_forcing_chain,   // static: every value of a cell leads to it
    region_forcing_chain, // static: every place of a value in a region leads to it
    contradiction_chain,  // dynamic: a supposition leads to a contradiction
    double_chain,         // dynamic: a candidate and its denial lead to it
    dynamic_cell_chain,
    dynamic_region_chain,
};

// A single: the region it is the last empty cell of, or the only place in; -1 for a naked one.
struct single_shape {
    int unit;
};
// A value whose places in region from all lie in region to: it goes from the rest of to. A
// direct one places it where that leaves it one place in region single.
struct intersection_shape {
    int v;
    int from;
    int to;
    int single; // -1 unless direct
};
// A naked or hidden set: values that fill cells of a region (positions, a 9-bit set of places
// in it). A direct hidden set places the value it leaves one place, in the step's placement.
struct subset_shape {
    int unit;
    int values;
    int positions;
};
// A fish of value v: its places in the base lines lie in as many cover lines (9-bit sets of
// line numbers), columns as base lines or rows.
struct fish_shape {
    int v;
    bool columns;
    int base;
    int cover;
};
// An xy- or xyz-wing: a pivot and two pincers, and the value every target sees them take.
struct wing_shape {
    int pivot;
    int pincer[2];
    int v;
};
// A unique loop (a rectangle is a loop of four): the cells in loop order, the pair {v1, v2} it
// would hold, and the type. Type 2: the extra value every extra cell may take. Type 3: the
// naked (or hidden) set in unit that the extra cells' extra values make with other cells
// (positions). Type 4: the value that has no other place in unit.
struct loop_shape {
    int type;
    bool hidden;
    int size;
    int cells[32];
    int v1;
    int v2;
    int extra;
    int unit;
    int values;
    int positions;
};
// A bivalue universal grave: the cells beyond two candidates and the values that break the
// pattern there. Type 3: the naked set those values make with cells of unit (positions); type
// 4: the value both cells share in unit.
struct grave_shape {
    int type;
    int count;
    int cells[16];
    int values; // the grave values of all cells
    int unit;
    int extra;
    int positions;
};
// Aligned exclusion: two or three cells, and the cells with few candidates that all of them
// see, whose candidates rule out ways to fill them.
struct exclusion_shape {
    int count;
    int cells[3];
    int excluder_count;
    int excluders[20];
};
// A static chain or cycle: its nodes from the start on, each a candidate (cell * 9 + v - 1)
// times two, plus one when on; length counts them all, nodes holds the first max_chain_nodes.
constexpr int max_chain_nodes = 64;
struct chain_shape {
    int length;
    int nodes[max_chain_nodes];
};
// A chain of suppositions, followed through a copy of the grid. For a contradiction, what was
// supposed (cell, v, on) and where the contradiction shows; for a double chain, the candidate
// taken both ways; for a cell, its values; for a region, the places of v in it. level is the
// nesting, 0 for none; nodes the count the rating comes from.
struct dynamic_shape {
    int cell;
    int v;
    bool on;
    int unit;
    int level;
    bool nishio;
    int nodes;
    int clash_cell; // the candidate found both on and off; -1 when not known
    int clash_v;
};

using step_shape =
    std::variant<single_shape, intersection_shape, subset_shape, fish_shape, wing_shape, loop_shape,
                 grave_shape, exclusion_shape, chain_shape, dynamic_shape>;

struct step {
    technique id;
    double rating;   // as the reference sums it: equal-looking ratings may differ in the last bit
    int placed_cell; // -1: it places nothing
    int placed_value;
    candidate_set removed;
    step_shape shape;
};

// The rating in tenths, as it prints: (rating + 0.05) * 10, truncated.
inline int tenths_of(double rating) {
    return static_cast<int>((rating + 0.05) * 10);
}

// Applies a step: its removals, then its placement, which clears the value from its peers.
void apply_step(candidate_grid& g, const step& s);

// Where a technique hands the steps it finds. The rater keeps the first; a supposition inside a
// nested chain keeps them all.
class step_sink {
  public:
    virtual bool take(const step& s) = 0; // false: search no further
  protected:
    ~step_sink() = default;
};
