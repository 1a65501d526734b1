// Shared by the game's tests and the screen's: a game of a puzzle written as text.
#pragma once

#include "entry/puzzle_text.h"
#include "game/game.h"
#include "tests/support.h"

#include <memory>

// A new game of a puzzle in text (digits or letters, '.' for an open cell) with one solution.
inline std::unique_ptr<game> game_of(const char* text) {
    puzzle p{};
    char reason[96];
    EXPECT_EQ(lay_puzzle_text(p, text, reason, sizeof reason), 1) << reason;
    int givens[81];
    std::memcpy(givens, p.grid, sizeof givens);
    int solution[81] = {};
    solution_copier copy(solution);
    counter c;
    c.best_count = 1;
    c.show_solutions = &copy;
    EXPECT_EQ(count_solutions(p, c), 1);
    auto g = std::make_unique<game>();
    EXPECT_TRUE(start_game(*g, givens, solution, p.value_letter));
    return g;
}
