// The links between chain nodes, the rating of a chain by its length, and the room the chain
// searches work in.
#include "logic/chains.h"

#include "logic/chain_space.h"
#include "logic/scale.h"

int links_from_on(const candidate_grid& g, int node, bool cell_rule, bool region_rule, int* out) {
    int cell = node_cell(node);
    int v = node_value(node);
    int count = 0;
    if (cell_rule) {
        for (int bits = g.cand[cell] & ~value_bit[v]; bits != 0; bits &= bits - 1) {
            out[count++] = node_of(cell, value_of_bit(bits & -bits), false);
        }
    }
    if (region_rule) {
        std::uint64_t listed[2] = {};
        for (int kind : kinds_brc) {
            int unit = unit_of(kind, cell);
            int places = g.places[unit][v] & ~(1 << position_in(kind, cell));
            for (; places != 0; places &= places - 1) {
                int other = unit_cell[unit][std::countr_zero(static_cast<unsigned>(places))];
                std::uint64_t bit = std::uint64_t{1} << (other & 63);
                if ((listed[other >> 6] & bit) != 0) continue;
                listed[other >> 6] |= bit;
                out[count++] = node_of(other, v, false);
            }
        }
    }
    return count;
}

int links_from_off(const candidate_grid& g, int node, bool cell_rule, bool region_rule, int* out,
                   int* how) {
    int cell = node_cell(node);
    int v = node_value(node);
    int count = 0;
    if (cell_rule && count_of(g.cand[cell]) == 2) {
        if (how != nullptr) how[count] = by_cell;
        out[count++] = node_of(cell, value_of_bit(g.cand[cell] & ~value_bit[v]), true);
    }
    if (region_rule) {
        for (int kind : kinds_brc) {
            int unit = unit_of(kind, cell);
            int places = g.places[unit][v];
            if (count_of(places) != 2) continue;
            int others = places & ~(1 << position_in(kind, cell));
            // the other place; of two others (the cell is not one), the later
            int other = unit_cell[unit][31 - std::countl_zero(static_cast<unsigned>(others))];
            int next = node_of(other, v, true);
            bool listed = false;
            for (int i = 0; i < count; ++i) listed = listed || out[i] == next;
            if (listed) continue;
            if (how != nullptr) how[count] = unit;
            out[count++] = next;
        }
    }
    return count;
}

double chain_rating(technique id, int nodes) {
    return base_rating(id) + length_term(nodes);
}

void chain_space_deleter::operator()(chain_space* space) const {
    delete space;
}

chain_room make_chain_room() {
    return chain_room(new chain_space());
}
