#include "entry/puzzle_text.h"
#include "game/hint.h"
#include "game/save.h"
#include "tests/game/games.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>

using GameTest = Puzzle;

namespace {

constexpr const char* easy =
    "4.....8.5.3..........7......2.....6.....8.4......1.......6.3.7.5..2.....1.4......";
constexpr const char* letters = // a starter of "oldsailorsandlionsreadsirenlore", rated 7.1
    ".o...l..ds.ai..lo.r...s.a...n...d..li...on..s.re..a.d..s...i.r..e.n...lo..r.e....";

int first_open(const game& g) {
    int cell = 0;
    while (g.given[cell] != 0) ++cell;
    return cell;
}

int wrong_value(const game& g, int cell) {
    return g.solution[cell] % 9 + 1;
}

} // namespace

TEST_F(GameTest, MovesChangeOnlyOpenCellsAndSkipWhatChangesNothing) {
    auto g = game_of(easy);
    int cell = first_open(*g);
    int given = 0;
    EXPECT_FALSE(enter_value(*g, given, 1)) << "a given stays";
    EXPECT_TRUE(toggle_mark(*g, cell, 2));
    EXPECT_TRUE(toggle_mark(*g, cell, 5));
    EXPECT_EQ(g->cells[cell].marks, value_bit[2] | value_bit[5]);
    EXPECT_TRUE(enter_value(*g, cell, 7));
    EXPECT_EQ(g->cells[cell], (cell_state{7, 0})) << "an entry replaces the marks";
    EXPECT_FALSE(enter_value(*g, cell, 7)) << "the same value again is no move";
    EXPECT_FALSE(toggle_mark(*g, cell, 3)) << "no marks under an entry";
    EXPECT_TRUE(clear_cell(*g, cell));
    EXPECT_FALSE(clear_cell(*g, cell)) << "an empty cell has nothing to clear";
    EXPECT_EQ(g->done.size(), 4u);
}

TEST_F(GameTest, UndoAndRedoWalkEveryKindOfMove) {
    auto g = game_of(letters);
    int a = first_open(*g);
    int b = a + 1;
    while (g->given[b] != 0) ++b;
    cell_state start[81];
    std::copy(g->cells, g->cells + 81, start);
    toggle_mark(*g, a, 3);
    enter_value(*g, b, 4);
    toggle_mark(*g, a, 6);
    clear_cell(*g, b);
    make_move(*g, {{a, g->cells[a], {0, 0}}, {b, g->cells[b], {9, 0}}});
    cell_state end[81];
    std::copy(g->cells, g->cells + 81, end);
    int moves = static_cast<int>(g->done.size());
    ASSERT_EQ(moves, 5);
    for (int i = 0; i < moves; ++i) EXPECT_TRUE(undo(*g));
    EXPECT_FALSE(undo(*g));
    EXPECT_TRUE(std::equal(start, start + 81, g->cells));
    for (int i = 0; i < moves; ++i) EXPECT_TRUE(redo(*g));
    EXPECT_FALSE(redo(*g));
    EXPECT_TRUE(std::equal(end, end + 81, g->cells));
    // a new move after undo forgets what could be redone
    undo(*g);
    toggle_mark(*g, a, 1);
    EXPECT_FALSE(redo(*g));
}

TEST_F(GameTest, WrongEntriesAndMarksAreFoundAndSolvedNeedsEveryCell) {
    auto g = game_of(easy);
    int cell = first_open(*g);
    int cells[81];
    enter_value(*g, cell, wrong_value(*g, cell));
    ASSERT_EQ(wrong_entries(*g, cells), 1);
    EXPECT_EQ(cells[0], cell);
    clear_cell(*g, cell);
    toggle_mark(*g, cell, wrong_value(*g, cell));
    ASSERT_EQ(wrong_marks(*g, cells), 1) << "marks without the cell's value";
    toggle_mark(*g, cell, g->solution[cell]);
    EXPECT_EQ(wrong_marks(*g, cells), 0);
    for (int c = 0; c < 81; ++c) {
        if (c != cell && g->given[c] == 0) enter_value(*g, c, g->solution[c]);
    }
    EXPECT_FALSE(solved(*g));
    enter_value(*g, cell, g->solution[cell]);
    EXPECT_TRUE(solved(*g));
}

