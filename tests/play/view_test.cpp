#include "entry/puzzle_text.h"
#include "play/memory_canvas.h"
#include "tests/game/games.h"

#include <memory>
#include <string>

using ViewTest = Puzzle;

namespace {

constexpr const char* digits =
    "4.....8.5.3..........7......2.....6.....8.4......1.......6.3.7.5..2.....1.4......";
constexpr const char* letters =
    ".o...l..ds.ai..lo.r...s.a...n...d..li...on..s.re..a.d..s...i.r..e.n...lo..r.e....";

struct size {
    int rows;
    int cols;
};
constexpr size compact{24, 80};
constexpr size large{40, 110};

} // namespace

TEST_F(ViewTest, ACellIsSelectedWhereverItIsDrawn) {
    // the cursor's cell is drawn in the cursor's look: exactly where a click selects that cell
    auto g = game_of(digits);
    for (size screen : {compact, large}) {
        memory_canvas c(screen.rows, screen.cols);
        for (int cell = 0; cell < 81; ++cell) {
            SCOPED_TRACE(std::to_string(screen.rows) + " rows, cell " + std::to_string(cell));
            g->cursor = cell;
            c.clear();
            draw_screen(c, *g, screen_state{});
            int wrong = 0;
            for (int row = 0; row < screen.rows; ++row) {
                for (int col = 0; col < screen.cols; ++col) {
                    bool drawn = (c.look_at(row, col) & look_cursor) != 0;
                    bool selects = cell_at(screen.rows, screen.cols, row, col) == cell;
                    wrong += drawn != selects ? 1 : 0;
                }
            }
            EXPECT_EQ(wrong, 0);
        }
    }
}

TEST_F(ViewTest, GivensEntriesAndMarksLookApart) {
    auto g = game_of(letters);
    int open = 0;
    while (g->given[open] != 0) ++open;
    int entered = open + 1;
    while (g->given[entered] != 0) ++entered;
    toggle_mark(*g, open, 1);
    toggle_mark(*g, open, 9);
    enter_value(*g, entered, g->solution[entered]);
    g->cursor = 80;
    memory_canvas c(large.rows, large.cols);
    draw_screen(c, *g, screen_state{});
    // cells a box apart in the large grid: r1c1 starts at row 3, column 2, and is 7 wide
    auto origin_row = [](int cell) { return 3 + 3 * (cell / 9) + cell / 27; };
    auto origin_col = [](int cell) { return 2 + 7 * (cell % 9) + cell % 9 / 3; };
    int given = 1; // r1c2, an O
    EXPECT_EQ(c.at(origin_row(given) + 1, origin_col(given) + 3), 'O');
    EXPECT_NE(c.look_at(origin_row(given) + 1, origin_col(given) + 3) & look_given, 0);
    EXPECT_NE(c.look_at(origin_row(entered) + 1, origin_col(entered) + 3) & look_entry, 0);
    // marks 1 and 9 at the corners of their cell's three rows
    EXPECT_EQ(c.at(origin_row(open), origin_col(open) + 1), symbol_of(*g, 1));
    EXPECT_EQ(c.at(origin_row(open) + 2, origin_col(open) + 5), symbol_of(*g, 9));
    EXPECT_NE(c.look_at(origin_row(open), origin_col(open) + 1) & look_mark, 0);
    // the compact grid has room for a sign that marks are there, and the panel lists them
    memory_canvas small(compact.rows, compact.cols);
    g->cursor = open;
    draw_screen(small, *g, screen_state{});
    EXPECT_EQ(small.at(3 + open / 9, 3 + 3 * (open % 9) + open % 9 / 3), ':');
    std::string marks = std::string("marks ") + symbol_of(*g, 1) + " " + symbol_of(*g, 9);
    EXPECT_NE(small.line(3).find(marks), std::string::npos) << small.line(3);
}

TEST_F(ViewTest, AHintLightsItsCellsAndAWrongEntryIsMarkedWhenChecked) {
    auto g = game_of(letters);
    hint h;
    rater r;
    ASSERT_TRUE(find_step(*g, r, h));
    screen_state s;
    s.stage = hint_stage::named;
    s.shown = &h;
    g->cursor = 80;
    memory_canvas c(compact.rows, compact.cols);
    draw_screen(c, *g, s);
    // a hidden single in box 1: r1c1 lit, the rest of box 1 its region, r1c4 neither
    EXPECT_NE(c.look_at(3, 3) & look_focus, 0);
    EXPECT_NE(c.look_at(4, 6) & look_area, 0);
    EXPECT_EQ(c.look_at(3, 13) & (look_area | look_focus), 0);
    EXPECT_NE(c.line(16).find("Hint: Hidden single in box 1"), std::string::npos) << c.line(16);
    int cell = 2; // r1c3, open
    enter_value(*g, cell, g->solution[cell] % 9 + 1);
    s = screen_state{};
    s.checked = true;
    c.clear();
    draw_screen(c, *g, s);
    EXPECT_NE(c.look_at(3, 9) & look_wrong, 0);
}

TEST_F(ViewTest, ATooSmallScreenSaysHowBigItMustBe) {
    auto g = game_of(digits);
    memory_canvas c(compact_rows - 1, compact_cols);
    draw_screen(c, *g, screen_state{});
    EXPECT_NE(c.chars().find("needs 66x22"), std::string::npos);
    EXPECT_EQ(c.chars().find('+'), std::string::npos) << "no grid";
    EXPECT_EQ(cell_at(compact_rows - 1, compact_cols, 3, 3), -1);
    EXPECT_EQ(cell_at(compact_rows, compact_cols, 3, 3), 0) << "one row more is enough";
}

TEST_F(ViewTest, KeysNameTheCtrlFormOfACommandLetterThatIsASymbol) {
    auto d = game_of(digits);
    auto l = game_of(letters); // o l d s a i r n e: l and r are symbols, p u c q are not
    std::string in_digits = keys_text(*d);
    std::string in_letters = keys_text(*l);
    for (const char* line : {"arrows hjkl   move", "123456789     enter", "r Ctrl-R      redo",
                             "p             pencil marks", "q Ctrl-C      quit"}) {
        EXPECT_NE(in_digits.find(line), std::string::npos) << line;
    }
    for (const char* line : {"arrows        move", "OLDSAIRNE     enter", "Ctrl-R        redo",
                             "u             undo"}) {
        EXPECT_NE(in_letters.find(line), std::string::npos) << line;
    }
}

TEST_F(ViewTest, TheClockShowsMinutesThenHours) {
    const struct {
        long long ms;
        const char* shown;
    } cases[] = {{0, "0:00"},          {999, "0:00"},          {65'000, "1:05"},
                 {3'599'999, "59:59"}, {3'723'000, "1:02:03"}, {360'000'000, "100:00:00"}};
    for (const auto& c : cases) EXPECT_EQ(clock_text(c.ms), c.shown) << c.ms;
}
