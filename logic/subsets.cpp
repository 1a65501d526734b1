// Subsets in a unit: n cells whose candidates together are n values (naked) take those values
// from the unit's other cells; n values whose places together are n cells (hidden) take the
// other candidates out of those cells. A set is sought only where the unit has room for it
// (naked: at least twice its size in open cells; hidden: more than twice, unless direct), and
// each of its cells or values has two candidates at least. A direct hidden subset counts only
// when its removals leave another value a single place in the unit, and then places it.
#include "logic/techniques.h"

#include <bit>

namespace {

int bits(int set) {
    return std::popcount(static_cast<unsigned>(set));
}

// Picks members from items[from..count) into chosen until size are chosen, and calls try_set
// on each full choice; stops at the first that finds a step.
template <typename Try>
bool choose(const int* items, int count, int from, int size, int* chosen, int depth, Try& try_set) {
    if (depth == size) return try_set(chosen);
    for (int i = from; i < count; ++i) {
        chosen[depth] = items[i];
        if (choose(items, count, i + 1, size, chosen, depth + 1, try_set)) return true;
    }
    return false;
}

bool leaves_hidden_single(const candidate_grid& g, int unit, const step& s, step* out) {
    candidate_grid after = g;
    for (int i = 0; i < s.removed_count; ++i) {
        after.cand[s.removed_cell[i]] &= ~value_bit[s.removed_value[i]];
    }
    int placed = 0;
    for (int i = 0; i < 9; ++i) placed |= value_bit[g.value[unit_cell[unit][i]]];
    for (int v = 1; v <= 9; ++v) {
        if ((placed & value_bit[v]) != 0 || (s.values & value_bit[v]) != 0) continue;
        int places = places_in_unit(after, unit, v);
        if (bits(places) != 1) continue;
        add_placement(out, unit_cell[unit][std::countr_zero(static_cast<unsigned>(places))], v);
        return true;
    }
    return false;
}

} // namespace

bool find_naked_subset(const candidate_grid& g, int size, step* s) {
    for (int unit : search_order) {
        if (open_cells(g, unit) < 2 * size) continue;
        int items[9];
        int count = 0;
        for (int i = 0; i < 9; ++i) {
            int cell = unit_cell[unit][i];
            int n = bits(g.cand[cell]);
            if (g.value[cell] == 0 && n >= 2 && n <= size) items[count++] = cell;
        }
        int chosen[9];
        auto try_set = [&](const int* cells) {
            int values = 0;
            for (int k = 0; k < size; ++k) values |= g.cand[cells[k]];
            if (bits(values) != size) return false;
            clear_step(s, s->technique);
            for (int i = 0; i < 9; ++i) {
                int cell = unit_cell[unit][i];
                bool member = false;
                for (int k = 0; k < size; ++k) member |= cells[k] == cell;
                if (member) continue;
                for (int v = 1; v <= 9; ++v) {
                    if ((values & value_bit[v]) != 0) add_removal(s, g, cell, v);
                }
            }
            if (s->removed_count == 0) return false;
            s->unit[0] = unit;
            s->values = values;
            for (int k = 0; k < size; ++k) add_cause(s, cells[k]);
            return true;
        };
        if (choose(items, count, 0, size, chosen, 0, try_set)) return true;
    }
    clear_step(s, s->technique);
    return false;
}

bool find_hidden_subset(const candidate_grid& g, int size, step* s) {
    bool is_direct = size > direct;
    if (is_direct) size -= direct;
    for (int unit : search_order) {
        // with no more open cells than twice its size the naked set in the others is easier;
        // a direct set places a value, which no naked set this early does
        if (open_cells(g, unit) <= 2 * size && !is_direct) continue;
        int items[9];
        int count = 0;
        for (int v = 1; v <= 9; ++v) {
            int n = bits(places_in_unit(g, unit, v));
            if (n >= 2 && n <= size) items[count++] = v;
        }
        int chosen[9];
        auto try_set = [&](const int* values) {
            int places = 0;
            int value_set = 0;
            for (int k = 0; k < size; ++k) {
                places |= places_in_unit(g, unit, values[k]);
                value_set |= value_bit[values[k]];
            }
            if (bits(places) != size) return false;
            clear_step(s, s->technique);
            for (int i = 0; i < 9; ++i) {
                if ((places >> i & 1) == 0) continue;
                int cell = unit_cell[unit][i];
                for (int v = 1; v <= 9; ++v) {
                    if ((value_set & value_bit[v]) == 0) add_removal(s, g, cell, v);
                }
                add_cause(s, cell);
            }
            if (s->removed_count == 0) return false;
            s->unit[0] = unit;
            s->values = value_set;
            return !is_direct || leaves_hidden_single(g, unit, *s, s);
        };
        if (choose(items, count, 0, size, chosen, 0, try_set)) return true;
    }
    clear_step(s, s->technique);
    return false;
}
