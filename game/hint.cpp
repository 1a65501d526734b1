// Hints on the player's grid. Wrong entries and marks come first: the techniques assume a grid
// whose candidates hold the solution, and would teach nonsense from one that does not. Once the
// grid is sound, its candidates are the rater's from the givens and entries, narrowed by the
// player's marks, and the rater's first step is the hint.
#include "game/hint.h"

#include "core/text.h"
#include "render/steps.h"

#include <type_traits>

namespace {

void mark_unit(bool* cells, int unit) {
    for (int cell : unit_cell[unit]) cells[cell] = true;
}

// The cells of a line of a fish: rows when columns is false.
int line_unit(bool columns, int line) {
    return columns ? 9 + line : line;
}

// The cells and regions a step's shape uses.
void mark_shape(const step& s, const int* cand, bool* focus, bool* area) {
    std::visit(
        [&](const auto& p) {
            using shape = std::decay_t<decltype(p)>;
            if constexpr (std::is_same_v<shape, single_shape>) {
                focus[s.placed_cell] = true;
                if (p.unit >= 0) {
                    mark_unit(area, p.unit);
                } else {
                    mark_unit(area, row_of[s.placed_cell]);
                    mark_unit(area, 9 + col_of[s.placed_cell]);
                    mark_unit(area, 18 + box_of[s.placed_cell]);
                }
            } else if constexpr (std::is_same_v<shape, intersection_shape>) {
                mark_unit(area, p.from);
                mark_unit(area, p.to);
                for (int cell : unit_cell[p.from]) {
                    bool shared = false;
                    for (int other : unit_cell[p.to]) shared = shared || other == cell;
                    if (shared && (cand[cell] & value_bit[p.v]) != 0) focus[cell] = true;
                }
            } else if constexpr (std::is_same_v<shape, subset_shape>) {
                mark_unit(area, p.unit);
                for (int i = 0; i < 9; ++i) {
                    if ((p.positions >> i & 1) != 0) focus[unit_cell[p.unit][i]] = true;
                }
            } else if constexpr (std::is_same_v<shape, fish_shape>) {
                for (int line = 0; line < 9; ++line) {
                    if ((p.base >> line & 1) == 0) continue;
                    mark_unit(area, line_unit(p.columns, line));
                    for (int cell : unit_cell[line_unit(p.columns, line)]) {
                        if ((cand[cell] & value_bit[p.v]) != 0) focus[cell] = true;
                    }
                }
            } else if constexpr (std::is_same_v<shape, wing_shape>) {
                focus[p.pivot] = focus[p.pincer[0]] = focus[p.pincer[1]] = true;
            } else if constexpr (std::is_same_v<shape, loop_shape>) {
                for (int i = 0; i < p.size && i < 32; ++i) focus[p.cells[i]] = true;
            } else if constexpr (std::is_same_v<shape, grave_shape>) {
                for (int i = 0; i < p.count && i < 16; ++i) focus[p.cells[i]] = true;
            } else if constexpr (std::is_same_v<shape, exclusion_shape>) {
                for (int i = 0; i < p.count; ++i) focus[p.cells[i]] = true;
                for (int i = 0; i < p.excluder_count; ++i) area[p.excluders[i]] = true;
            } else if constexpr (std::is_same_v<shape, chain_shape>) {
                int n = p.length < max_chain_nodes ? p.length : max_chain_nodes;
                for (int i = 0; i < n; ++i) focus[p.nodes[i] / 2 / 9] = true;
            } else {
                if (p.unit >= 0) {
                    mark_unit(area, p.unit);
                } else {
                    focus[p.cell] = true;
                }
            }
        },
        s.shape);
}

std::string cells_named(const int* cells, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) text += i + 1 == count ? " and " : ", ";
        text += cell_name(cells[i]);
    }
    return text;
}

std::string capitalised(std::string text) {
    if (!text.empty()) text[0] = to_upper(text[0]);
    return text;
}

} // namespace

bool check_grid(const game& g, hint& h) {
    h.cell_count = wrong_entries(g, h.cells);
    if (h.cell_count > 0) {
        h.kind = hint_kind::wrong_entries;
        return true;
    }
    h.cell_count = wrong_marks(g, h.cells);
    if (h.cell_count > 0) {
        h.kind = hint_kind::wrong_marks;
        return true;
    }
    if (solved(g)) {
        h.kind = hint_kind::solved;
        return true;
    }
    return false;
}

bool find_step(const game& g, rater& r, hint& h) {
    int values[81];
    for (int cell = 0; cell < 81; ++cell) values[cell] = value_at(g, cell);
    candidate_grid grid;
    start_candidates(grid, values);
    for (int cell = 0; cell < 81; ++cell) {
        int marks = g.cells[cell].marks;
        if (values[cell] != 0 || marks == 0) continue;
        for (int v = 1; v <= 9; ++v) {
            bool dropped = (marks & value_bit[v]) == 0 && (grid.cand[cell] & value_bit[v]) != 0;
            if (dropped) remove_candidate(grid, cell, v);
        }
    }
    bool found = first_step(grid, r, h.found);
    if (rater_stopped(r)) return false;
    h.kind = found ? hint_kind::step : hint_kind::none;
    for (int cell = 0; cell < 81; ++cell) {
        h.cand[cell] = grid.cand[cell];
        h.focus[cell] = false;
        h.area[cell] = false;
    }
    if (found) mark_shape(h.found, h.cand, h.focus, h.area);
    return true;
}

std::string hint_title(const game&, const hint& h) {
    switch (h.kind) {
    case hint_kind::wrong_entries:
        return (h.cell_count > 1 ? "These entries differ" : "This entry differs") +
               std::string(" from the solution: ") + cells_named(h.cells, h.cell_count);
    case hint_kind::wrong_marks:
        return "The marks leave out the value of " + cells_named(h.cells, h.cell_count);
    case hint_kind::step:
        return capitalised(step_title(h.found));
    case hint_kind::solved:
        return "The puzzle is solved";
    default:
        return "No technique the rater knows finds a step here";
    }
}

std::string hint_words(const game& g, const hint& h) {
    if (h.kind != hint_kind::step) return hint_title(g, h);
    return capitalised(step_words(h.found, g.value_letter));
}

game_move hint_move(const game& g, const hint& h) {
    game_move m;
    if (h.kind != hint_kind::step) return m;
    cell_state after[81];
    bool touched[81] = {};
    for (int cell = 0; cell < 81; ++cell) after[cell] = g.cells[cell];
    h.found.removed.each([&](int cell, int v) {
        if (!touched[cell] && after[cell].marks == 0) after[cell].marks = h.cand[cell];
        touched[cell] = true;
        after[cell].marks &= ~value_bit[v];
    });
    if (h.found.placed_cell >= 0) {
        after[h.found.placed_cell] = {h.found.placed_value, 0};
        touched[h.found.placed_cell] = true;
    }
    for (int cell = 0; cell < 81; ++cell) {
        if (touched[cell]) m.push_back({cell, g.cells[cell], after[cell]});
    }
    return m;
}
