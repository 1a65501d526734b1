// The links between chain nodes, the rating of a chain by its length, and the room the chain
// searches work in.
#include "logic/chains.h"

#include "logic/chain_space.h"
#include "logic/scale.h"

int links_from_on(const int* cand, int node, bool cell_rule, bool region_rule, int* out) {
    int cell = node_cell(node);
    int v = node_value(node);
    int count = 0;
    if (cell_rule) {
        for (int bits = cand[cell] & ~value_bit[v]; bits != 0; bits &= bits - 1) {
            out[count++] = node_of(cell, value_of_bit(bits & -bits), false);
        }
    }
    if (region_rule) {
        std::uint64_t listed[2] = {};
        for (int kind : kinds_brc) {
            for (int other : unit_cell[unit_of(kind, cell)]) {
                if (other == cell || (cand[other] & value_bit[v]) == 0) continue;
                std::uint64_t bit = std::uint64_t{1} << (other & 63);
                if ((listed[other >> 6] & bit) != 0) continue;
                listed[other >> 6] |= bit;
                out[count++] = node_of(other, v, false);
            }
        }
    }
    return count;
}

int links_from_off(const int* cand, int node, bool cell_rule, bool region_rule, int* out,
                   int* how) {
    int cell = node_cell(node);
    int v = node_value(node);
    int count = 0;
    if (cell_rule && count_of(cand[cell]) == 2) {
        if (how != nullptr) how[count] = by_cell;
        out[count++] = node_of(cell, value_of_bit(cand[cell] & ~value_bit[v]), true);
    }
    if (region_rule) {
        for (int kind : kinds_brc) {
            int unit = unit_of(kind, cell);
            int other = -1;
            int places = 0;
            for (int d : unit_cell[unit]) {
                if ((cand[d] & value_bit[v]) == 0) continue;
                ++places;
                if (d != cell) other = d;
            }
            if (places != 2 || other < 0) continue;
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
