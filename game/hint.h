// Hints that teach: what is wrong with the player's grid, or else the rater's first step on it,
// with the cells and regions it uses, its name and where to look, its words, and the move that
// applies it. The step is found on the player's own grid (givens and entries, each cell's
// candidates narrowed to its marks where it has some), so it follows on from what they did.
#pragma once

#include "game/game.h"
#include "logic/rater.h"

#include <string>

enum class hint_kind {
    none,          // the techniques find no step
    wrong_entries, // entries that differ from the solution: no technique starts from those
    wrong_marks,   // marks that leave out a cell's value
    step,          // the rater's step
    solved,
};

struct hint {
    hint_kind kind = hint_kind::none;
    int cells[81] = {}; // wrong_entries, wrong_marks: the cells
    int cell_count = 0;
    step found{};        // step: the step, as the rater found it
    int cand[81] = {};   // step: the candidates it was found in
    bool focus[81] = {}; // step: the cells it uses
    bool area[81] = {};  // step: the cells of the regions it works in
};

// What is wrong with the grid, if anything: wrong entries first, then marks. True when the hint
// is one of those, or says the puzzle is solved; then no step is needed.
bool check_grid(const game& g, hint& h);
// The rater's first step on the grid, which check_grid found sound. False when the search was
// cut short (a signal, or the rater's cancel); else h is a step, or none.
bool find_step(const game& g, rater& r, hint& h);

std::string hint_title(const game& g, const hint& h); // what to look at, and where
std::string hint_words(const game& g, const hint& h); // the whole step in words
// The move that carries the step out: its placement as an entry, its removals taken from the
// marks (a cell without marks gets its candidates, less those removed). Empty for other hints.
game_move hint_move(const game& g, const hint& h);