TEST_F(GameTest, KeysEnterTheSymbolsInEitherCase) {
    auto g = game_of(letters);
    auto d = game_of(easy);
    struct {
        const game* g;
        int key;
        int v;
    } cases[] = {
        {g.get(), 'o', 1}, {g.get(), 'O', 1},  {g.get(), 'l', 2},
        {g.get(), 'x', 0}, {g.get(), '1', 0},  {d.get(), '4', 4},
        {d.get(), 'a', 0}, {d.get(), 0x1B, 0}, {d.get(), 400, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(value_of_key(*c.g, c.key), c.v);
    }
    EXPECT_EQ(symbol_of(*g, 1), 'O');
    EXPECT_EQ(symbol_of(*d, 7), '7');
}

TEST_F(GameTest, ASavedGameReadsBackTheSame) {
    auto g = game_of(letters);
    int a = first_open(*g);
    toggle_mark(*g, a, 2);
    toggle_mark(*g, a, 8);
    enter_value(*g, a + 1 + (g->given[a + 1] != 0), 5);
    make_move(*g, {{a, g->cells[a], {0, 511}}});
    undo(*g);
    g->played_ms = 123456;
    g->rating = 71;
    g->cursor = 17;
    g->origin = "oldsailors";
    std::string text = save_text(*g);
    game back;
    std::string why;
    ASSERT_TRUE(read_save(text, back, &why)) << why;
    EXPECT_EQ(save_text(back), text);
    EXPECT_EQ(save_name(back), save_name(*g));
    // the history works on the game read back as it did before
    EXPECT_TRUE(redo(back));
    EXPECT_EQ(back.cells[a].marks, 511);
    EXPECT_EQ(back.done.size(), g->done.size() + 1);
}

TEST_F(GameTest, ADamagedSaveIsRefusedWithItsLineAndLeavesTheGameAsItWas) {
    auto g = game_of(easy);
    enter_value(*g, first_open(*g), 3);
    const std::string text = save_text(*g);
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string damaged = text;
        damaged.replace(damaged.find(from), from.size(), to);
        return damaged;
    };
    struct {
        const char* what;
        std::string text;
        const char* where;
    } cases[] = {
        {"empty", "", "line 0"},
        {"another format", "verbagrid game 2\n" + text.substr(17), "line 1"},
        {"cut short", text.substr(0, text.size() - 4), "line"},
        {"no end", text.substr(0, text.size() - 4) + "more\n", "'end' expected"},
        {"more after the end", text + "more\n", "after 'end'"},
        {"a given changed", replaced("givens 4", "givens 5"), "does not solve"},
        {"marks out of range", replaced("marks 0", "marks 512"), "line 6"},
        {"a cursor off the grid", replaced("cursor 40", "cursor 81"), "line 7"},
        {"a move on a given", replaced("move 1\n1 ", "move 1\n0 "), "changes a given"},
        {"a count of moves too high", replaced("done 1", "done 2"), "'move' expected"},
        {"a word that is no number", replaced("played 0", "played zero"), "line 8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        game kept = *g;
        std::string why;
        EXPECT_FALSE(read_save(c.text, kept, &why));
        EXPECT_NE(why.find(c.where), std::string::npos) << why << " (expected " << c.where << ")";
        EXPECT_EQ(save_text(kept), text) << "the game read into is left as it was";
    }
}

TEST_F(GameTest, HintsAppliedOneAfterAnotherSolveThePuzzleSoundly) {
    // from singles to dynamic chains (the last is rated 9.1 by the reference)
    for (const char* text :
         {easy, letters,
          "..3..........6..7.1.972.3..4...9.8.22.......1......43.7...8......41..9.......2.85"}) {
        SCOPED_TRACE(text);
        auto g = game_of(text);
        rater r;
        hint h;
        int steps = 0;
        while (!check_grid(*g, h) && steps < 400) {
            ASSERT_TRUE(find_step(*g, r, h));
            ASSERT_EQ(h.kind, hint_kind::step) << "a step on every sound grid of these";
            EXPECT_FALSE(hint_title(*g, h).empty());
            game_move m = hint_move(*g, h);
            ASSERT_TRUE(make_move(*g, m)) << "each hint changes the grid";
            ++steps;
        }
        EXPECT_EQ(h.kind, hint_kind::solved) << hint_title(*g, h);
        // a removal taken from a cell without marks pencils in the rest of its candidates
        int marked = 0;
        for (const cell_state& c : g->cells) marked += c.marks != 0 ? 1 : 0;
        EXPECT_EQ(marked, 0) << "an entry replaces the marks";
    }
}

TEST_F(GameTest, AHintPointsOutWrongEntriesBeforeAnyStep) {
    auto g = game_of(letters);
    int cell = first_open(*g);
    enter_value(*g, cell, wrong_value(*g, cell));
    hint h;
    ASSERT_TRUE(check_grid(*g, h));
    EXPECT_EQ(h.kind, hint_kind::wrong_entries);
    EXPECT_EQ(hint_title(*g, h), "This entry differs from the solution: r1c1");
    EXPECT_TRUE(hint_move(*g, h).empty()) << "nothing to apply";
    clear_cell(*g, cell);
    toggle_mark(*g, cell, wrong_value(*g, cell));
    ASSERT_TRUE(check_grid(*g, h));
    EXPECT_EQ(hint_title(*g, h), "The marks leave out the value of r1c1");
}

TEST_F(GameTest, AHintNamesTheStepThenSaysItInTheLetters) {
    auto g = game_of(letters);
    rater r;
    hint h;
    ASSERT_FALSE(check_grid(*g, h));
    ASSERT_TRUE(find_step(*g, r, h));
    EXPECT_EQ(hint_title(*g, h), "Hidden single in box 1");
    EXPECT_EQ(hint_words(*g, h), "In box 1 only r1c1 can be E");
    int focused = 0;
    for (bool f : h.focus) focused += f ? 1 : 0;
    EXPECT_GT(focused, 0);
}

TEST_F(GameTest, AHintSeesThePlayersMarks) {
    auto g = game_of(easy);
    int cell = first_open(*g);
    toggle_mark(*g, cell, g->solution[cell]);
    rater r;
    hint h;
    ASSERT_TRUE(find_step(*g, r, h));
    EXPECT_EQ(h.cand[cell], value_bit[g->solution[cell]]);
    EXPECT_EQ(h.kind, hint_kind::step);
}

TEST_F(GameTest, ACancelledRaterStopsAndFindsNoStep) {
    // no single or simple technique here: the first step needs chains
    auto g = game_of(
        "........1.....2.3...4.5.6....57......1...8...7..59.4....96..5...3........4.....82");
    std::atomic<bool> cancel{true};
    rater r;
    r.cancel = &cancel;
    rating_outcome outcome = rate_puzzle(g->given, r);
    EXPECT_TRUE(outcome.stopped);
    cancel = false;
    std::thread later([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        cancel = true;
    });
    outcome = rate_puzzle(g->given, r);
    later.join();
    EXPECT_TRUE(outcome.stopped) << "a rating of the hardest puzzle outlasts 20 ms";
}
