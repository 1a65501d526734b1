// Singles: the last empty cell of a region (a full house), a value with one place left in a
// region (a hidden single), a cell with one candidate left (a naked single). Every full house
// comes before any hidden single; regions go boxes, columns, rows, values ascending.
#include "logic/scale.h"
#include "logic/techniques.h"

namespace {

// The values with exactly one place in the region.
int lone_values(const candidate_grid& g, int unit) {
    int once = 0;
    int more = 0;
    for (int cell : unit_cell[unit]) {
        more |= once & g.cand[cell];
        once |= g.cand[cell];
    }
    return once & ~more;
}

} // namespace

bool find_hidden_singles(const candidate_grid& g, int, step_sink& sink) {
    for (int pass = 0; pass < 2; ++pass) {
        for (int kind : kinds_bcr) {
            for (int unit = kind; unit < kind + 9; ++unit) {
                int empty = empty_cells(g, unit);
                if (pass == 0 ? empty != 1 : empty < 2) continue;
                for (int lone = lone_values(g, unit); lone != 0; lone &= lone - 1) {
                    int v = value_of_bit(lone & -lone);
                    int cell =
                        unit_cell[unit]
                                 [std::countr_zero(static_cast<unsigned>(places_in(g, unit, v)))];
                    technique id = pass == 0          ? technique::full_house
                                   : kind == box_unit ? technique::hidden_single_box
                                                      : technique::hidden_single_line;
                    if (!sink.take(
                            placement_step(id, base_rating(id), cell, v, single_shape{unit}))) {
                        return true;
                    }
                }
            }
        }
    }
    return false;
}

bool find_naked_singles(const candidate_grid& g, int, step_sink& sink) {
    for (int cell = 0; cell < 81; ++cell) {
        if (g.value[cell] != 0 || count_of(g.cand[cell]) != 1) continue;
        step s = placement_step(technique::naked_single, base_rating(technique::naked_single), cell,
                                value_of_bit(g.cand[cell]), single_shape{-1});
        if (!sink.take(s)) return true;
    }
    return false;
}
