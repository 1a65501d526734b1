// A grid of candidates, as a person pencils them in: each empty cell holds the values that no
// placed value in its row, column or box rules out, less those the techniques removed. Beside
// it the orders the techniques visit cells, regions and sets in, since the first of several
// equal steps is the one a fixed order meets first.
#pragma once

#include "core/grid.h"

#include <bit>
#include <cstdint>
#include <initializer_list>

struct candidate_grid {
    int value[81];      // 1..9, or 0 for an empty cell
    int cand[81];       // the candidate bits of an empty cell; 0 for a filled one
    int places[27][10]; // the places of each value in each region, as a 9-bit set of positions
                        // in it: kept with cand by the functions below
};

// Candidates from the givens alone: each value removes itself from its peers. Givens that
// repeat a value are taken as they are; such a grid never completes.
void start_candidates(candidate_grid& g, const int* cells);
// Sets v in cell and removes it from the cell's peers.
void place_candidate(candidate_grid& g, int cell, int v);
// Works the places out again from cand, after cand was set by hand.
void refresh_places(candidate_grid& g);

inline int value_of_bit(int bit) {
    return std::countr_zero(static_cast<unsigned>(bit)) + 1;
}
// The number of values (or places) in a 9-bit set: a table, since the generic build has no
// instruction for it and the chains ask at every link.
inline int count_of(int bits) {
    return set_size[bits];
}
inline bool sees(int a, int b) {
    return a != b && ((peer_cells[a][b >> 6] >> (b & 63)) & 1) != 0;
}

// Regions are the units of core/grid.h: rows 0..8, columns 9..17, boxes 18..26; a region's
// cells in unit_cell order (a row left to right, a column top down, a box row by row).
constexpr int row_unit = 0;
constexpr int column_unit = 9;
constexpr int box_unit = 18;
inline constexpr int kinds_brc[3] = {box_unit, row_unit, column_unit};
inline constexpr int kinds_bcr[3] = {box_unit, column_unit, row_unit};
inline int unit_of(int kind, int cell) {
    return kind == row_unit      ? row_of[cell]
           : kind == column_unit ? 9 + col_of[cell]
                                 : 18 + box_of[cell];
}

// The places of v in a region, as a 9-bit set of positions in it.
inline int places_in(const candidate_grid& g, int unit, int v) {
    return g.places[unit][v];
}
// The number of empty cells of a region.
inline int empty_cells(const candidate_grid& g, int unit) {
    int empty = 0;
    for (int i = 0; i < 9; ++i) empty += g.value[unit_cell[unit][i]] == 0 ? 1 : 0;
    return empty;
}

inline int kind_of(int unit) {
    return unit >= box_unit ? box_unit : unit >= column_unit ? column_unit : row_unit;
}
// A cell's position in its region of a kind.
inline int position_in(int kind, int cell) {
    return kind == row_unit      ? col_of[cell]
           : kind == column_unit ? row_of[cell]
                                 : 3 * (row_of[cell] % 3) + col_of[cell] % 3;
}

// Removes v from the candidates of cell, and the cell from v's places.
inline void remove_candidate(candidate_grid& g, int cell, int v) {
    g.cand[cell] &= ~value_bit[v];
    g.places[row_of[cell]][v] &= ~(1 << col_of[cell]);
    g.places[9 + col_of[cell]][v] &= ~(1 << row_of[cell]);
    g.places[18 + box_of[cell]][v] &= ~(1 << (3 * (row_of[cell] % 3) + col_of[cell] % 3));
}

// For two regions, the positions in the first of the cells they share (0 when they do not
// cross, or are one region).
struct crossing_table {
    int positions[27][27];
};
constexpr crossing_table make_crossings() {
    crossing_table t{};
    for (int a = 0; a < 27; ++a) {
        for (int b = 0; b < 27; ++b) {
            if (a == b) continue;
            for (int i = 0; i < 9; ++i) {
                for (int cell : unit_cell[b]) {
                    if (cell == unit_cell[a][i]) t.positions[a][b] |= 1 << i;
                }
            }
        }
    }
    return t;
}
inline constexpr crossing_table crossing = make_crossings();

// The twenty peers of each cell in the order the techniques walk them: the cell's box in box
// order, then the rest of its row left to right, then the rest of its column top down.
struct peer_order_table {
    int cell[81][20];
};
constexpr peer_order_table make_peer_order() {
    peer_order_table t{};
    for (int cell = 0; cell < 81; ++cell) {
        int n = 0;
        for (int unit : {18 + box_of[cell], row_of[cell], 9 + col_of[cell]}) {
            for (int other : unit_cell[unit]) {
                bool listed = other == cell;
                for (int i = 0; i < n; ++i) listed = listed || t.cell[cell][i] == other;
                if (!listed) t.cell[cell][n++] = other;
            }
        }
    }
    return t;
}
inline constexpr peer_order_table peer_order = make_peer_order();

// The k-subsets of 0..n-1 in the order of their bit sets read as numbers ({0,1}, {0,2},
// {1,2}, {0,3}, ...): the next set after set with the same number of members, or a set with
// bit n or above when there is none. Start from (1 << k) - 1.
inline int next_subset(int set) {
    int low = set & -set;
    int ripple = set + low;
    return ripple | (((set ^ ripple) >> 2) / low);
}

// A set of candidates, a bit for each (cell, value): what a step removes.
struct candidate_set {
    std::uint64_t bits[12] = {};

    static int index(int cell, int v) { return cell * 9 + v - 1; }
    void add(int cell, int v) {
        int i = index(cell, v);
        bits[i >> 6] |= std::uint64_t{1} << (i & 63);
    }
    bool has(int cell, int v) const {
        int i = index(cell, v);
        return ((bits[i >> 6] >> (i & 63)) & 1) != 0;
    }
    bool empty() const {
        std::uint64_t any = 0;
        for (std::uint64_t word : bits) any |= word;
        return any == 0;
    }
    int size() const {
        int n = 0;
        for (std::uint64_t word : bits) n += std::popcount(word);
        return n;
    }
    bool operator==(const candidate_set&) const = default;
    // Calls visit(cell, v) for each, cells in order, values ascending within a cell.
    template <class Visit> void each(Visit visit) const {
        for (int w = 0; w < 12; ++w) {
            for (std::uint64_t word = bits[w]; word != 0; word &= word - 1) {
                int i = 64 * w + std::countr_zero(word);
                visit(i / 9, i % 9 + 1);
            }
        }
    }
};
