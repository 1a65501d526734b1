// The techniques, each a free function that looks at a grid of candidates and fills in the
// first step it finds (one that places or removes something), or returns false. None changes
// the grid. param picks a variant where one function serves several rows of the rating table.
#pragma once

#include "logic/candidates.h"

// singles
bool find_full_house(const candidate_grid& g, int param, step* s);
bool find_hidden_single(const candidate_grid& g, int in_box, step* s); // 1: boxes, 0: lines
bool find_naked_single(const candidate_grid& g, int param, step* s);
// intersections: a value confined to where a box and a line cross
constexpr int pointing = 0;        // from a box: out of the rest of the line
constexpr int claiming = 1;        // from a line: out of the rest of the box
constexpr int direct_pointing = 2; // the same, when it leaves a hidden single: placed
constexpr int direct_claiming = 3;
bool find_intersection(const candidate_grid& g, int kind, step* s);
// subsets: size 2 to 4; direct hidden ones (size + 10) only when they leave a hidden single
bool find_naked_subset(const candidate_grid& g, int size, step* s);
bool find_hidden_subset(const candidate_grid& g, int size, step* s);
constexpr int direct = 10;
// fish: x-wing (2), swordfish (3), jellyfish (4); columns as the base first
bool find_fish(const candidate_grid& g, int size, step* s);
// wings
bool find_xy_wing(const candidate_grid& g, int param, step* s);
bool find_xyz_wing(const candidate_grid& g, int param, step* s);
// uniqueness: unique rectangles and the bivalue universal grave, types 1 to 4; form (or a
// rectangle's unit[0]) says which
bool find_unique_rectangle(const candidate_grid& g, int param, step* s);
bool find_bivalue_grave(const candidate_grid& g, int param, step* s);
// The links chains are made of: one value's (an x-chain), both kinds (a value's places and a
// cell's values), or a y-cycle's: one value between bivalue cells, the other inside them.
constexpr int one_value = 0;
constexpr int both_kinds = 1;
constexpr int pairs = 2;
// bidirectional cycles, loops of links of one kind: rated 6.5 + L for one value or pairs, and
// 7.0 + L for both kinds; unit[0] is the loop's nodes and the causes its cells
bool find_cycle(const candidate_grid& g, int kind, step* s);
// forcing chains, one value only (x_only 1) or both kinds of link; they set the step's rating,
// which grows with the chain's length, and its unit[0] to the chain's nodes
bool find_forcing_chain(const candidate_grid& g, int x_only, step* s);
// aligned pair exclusion: two cells that see each other, each way to fill them checked
bool find_aligned_pair_exclusion(const candidate_grid& g, int param, step* s);
// aligned triple exclusion: the same for three cells joined by sight, 7.5
bool find_aligned_triple_exclusion(const candidate_grid& g, int param, step* s);
// The dynamic chains follow a supposition with everything that must follow from it: the
// singles and, from level 1 on, the techniques below their own row in the table (a nested
// chain). The shapes of a step, in its form: a supposition that ends in a contradiction is
// false (on_fails removes it, off_fails places it); a conclusion that follows both from a
// candidate and from its denial, from every value of a cell, or from every place of a value
// in a region holds. unit[0] is the nodes of all the chains, unit[1] the region or -1, cause[0]
// the supposition's cell (or the region's first place), values the conclusion's value and,
// shifted by 9, the value supposed.
enum chain_form { on_fails, off_fails, both_ways, every_value, every_place };
// nishio: a supposition followed for its one value alone ends in a contradiction; 7.5 + L
bool find_nishio(const candidate_grid& g, int param, step* s);
// cell and region forcing chains: every value of a cell, or every place of a value in a unit,
// leads to the same conclusion; 8.0 + L with the nodes of all the chains. unit[1] is the
// region, or -1 for a cell, and the region's value is values >> 9.
bool find_cell_region_chain(const candidate_grid& g, int param, step* s);
// dynamic forcing chains of a level from 0 (singles only, 8.5 + L) to 5 (11.0 + L)
bool find_dynamic_chain(const candidate_grid& g, int level, step* s);
