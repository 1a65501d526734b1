// Aligned pair exclusion: two cells that share a box, a row or a column. Each way to fill both
// (x in the first, y in the second) must leave every cell that sees both a candidate: a cell
// whose candidates are all among x and y would be left with none, and x = y is no way at all
// where the two see each other. A candidate of one cell that belongs to no way left goes.
#include "logic/techniques.h"

#include <bit>
#include <cstdint>

namespace {

// The way x in a, y in b is open when a cell both see keeps a candidate beyond x and y.
bool way_is_open(const candidate_grid& g, int a, int x, int b, int y, const int* common,
                 int common_count) {
    if (x == y && sees(a, b)) return false;
    int both = value_bit[x] | value_bit[y];
    for (int k = 0; k < common_count; ++k) {
        if ((g.cand[common[k]] & ~both) == 0) return false;
    }
    return true;
}

} // namespace

bool find_aligned_pair_exclusion(const candidate_grid& g, int, step* s) {
    for (int a = 0; a < 81; ++a) {
        if (g.value[a] != 0) continue;
        for (int b = a + 1; b < 81; ++b) {
            if (g.value[b] != 0 || !sees(a, b)) continue;
            // the empty cells both see, once for every way to fill them
            int common[20];
            int common_count = 0;
            for (int cell = 0; cell < 81; ++cell) {
                if (g.value[cell] == 0 && cell != a && cell != b && sees(cell, a) &&
                    sees(cell, b)) {
                    common[common_count++] = cell;
                }
            }
            int open_a = 0;
            int open_b = 0;
            for (int x = 1; x <= 9; ++x) {
                if ((g.cand[a] & value_bit[x]) == 0) continue;
                for (int y = 1; y <= 9; ++y) {
                    if ((g.cand[b] & value_bit[y]) == 0) continue;
                    if (!way_is_open(g, a, x, b, y, common, common_count)) continue;
                    open_a |= value_bit[x];
                    open_b |= value_bit[y];
                }
            }
            clear_step(s, s->technique);
            for (int v = 1; v <= 9; ++v) {
                if ((open_a & value_bit[v]) == 0) add_removal(s, g, a, v);
                if ((open_b & value_bit[v]) == 0) add_removal(s, g, b, v);
            }
            if (s->removed_count == 0) continue;
            add_cause(s, a);
            add_cause(s, b);
            return true;
        }
    }
    clear_step(s, s->technique);
    return false;
}

// Aligned triple exclusion: the same for three cells joined by sight (each sees another of
// them). A way to fill them is closed when two that see each other hold the same value, or when
// a cell that sees some of them has no candidate beyond the values those hold.
namespace {

struct cover {
    int cand;
    int sees; // bits 0 to 2: which of the three it sees
};

bool joined(int a, int b, int c) {
    int links = (sees(a, b) ? 1 : 0) + (sees(a, c) ? 1 : 0) + (sees(b, c) ? 1 : 0);
    return links >= 2;
}

bool triple_way_is_open(const int* base, const int* value, const cover* covers, int count) {
    for (int i = 0; i < 3; ++i) {
        for (int j = i + 1; j < 3; ++j) {
            if (value[i] == value[j] && sees(base[i], base[j])) return false;
        }
    }
    for (int k = 0; k < count; ++k) {
        int held = 0;
        for (int i = 0; i < 3; ++i) {
            if ((covers[k].sees >> i & 1) != 0) held |= value_bit[value[i]];
        }
        if ((covers[k].cand & ~held) == 0) return false;
    }
    return true;
}

bool try_triple(const candidate_grid& g, const int* base, const int* small, int small_count,
                step* s) {
    // the cells three values could empty: those that see two or three of them, with at most
    // as many candidates
    cover covers[81];
    int count = 0;
    for (int k = 0; k < small_count; ++k) {
        int cell = small[k];
        if (cell == base[0] || cell == base[1] || cell == base[2]) continue;
        int seen = 0;
        for (int i = 0; i < 3; ++i) seen |= sees(cell, base[i]) ? 1 << i : 0;
        int bits_seen = std::popcount(static_cast<unsigned>(seen));
        if (bits_seen < 2 || std::popcount(static_cast<unsigned>(g.cand[cell])) > bits_seen) {
            continue;
        }
        covers[count++] = {g.cand[cell], seen};
    }
    if (count == 0) return false;
    int open[3] = {};
    int value[3];
    for (value[0] = 1; value[0] <= 9; ++value[0]) {
        if ((g.cand[base[0]] & value_bit[value[0]]) == 0) continue;
        for (value[1] = 1; value[1] <= 9; ++value[1]) {
            if ((g.cand[base[1]] & value_bit[value[1]]) == 0) continue;
            for (value[2] = 1; value[2] <= 9; ++value[2]) {
                if ((g.cand[base[2]] & value_bit[value[2]]) == 0) continue;
                if (!triple_way_is_open(base, value, covers, count)) continue;
                for (int i = 0; i < 3; ++i) open[i] |= value_bit[value[i]];
            }
        }
    }
    clear_step(s, s->technique);
    for (int i = 0; i < 3; ++i) {
        for (int v = 1; v <= 9; ++v) {
            if ((open[i] & value_bit[v]) == 0) add_removal(s, g, base[i], v);
        }
    }
    if (s->removed_count == 0) return false;
    for (int i = 0; i < 3; ++i) add_cause(s, base[i]);
    return true;
}

} // namespace

bool find_aligned_triple_exclusion(const candidate_grid& g, int, step* s) {
    int small[81]; // the empty cells with two or three candidates: the only ones to empty
    int small_count = 0;
    for (int cell = 0; cell < 81; ++cell) {
        int n = std::popcount(static_cast<unsigned>(g.cand[cell]));
        if (g.value[cell] == 0 && n >= 2 && n <= 3) small[small_count++] = cell;
    }
    // for each cell, which of those see it, as bits: a triple with none that sees two of its
    // cells has nothing to exclude
    std::uint64_t seen_by[81][2] = {};
    for (int k = 0; k < small_count; ++k) {
        for (int cell = 0; cell < 81; ++cell) {
            if (sees(cell, small[k]))
                seen_by[cell][small[k] >> 6] |= std::uint64_t{1} << (small[k] & 63);
        }
    }
    for (int a = 0; a < 81; ++a) {
        if (g.value[a] != 0) continue;
        for (int b = a + 1; b < 81; ++b) {
            if (g.value[b] != 0) continue;
            std::uint64_t ab[2] = {seen_by[a][0] & seen_by[b][0], seen_by[a][1] & seen_by[b][1]};
            for (int c = b + 1; c < 81; ++c) {
                if (g.value[c] != 0) continue;
                std::uint64_t some = ab[0] | ab[1] |
                                     ((seen_by[a][0] | seen_by[b][0]) & seen_by[c][0]) |
                                     ((seen_by[a][1] | seen_by[b][1]) & seen_by[c][1]);
                if (some == 0 || !joined(a, b, c)) continue;
                int base[3] = {a, b, c};
                if (try_triple(g, base, small, small_count, s)) return true;
            }
        }
    }
    clear_step(s, s->technique);
    return false;
}
