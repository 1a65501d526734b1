// Aligned exclusion: two or three cells, and the cells with few candidates that all of them
// see (the excluders). A way to fill the cells is ruled out when two of them that see each
// other take one value, or when it would take every candidate of an excluder. A candidate of
// the cells that no way left allowed goes. The cells need not see each other; pairs of cells in
// the order of their bit sets read as numbers, the cells with at least two candidates taken in
// reading order.
#include "logic/scale.h"
#include "logic/techniques.h"

namespace {

struct cell_set {
    std::uint64_t half[2] = {};
    void add(int cell) { half[cell >> 6] |= std::uint64_t{1} << (cell & 63); }
    bool has(int cell) const { return ((half[cell >> 6] >> (cell & 63)) & 1) != 0; }
    cell_set operator&(const cell_set& o) const {
        cell_set r;
        r.half[0] = half[0] & o.half[0];
        r.half[1] = half[1] & o.half[1];
        return r;
    }
    int size() const { return std::popcount(half[0]) + std::popcount(half[1]); }
};

// The cells that may take part: two candidates or more, and some peer with at most widest
// candidates (an excluder), but no peer with one. Each one's excluders go into excluders.
int base_cells(const candidate_grid& g, int widest, int* cells, cell_set* excluders) {
    int count = 0;
    for (int cell = 0; cell < 81; ++cell) {
        if (count_of(g.cand[cell]) < 2) continue;
        cell_set found;
        bool single = false;
        for (int peer : peer_order.cell[cell]) {
            int n = count_of(g.cand[peer]);
            single = single || n == 1;
            if (n >= 2 && n <= widest) found.add(peer);
        }
        if (found.size() == 0 || single) continue;
        excluders[cell] = found;
        cells[count++] = cell;
    }
    return count;
}

// The cells of a set in order; their number.
int cells_of(const cell_set& set, int* cells) {
    return cells_in(set.half, cells);
}

// The candidates of the cells that some allowed way to fill them uses, cell by cell; a step
// removing the others, if there are any.
bool exclude(const candidate_grid& g, const int* cells, int count, const int* excluders,
             int excluder_count, step_sink& sink, bool& stopped) {
    int allowed[3] = {};
    bool seeing[3] = {sees(cells[0], cells[1]), count == 3 && sees(cells[0], cells[2]),
                      count == 3 && sees(cells[1], cells[2])};
    int masks[20];
    for (int e = 0; e < excluder_count; ++e) masks[e] = g.cand[excluders[e]];
    int third = count == 3 ? g.cand[cells[2]] : 0;
    for (int xs = g.cand[cells[0]]; xs != 0; xs &= xs - 1) {
        int x = xs & -xs;
        for (int ys = g.cand[cells[1]]; ys != 0; ys &= ys - 1) {
            int y = ys & -ys;
            if (x == y && seeing[0]) continue;
            // what an excluder leaves beside x and y: nothing rules the two out whatever the
            // third cell takes; one value rules that value out for it
            int taken = x | y;
            bool forbidden = false;
            int ruled_out = 0;
            for (int e = 0; e < excluder_count && !forbidden; ++e) {
                int rest = masks[e] & ~taken;
                forbidden = rest == 0;
                if ((rest & (rest - 1)) == 0) ruled_out |= rest;
            }
            if (forbidden) continue;
            int zs = third & ~ruled_out;
            if (seeing[1]) zs &= ~x;
            if (seeing[2]) zs &= ~y;
            if (count == 3 && zs == 0) continue;
            allowed[0] |= x;
            allowed[1] |= y;
            allowed[2] |= zs;
        }
    }
    technique id =
        count == 2 ? technique::aligned_pair_exclusion : technique::aligned_triple_exclusion;
    exclusion_shape shape{};
    shape.count = count;
    for (int i = 0; i < count; ++i) shape.cells[i] = cells[i];
    shape.excluder_count = excluder_count;
    for (int e = 0; e < excluder_count; ++e) shape.excluders[e] = excluders[e];
    step s = removal_step(id, base_rating(id), shape);
    for (int i = 0; i < count; ++i) {
        for (int set = g.cand[cells[i]] & ~allowed[i]; set != 0; set &= set - 1) {
            s.removed.add(cells[i], value_of_bit(set & -set));
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
    cell_set excluders[81];
    int count = base_cells(g, 2, base, excluders);
    return each_pair(count, [&](int first, int second) {
        cell_set common = excluders[base[first]] & excluders[base[second]];
        if (common.size() < 2) return true;
        int cells[2] = {base[first], base[second]};
        int listed[81];
        int n = cells_of(common, listed);
        bool stopped = false;
        exclude(g, cells, 2, listed, n, sink, stopped);
        return !stopped;
    });
}

bool find_aligned_triple_exclusion(const candidate_grid& g, int, step_sink& sink) {
    int base[81];
    cell_set excluders[81];
    int count = base_cells(g, 3, base, excluders);
    cell_set is_base;
    for (int i = 0; i < count; ++i) is_base.add(base[i]);
    return each_pair(count, [&](int first, int second) {
        int a = base[first];
        int b = base[second];
        cell_set pair_common = excluders[a] & excluders[b];
        if (pair_common.size() < 2) return true; // the three share no more than the two
        // the third cell: an excluder of the first or of the second, itself a base cell, the
        // first's in its peer order, then the second's
        cell_set listed;
        for (int from : {a, b}) {
            for (int third : peer_order.cell[from]) {
                if (!excluders[from].has(third) || !is_base.has(third) || third == a ||
                    third == b || listed.has(third)) {
                    continue;
                }
                listed.add(third);
                cell_set common = pair_common & excluders[third];
                if (common.size() < 2) continue;
                int cells[3] = {a, b, third};
                int found[81];
                int n = cells_of(common, found);
                bool stopped = false;
                exclude(g, cells, 3, found, n, sink, stopped);
                if (stopped) return false;
            }
        }
        return true;
    });
}
