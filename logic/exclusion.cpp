// Aligned exclusion: two or three cells, and the cells with few candidates that all of them
// see (the excluders). A way to fill the cells is ruled out when two of them that see each
// other take one value, or when it would take every candidate of an excluder. A candidate of
// the cells that no way left allowed goes. The cells need not see each other; pairs of cells in
// the order of their bit sets read as numbers, the cells with at least two candidates taken in
// reading order.
#include "logic/scale.h"
#include "logic/techniques.h"

namespace {

// The cells that may take part: two candidates or more, and some peer with at most widest
// candidates (an excluder), but no peer with one.
int base_cells(const candidate_grid& g, int widest, int* cells) {
    int count = 0;
    for (int cell = 0; cell < 81; ++cell) {
        if (count_of(g.cand[cell]) < 2) continue;
        bool excluder = false;
        bool single = false;
        for (int peer : peer_order.cell[cell]) {
            int n = count_of(g.cand[peer]);
            single = single || n == 1;
            excluder = excluder || (n >= 2 && n <= widest);
        }
        if (excluder && !single) cells[count++] = cell;
    }
    return count;
}

// The cells with two to widest candidates that see every cell of base.
int common_excluders(const candidate_grid& g, int widest, const int* base, int count,
                     int* excluders) {
    int n = 0;
    for (int peer : peer_order.cell[base[0]]) {
        int size = count_of(g.cand[peer]);
        bool all = size >= 2 && size <= widest;
        for (int i = 1; i < count && all; ++i) all = sees(peer, base[i]);
        if (all) excluders[n++] = peer;
    }
    return n;
}

// The candidates of the cells that some allowed way to fill them uses, cell by cell; a step
// removing the others, if there are any.
bool exclude(const candidate_grid& g, const int* cells, int count, const int* excluders,
             int excluder_count, step_sink& sink, bool& stopped) {
    int allowed[3] = {};
    int values[3] = {};
    int ways[3][9];
    int way_count[3] = {};
    for (int i = 0; i < count; ++i) {
        for (int bits = g.cand[cells[i]]; bits != 0; bits &= bits - 1) {
            ways[i][way_count[i]++] = value_of_bit(bits & -bits);
        }
    }
    int third = count == 3 ? way_count[2] : 1;
    for (int a = 0; a < way_count[0]; ++a) {
        for (int b = 0; b < way_count[1]; ++b) {
            for (int c = 0; c < third; ++c) {
                values[0] = ways[0][a];
                values[1] = ways[1][b];
                values[2] = count == 3 ? ways[2][c] : 0;
                bool forbidden = false;
                int taken = 0;
                for (int i = 0; i < count; ++i) {
                    taken |= value_bit[values[i]];
                    for (int k = i + 1; k < count; ++k) {
                        forbidden |= values[i] == values[k] && sees(cells[i], cells[k]);
                    }
                }
                for (int e = 0; e < excluder_count && !forbidden; ++e) {
                    forbidden = (g.cand[excluders[e]] & ~taken) == 0;
                }
                if (forbidden) continue;
                for (int i = 0; i < count; ++i) allowed[i] |= value_bit[values[i]];
            }
        }
    }
    technique id = count == 2 ? technique::aligned_pair_exclusion
                              : technique::aligned_triple_exclusion;
    exclusion_shape shape{};
    shape.count = count;
    for (int i = 0; i < count; ++i) shape.cells[i] = cells[i];
    shape.excluder_count = excluder_count;
    for (int e = 0; e < excluder_count; ++e) shape.excluders[e] = excluders[e];
    step s = removal_step(id, base_rating(id), shape);
    for (int i = 0; i < count; ++i) {
        for (int bits = g.cand[cells[i]] & ~allowed[i]; bits != 0; bits &= bits - 1) {
            s.removed.add(cells[i], value_of_bit(bits & -bits));
        }
    }
    if (s.removed.empty()) return false;
    stopped = !sink.take(s);
    return true;
}

// Walks the pairs of base cells, by their places in the list, in the order of their bit sets.
template <class Visit> bool each_pair(int count, Visit visit) {
    for (int second = 1; second < count; ++second) {
        for (int first = 0; first < second; ++first) {
            if (!visit(first, second)) return true;
        }
    }
    return false;
}

} // namespace

bool find_aligned_pair_exclusion(const candidate_grid& g, int, step_sink& sink) {
    int base[81];
    int count = base_cells(g, 2, base);
    return each_pair(count, [&](int first, int second) {
        int cells[2] = {base[first], base[second]};
        int excluders[20];
        int n = common_excluders(g, 2, cells, 2, excluders);
        bool stopped = false;
        if (n >= 2) exclude(g, cells, 2, excluders, n, sink, stopped);
        return !stopped;
    });
}

bool find_aligned_triple_exclusion(const candidate_grid& g, int, step_sink& sink) {
    int base[81];
    int count = base_cells(g, 3, base);
    bool is_base[81] = {};
    for (int i = 0; i < count; ++i) is_base[base[i]] = true;
    return each_pair(count, [&](int first, int second) {
        // the third cell: an excluder of the first or of the second, itself a base cell
        int pool[40];
        int pooled = 0;
        for (int from : {base[first], base[second]}) {
            for (int peer : peer_order.cell[from]) {
                int size = count_of(g.cand[peer]);
                if (size < 2 || size > 3 || !is_base[peer]) continue;
                if (peer == base[first] || peer == base[second]) continue;
                bool listed = false;
                for (int i = 0; i < pooled; ++i) listed = listed || pool[i] == peer;
                if (!listed) pool[pooled++] = peer;
            }
        }
        for (int i = 0; i < pooled; ++i) {
            int cells[3] = {base[first], base[second], pool[i]};
            int excluders[20];
            int n = common_excluders(g, 3, cells, 3, excluders);
            bool stopped = false;
            if (n >= 2) exclude(g, cells, 3, excluders, n, sink, stopped);
            if (stopped) return false;
        }
        return true;
    });
}
