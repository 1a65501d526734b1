// The scale: every rating the rater gives, in one table. Each technique's name and rating in
// tenths, in the order of the scale; the ratings that grow with a shape (loops, graves, chains)
// start from their rows here. Beside them the nesting levels of the dynamic chains and the
// levels a person reads from a rating.
#pragma once

#include "logic/step.h"

struct technique_row {
    technique id;
    const char* name; // lower case, as csv and the words show it
    int tenths;       // the rating, or the base a shape adds to
};

struct nesting_row {
    const char* suffix; // after the name of a chain nested this deep
    int tenths;         // the base of a dynamic chain at this level
};

struct level_row {
    const char* name;
    int below; // tenths: a rating below this is of this level or an easier one
};

struct rating_scale {
    technique_row techniques[38];
    nesting_row nesting[6];
    level_row levels[4];
    int loop_of_six;   // tenths a unique loop of six cells adds to a rectangle
    int loop_of_eight; // of eight, and of ten or more on top of the next
    int loop_of_ten;   // what ten or more add before that
    int set_member;    // tenths a type-3 set adds per member beyond the first (naked) or two
    int unfinished;    // 20.0: the techniques cannot finish the puzzle
    int length_start;  // the first bound of a chain's length term
};

inline constexpr rating_scale scale = {
    {
        {technique::full_house, "full house", 10},
        {technique::hidden_single_box, "hidden single", 12},
        {technique::hidden_single_line, "hidden single", 15},
        {technique::direct_pointing, "direct pointing", 17},
        {technique::direct_claiming, "direct claiming", 19},
        {technique::direct_hidden_pair, "direct hidden pair", 20},
        {technique::naked_single, "naked single", 23},
        {technique::direct_hidden_triple, "direct hidden triple", 25},
        {technique::pointing, "pointing", 26},
        {technique::claiming, "claiming", 28},
        {technique::naked_pair, "naked pair", 30},
        {technique::x_wing, "x-wing", 32},
        {technique::hidden_pair, "hidden pair", 34},
        {technique::naked_triple, "naked triple", 36},
        {technique::swordfish, "swordfish", 38},
        {technique::hidden_triple, "hidden triple", 40},
        {technique::xy_wing, "xy-wing", 42},
        {technique::xyz_wing, "xyz-wing", 44},
        {technique::unique_rectangle, "unique rectangle", 45},
        {technique::unique_loop, "unique loop", 45},
        {technique::naked_quad, "naked quad", 50},
        {technique::jellyfish, "jellyfish", 52},
        {technique::hidden_quad, "hidden quad", 54},
        {technique::grave, "bivalue universal grave", 56},
        {technique::aligned_pair_exclusion, "aligned pair exclusion", 62},
        {technique::x_cycle, "x-cycle", 65},
        {technique::y_cycle, "y-cycle", 65},
        {technique::forcing_x_chain, "forcing x-chain", 66},
        {technique::xy_cycle, "xy-cycle", 70},
        {technique::forcing_chain, "forcing chain", 70},
        {technique::aligned_triple_exclusion, "aligned triple exclusion", 75},
        {technique::nishio, "nishio forcing chain", 75},
        {technique::cell_forcing_chain, "cell forcing chain", 80},
        {technique::region_forcing_chain, "region forcing chain", 80},
        {technique::contradiction_chain, "dynamic contradiction forcing chain", 85},
        {technique::double_chain, "dynamic double forcing chain", 85},
        {technique::dynamic_cell_chain, "dynamic cell forcing chain", 85},
        {technique::dynamic_region_chain, "dynamic region forcing chain", 85},
    },
    {
        {"", 85},
        {" (+)", 90},
        {" (+ forcing chains)", 95},
        {" (+ multiple forcing chains)", 100},
        {" (+ dynamic forcing chains)", 105},
        {" (+ dynamic forcing chains (+))", 110},
    },
    {{"easy", 15}, {"medium", 25}, {"hard", 50}, {"diabolical", 201}},
    1,
    2,
    3,
    1,
    200,
    4,
};

inline constexpr const technique_row& row_of_technique(technique id) {
    return scale.techniques[static_cast<int>(id)];
}
inline constexpr double base_rating(technique id) {
    return row_of_technique(id).tenths / 10.0;
}

// The length term of a chain of nodes nodes: 0.1 for each bound that the nodes beyond two
// exceed, the bounds growing from 4 by 3/2 and 4/3 in turn (4, 6, 8, 12, 16, 24, ...), the
// tenths added one by one as the reference adds them.
double length_term(int nodes);
int length_steps(int nodes); // the same as a count of tenths

// The level a person reads from a rating in tenths.
const char* level_of(int tenths);
