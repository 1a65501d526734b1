// The game's moves. Each goes through make_move, which records what every cell held before and
// after, so undo and redo only copy states back; a move that would change nothing is not made,
// and so never fills the history with steps that undo nothing.
#include "game/game.h"

#include "core/grid.h"
#include "core/text.h"

namespace {

// Whether the 81 values fill the grid as a sudoku: each value once in every region.
bool complete_sudoku(const int* values) {
    for (int unit = 0; unit < 27; ++unit) {
        int seen = 0;
        for (int cell : unit_cell[unit]) {
            int v = values[cell];
            if (v < 1 || v > 9) return false;
            seen |= value_bit[v];
        }
        if (seen != all_values) return false;
    }
    return true;
}

bool change_cell(game& g, int cell, cell_state after) {
    return make_move(g, game_move{{cell, g.cells[cell], after}});
}

} // namespace

bool start_game(game& g, const int* givens, const int* solution, const int* letters) {
    if (!complete_sudoku(solution)) return false;
    for (int cell = 0; cell < 81; ++cell) {
        if (givens[cell] != 0 && givens[cell] != solution[cell]) return false;
    }
    g = game{};
    for (int cell = 0; cell < 81; ++cell) {
        g.given[cell] = givens[cell];
        g.solution[cell] = solution[cell];
    }
    for (int v = 0; v <= 9; ++v) g.value_letter[v] = letters[v];
    return true;
}

bool make_move(game& g, const game_move& m) {
    game_move made;
    for (const cell_change& c : m) {
        if (c.cell < 0 || c.cell > 80 || g.given[c.cell] != 0) continue;
        if (g.cells[c.cell] == c.after) continue;
        made.push_back({c.cell, g.cells[c.cell], c.after});
        g.cells[c.cell] = c.after;
    }
    if (made.empty()) return false;
    g.done.push_back(std::move(made));
    g.undone.clear();
    return true;
}

bool enter_value(game& g, int cell, int v) {
    if (v < 1 || v > 9) return false;
    return change_cell(g, cell, {v, 0});
}

bool clear_cell(game& g, int cell) {
    cell_state now = g.cells[cell];
    if (now.entry != 0) return change_cell(g, cell, {0, now.marks});
    return change_cell(g, cell, {0, 0});
}

bool toggle_mark(game& g, int cell, int v) {
    cell_state now = g.cells[cell];
    if (v < 1 || v > 9 || now.entry != 0) return false;
    return change_cell(g, cell, {0, now.marks ^ value_bit[v]});
}

bool undo(game& g) {
    if (g.done.empty()) return false;
    game_move m = std::move(g.done.back());
    g.done.pop_back();
    // the cells go back in the opposite order: a move may change one cell twice
    for (auto c = m.rbegin(); c != m.rend(); ++c) g.cells[c->cell] = c->before;
    g.undone.push_back(std::move(m));
    return true;
}

bool redo(game& g) {
    if (g.undone.empty()) return false;
    game_move m = std::move(g.undone.back());
    g.undone.pop_back();
    for (const cell_change& c : m) g.cells[c.cell] = c.after;
    g.done.push_back(std::move(m));
    return true;
}

int wrong_entries(const game& g, int* cells) {
    int n = 0;
    for (int cell = 0; cell < 81; ++cell) {
        int v = g.cells[cell].entry;
        if (v != 0 && v != g.solution[cell]) cells[n++] = cell;
    }
    return n;
}

int wrong_marks(const game& g, int* cells) {
    int n = 0;
    for (int cell = 0; cell < 81; ++cell) {
        const cell_state& c = g.cells[cell];
        if (g.given[cell] != 0 || c.entry != 0 || c.marks == 0) continue;
        if ((c.marks & value_bit[g.solution[cell]]) == 0) cells[n++] = cell;
    }
    return n;
}

bool solved(const game& g) {
    for (int cell = 0; cell < 81; ++cell) {
        if (value_at(g, cell) != g.solution[cell]) return false;
    }
    return true;
}

char symbol_of(const game& g, int v) {
    if (v < 1 || v > 9) return ' ';
    int letter = g.value_letter[v];
    return letter != 0 ? to_upper(static_cast<char>(letter)) : static_cast<char>('0' + v);
}

int value_of_key(const game& g, int key) {
    if (key <= 0 || key > 127) return 0;
    char c = to_lower(static_cast<char>(key));
    for (int v = 1; v <= 9; ++v) {
        if (to_lower(symbol_of(g, v)) == c) return v;
    }
    return 0;
}
