// The techniques, each a free function that looks at a grid of candidates and hands the steps
// it finds to a sink, in the order it meets them, until the sink has enough; it changes
// nothing and returns true when the sink stopped it. A step that neither places nor removes
// anything is never handed on. param picks a variant where one function serves several rows
// of the scale (a subset's or a fish's size, a chain's nesting).
#pragma once

#include "logic/step.h"

struct chain_space;

// singles: full houses and hidden singles (boxes 1.2, lines 1.5) in one search; naked singles
bool find_hidden_singles(const candidate_grid& g, int param, step_sink& sink);
bool find_naked_singles(const candidate_grid& g, int param, step_sink& sink);
// intersections: direct pointing and claiming (placing what they leave), and plain ones
bool find_direct_intersections(const candidate_grid& g, int param, step_sink& sink);
bool find_intersections(const candidate_grid& g, int param, step_sink& sink);
// subsets of size 2 to 4; direct hidden pairs and triples place the value they leave alone
bool find_naked_subsets(const candidate_grid& g, int size, step_sink& sink);
bool find_hidden_subsets(const candidate_grid& g, int size, step_sink& sink);
bool find_direct_hidden_subsets(const candidate_grid& g, int size, step_sink& sink);
// fish: x-wing (2), swordfish (3), jellyfish (4); columns as base lines first
bool find_fish(const candidate_grid& g, int size, step_sink& sink);
// wings
bool find_xy_wings(const candidate_grid& g, int param, step_sink& sink);
bool find_xyz_wings(const candidate_grid& g, int param, step_sink& sink);
// uniqueness: unique rectangles and loops, the lowest-rated first; the bivalue universal grave
bool find_unique_loops(const candidate_grid& g, int param, step_sink& sink);
bool find_grave(const candidate_grid& g, int param, step_sink& sink);
// aligned exclusion of two cells and of three
bool find_aligned_pair_exclusion(const candidate_grid& g, int param, step_sink& sink);
bool find_aligned_triple_exclusion(const candidate_grid& g, int param, step_sink& sink);
// The chains search in room, which their caller owns (logic/chains.h).
// the static chains: x-, y- and xy-cycles and forcing x- and xy-chains, lowest rating first
bool find_static_chains(const candidate_grid& g, int param, step_sink& sink, chain_space& room);
// the chains that follow a supposition through the grid, lowest rating first: nishio, the
// static cell and region chains, and the dynamic chains nested param deep (0 to 5)
bool find_nishio_chains(const candidate_grid& g, int param, step_sink& sink, chain_space& room);
bool find_multiple_chains(const candidate_grid& g, int param, step_sink& sink, chain_space& room);
bool find_dynamic_chains(const candidate_grid& g, int level, step_sink& sink, chain_space& room);

// Step makers shared by the techniques. A step that removes values; a step that places v in
// cell, which removes nothing but what the placement clears.
step removal_step(technique id, double rating, const step_shape& shape);
step placement_step(technique id, double rating, int cell, int v, const step_shape& shape);
