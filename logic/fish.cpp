// Fish: when the places of a value in k base lines lie in k cover lines across them, the value
// fills the cover lines from the base lines, and goes from the rest of the cover lines. Columns
// are the base lines first, then rows; sets of lines in the order of their bit sets read as
// numbers, values ascending within each set.
#include "logic/scale.h"
#include "logic/techniques.h"

bool find_fish(const candidate_grid& g, int size, step_sink& sink) {
    technique id = size == 2   ? technique::x_wing
                   : size == 3 ? technique::swordfish
                               : technique::jellyfish;
    int placed[10] = {};
    for (int cell = 0; cell < 81; ++cell) ++placed[g.value[cell]];
    for (bool columns : {true, false}) {
        int base_kind = columns ? column_unit : row_unit;
        int cover_kind = columns ? row_unit : column_unit;
        for (int base = (1 << size) - 1; base < 512; base = next_subset(base)) {
            for (int v = 1; v <= 9; ++v) {
                if (placed[v] + 2 * size > 9) continue;
                int cover = 0;
                bool enough = true;
                for (int bits = base; bits != 0 && enough; bits &= bits - 1) {
                    int places =
                        g.places[base_kind + std::countr_zero(static_cast<unsigned>(bits))][v];
                    enough = count_of(places) >= 2;
                    cover |= places;
                }
                if (!enough || count_of(cover) != size) continue;
                step s = removal_step(id, base_rating(id), fish_shape{v, columns, base, cover});
                for (int bits = cover; bits != 0; bits &= bits - 1) {
                    int line = cover_kind + std::countr_zero(static_cast<unsigned>(bits));
                    // in a cover line, position i is base line i
                    for (int outside = g.places[line][v] & ~base; outside != 0;
                         outside &= outside - 1) {
                        s.removed.add(
                            unit_cell[line][std::countr_zero(static_cast<unsigned>(outside))], v);
                    }
                }
                if (!s.removed.empty() && !sink.take(s)) return true;
            }
        }
    }
    return false;
}
