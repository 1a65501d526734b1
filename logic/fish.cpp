// Fish: when a value's places in n base lines (columns first, then rows) lie in n cover lines
// of the other direction, the value fills each cover line within the base lines, and cannot
// go elsewhere in them. n is 2 (x-wing), 3 (swordfish) or 4 (jellyfish).
#include "logic/techniques.h"

#include <bit>

bool find_fish(const candidate_grid& g, int size, step* s) {
    for (int columns = 1; columns >= 0; --columns) {
        int base_first = columns ? 9 : 0;
        int cover_first = columns ? 0 : 9;
        for (int v = 1; v <= 9; ++v) {
            int lines[9];
            int places[9];
            int count = 0;
            for (int line = 0; line < 9; ++line) {
                int p = places_in_unit(g, base_first + line, v);
                int n = std::popcount(static_cast<unsigned>(p));
                if (n >= 2 && n <= size) {
                    lines[count] = line;
                    places[count++] = p;
                }
            }
            // every choice of size base lines, by a bit set over the candidates' indices
            for (int pick = 0; pick < 1 << count; ++pick) {
                if (std::popcount(static_cast<unsigned>(pick)) != size) continue;
                int cover = 0;
                int base = 0;
                for (int k = 0; k < count; ++k) {
                    if ((pick >> k & 1) == 0) continue;
                    cover |= places[k];
                    base |= 1 << lines[k];
                }
                if (std::popcount(static_cast<unsigned>(cover)) != size) continue;
                clear_step(s, s->technique);
                for (int c = 0; c < 9; ++c) {
                    if ((cover >> c & 1) == 0) continue;
                    for (int i = 0; i < 9; ++i) {
                        if ((base >> i & 1) == 0) {
                            add_removal(s, g, unit_cell[cover_first + c][i], v);
                        } else if ((g.cand[unit_cell[cover_first + c][i]] & value_bit[v]) != 0) {
                            add_cause(s, unit_cell[cover_first + c][i]);
                        }
                    }
                }
                if (s->removed_count == 0) continue;
                s->values = value_bit[v];
                s->unit[0] = base_first; // the kind of the base lines: columns or rows
                s->unit[1] = cover_first;
                return true;
            }
        }
    }
    clear_step(s, s->technique);
    return false;
}
