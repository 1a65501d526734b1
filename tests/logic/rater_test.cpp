#include "entry/puzzle_text.h"
#include "logic/rating.h"
#include "tests/support.h"

#include <cmath>
#include <fstream>
#include <string>

using RaterTest = Puzzle;

namespace {

int solution[81];
int wrong_steps;
bool row_used[technique_count];

// Every placement is the solution's value, every removal a value the solution does not hold.
bool check_step(const step& s, const candidate_grid& before) {
    for (int i = 0; i < s.placed_count; ++i) {
        if (solution[s.placed_cell[i]] != s.placed_value[i]) ++wrong_steps;
    }
    for (int i = 0; i < s.removed_count; ++i) {
        if (solution[s.removed_cell[i]] == s.removed_value[i]) ++wrong_steps;
        if ((before.cand[s.removed_cell[i]] & value_bit[s.removed_value[i]]) == 0) ++wrong_steps;
    }
    if (s.placed_count + s.removed_count == 0) ++wrong_steps;
    row_used[s.technique] = true;
    return true;
}

void remove_from(candidate_grid* g, int v, std::initializer_list<int> cells) {
    for (int cell : cells) g->cand[cell] &= ~value_bit[v];
}

// A grid with every cell empty and every value a candidate, for positions made by hand.
candidate_grid open_grid() {
    candidate_grid g;
    for (int cell = 0; cell < 81; ++cell) {
        g.value[cell] = 0;
        g.cand[cell] = all_values;
    }
    return g;
}

} // namespace

// Over generated puzzles with one solution: every step is true to the solution, changes
// something, and a puzzle the techniques finish ends with its grid full. The last 33 were
// picked from many for their steps: between them they take every shape of the grave, the
// rectangle's type 3, unique loops, a hidden quad, each cycle and each dynamic chain's shape.
TEST_F(RaterTest, EveryStepIsTrueToTheSolution) {
    std::ifstream file(std::string(VERBAGRID_SOURCE_DIR) + "/tests/logic/data/generated.txt");
    std::string line;
    int puzzles = 0;
    int finished = 0;
    for (bool& used : row_used) used = false;
    while (std::getline(file, line)) {
        SCOPED_TRACE(line);
        reset_puzzle();
        char reason[96];
        ASSERT_EQ(lay_puzzle_text(line.c_str(), reason, sizeof reason), 1) << reason;
        int cells[81];
        std::memcpy(cells, grid, sizeof cells);
        ASSERT_EQ(list_up_to(1, [](int) { std::memcpy(solution, grid, sizeof solution); }), 1);
        wrong_steps = 0;
        rating_outcome outcome = rate_puzzle(cells, check_step);
        EXPECT_EQ(wrong_steps, 0);
        EXPECT_GE(outcome.rating, 10);
        if (outcome.rating < unfinished_rating) ++finished;
        ++puzzles;
    }
    EXPECT_EQ(puzzles, 433);
    EXPECT_EQ(finished, puzzles); // with the dynamic chains, every one of these
    // and every technique below the nested chains takes a step somewhere
    for (int row = 0; row < technique_count && technique_table[row].rating < 90; ++row) {
        EXPECT_TRUE(row_used[row]) << technique_table[row].name;
    }
}

// Newspaper and forum puzzles with the ratings people quote for them on this scale: the
// rating must be the same, to the tenth.
TEST_F(RaterTest, RatingsAgreeWithTheOnesQuoted) {
    std::ifstream file(std::string(VERBAGRID_SOURCE_DIR) + "/tests/logic/data/rated.txt");
    std::string line;
    int puzzles = 0;
    while (std::getline(file, line)) {
        SCOPED_TRACE(line);
        std::string text = line.substr(0, line.find(','));
        int quoted = std::lround(std::stod(line.substr(line.find(',') + 1)) * 10);
        reset_puzzle();
        char reason[96];
        ASSERT_EQ(lay_puzzle_text(text.c_str(), reason, sizeof reason), 1) << reason;
        int cells[81];
        std::memcpy(cells, grid, sizeof cells);
        EXPECT_EQ(rate_puzzle(cells).rating, quoted);
        ++puzzles;
    }
    EXPECT_EQ(puzzles, 12);
}

// A puzzle of the hardest kind, rated up to its first chain that uses other techniques inside
// a supposition: every step before it and that one are true to the solution.
TEST_F(RaterTest, NestedChainsAreTrueToTheSolution) {
    reset_puzzle();
    char reason[96];
    const char* text =
        "........1.....2.....1345.....36....7.2.....8.9.....5....6.7...3.8.....2.5.....9..";
    ASSERT_EQ(lay_puzzle_text(text, reason, sizeof reason), 1) << reason;
    int cells[81];
    std::memcpy(cells, grid, sizeof cells);
    ASSERT_EQ(list_up_to(1, [](int) { std::memcpy(solution, grid, sizeof solution); }), 1);
    wrong_steps = 0;
    static int last;
    rate_puzzle(cells, [](const step& s, const candidate_grid& before) {
        check_step(s, before);
        last = s.technique;
        return technique_table[s.technique].rating < 90;
    });
    EXPECT_EQ(wrong_steps, 0);
    EXPECT_STREQ(technique_table[last].name, "dynamic forcing chain (+)");
}

// Positions made by hand in an open grid, each where one technique is the first step the
// table takes: the step found, its rating, and what it changes.
TEST_F(RaterTest, EachTechniqueIsFoundFirstWhereItIsTheEasiest) {
    struct {
        const char* name;
        int rating;
        void (*make)(candidate_grid* g);
        int removed;
    } cases[] = {
        {"full house", 10,
         [](candidate_grid* g) {
             for (int c = 0; c < 8; ++c) place_candidate(g, c, c + 1);
         },
         0},
        {"hidden single", 12,
         [](candidate_grid* g) {
             remove_from(g, 5, {1, 2, 9, 10, 11, 18, 19, 20});
         },
         0},
        {"hidden single", 15,
         [](candidate_grid* g) {
             remove_from(g, 5, {1, 2, 3, 4, 5, 6, 7, 8});
         },
         0},
        {"direct pointing", 17,
         [](candidate_grid* g) {
             remove_from(g, 1, {9, 10, 11, 18, 19, 20});    // box 1: row 1 only
             remove_from(g, 1, {4, 5, 12, 14, 21, 22, 23}); // box 2: r1c4 and r2c5 only
         },
         4},
        {"naked single", 23, [](candidate_grid* g) { g->cand[40] = value_bit[5]; }, 0},
        {"pointing", 26,
         [](candidate_grid* g) {
             remove_from(g, 1, {9, 10, 11, 18, 19, 20});
         },
         6},
        {"claiming", 28,
         [](candidate_grid* g) {
             remove_from(g, 1, {3, 4, 5, 6, 7, 8});
         },
         6},
        {"naked pair", 30,
         [](candidate_grid* g) { g->cand[0] = g->cand[4] = value_bit[1] | value_bit[2]; }, 14},
        {"x-wing", 32,
         [](candidate_grid* g) {
             for (int row = 0; row < 9; ++row) {
                 if (row == 0 || row == 4) continue;
                 g->cand[9 * row] &= ~value_bit[7];
                 g->cand[9 * row + 4] &= ~value_bit[7];
             }
         },
         14},
        {"hidden pair", 34,
         [](candidate_grid* g) {
             for (int v : {1, 2}) remove_from(g, v, {1, 2, 4, 5, 6, 7, 8});
         },
         14},
        {"naked triple", 36,
         [](candidate_grid* g) {
             g->cand[0] = value_bit[1] | value_bit[2];
             g->cand[3] = value_bit[2] | value_bit[3];
             g->cand[6] = value_bit[1] | value_bit[3];
         },
         18},
        {"swordfish", 38,
         [](candidate_grid* g) {
             for (int col : {0, 3, 6}) {
                 for (int row : {1, 2, 4, 5, 7, 8}) g->cand[9 * row + col] &= ~value_bit[1];
             }
         },
         18},
        {"xy-wing", 42,
         [](candidate_grid* g) {
             g->cand[0] = value_bit[1] | value_bit[2];
             g->cand[4] = value_bit[1] | value_bit[3];
             g->cand[36] = value_bit[2] | value_bit[3];
         },
         1},
        {"xyz-wing", 44,
         [](candidate_grid* g) {
             g->cand[0] = value_bit[1] | value_bit[2] | value_bit[3];
             g->cand[10] = value_bit[2] | value_bit[3];
             g->cand[5] = value_bit[1] | value_bit[3];
         },
         2},
        {"unique rectangle", 45,
         [](candidate_grid* g) {
             // r1c1, r1c4, r2c1 hold only 1 and 2, r2c4 also 3; no other cell of their row,
             // column or box has 1 or 2, so no subset or fish says anything new first
             for (int v : {1, 2}) {
                 remove_from(g, v,
                             {1, 2, 4, 5, 6, 7, 8, 10, 11, 18, 19, 20, 27, 36, 45, 54, 63, 72});
             }
             g->cand[0] = g->cand[3] = g->cand[9] = value_bit[1] | value_bit[2];
             g->cand[12] = value_bit[1] | value_bit[2] | value_bit[3];
         },
         2},
        {"naked quad", 50,
         [](candidate_grid* g) {
             g->cand[0] = value_bit[1] | value_bit[2];
             g->cand[3] = value_bit[2] | value_bit[3];
             g->cand[6] = value_bit[3] | value_bit[4];
             g->cand[8] = value_bit[1] | value_bit[4];
         },
         20},
        {"jellyfish", 52,
         [](candidate_grid* g) {
             for (int col : {0, 2, 4, 6}) {
                 for (int row : {1, 3, 5, 7, 8}) g->cand[9 * row + col] &= ~value_bit[1];
             }
         },
         20},
        {"unique rectangle", 46,
         [](candidate_grid* g) {
             // a loop of six cells holding 1 and 2 in rows 1 to 3, columns 1, 4 and 7 and boxes
             // 1 to 3, r1c7 with 3 as well; 1 and 2 go from the cells around it where a naked
             // pair would take them, and stay in row 1 so that no hidden pair is there
             const int loop[] = {0, 9, 12, 21, 24, 6};
             for (int cell = 0; cell < 81; ++cell) {
                 if (row_of[cell] == 1 || row_of[cell] == 2 || col_of[cell] == 0 ||
                     col_of[cell] == 3 || box_of[cell] < 2) {
                     g->cand[cell] &= ~(value_bit[1] | value_bit[2]);
                 }
             }
             for (int cell : loop) g->cand[cell] = value_bit[1] | value_bit[2];
             g->cand[6] |= value_bit[3];
         },
         2},
        {"bidirectional y-cycle", 66,
         [](candidate_grid* g) {
             // r1c1 {1,2}, r1c5 {2,3}, r5c5 {3,4}, r5c1 {4,1}: eight nodes round
             g->cand[0] = value_bit[1] | value_bit[2];
             g->cand[4] = value_bit[2] | value_bit[3];
             g->cand[40] = value_bit[3] | value_bit[4];
             g->cand[36] = value_bit[4] | value_bit[1];
         },
         28},
        {"bidirectional x-cycle", 65,
         [](candidate_grid* g) {
             // 1 has two places in row 1 (c1, c5), column 6 (r2, r8) and column 2 (r3, r8):
             // r1c1 = r1c5 - r2c6 = r8c6 - r8c2 = r3c2 - r1c1 closes, and its weak links in
             // box 1, row 8 and box 2 hold both ways
             for (int i = 0; i < 9; ++i) {
                 if (i != 0 && i != 4) g->cand[i] &= ~value_bit[1];
                 if (i != 1 && i != 7) g->cand[9 * i + 5] &= ~value_bit[1];
                 if (i != 2 && i != 7) g->cand[9 * i + 1] &= ~value_bit[1];
             }
         },
         15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        candidate_grid g = open_grid();
        c.make(&g);
        step s;
        int row = first_step(g, &s);
        ASSERT_GE(row, 0);
        EXPECT_STREQ(technique_table[row].name, c.name);
        EXPECT_EQ(s.rating, c.rating);
        EXPECT_EQ(s.removed_count, c.removed);
        EXPECT_EQ(s.placed_count, s.rating <= 23 ? 1 : 0);
    }
}

TEST_F(RaterTest, LevelsAtTheirBounds) {
    EXPECT_STREQ(level_of(14), "easy");
    EXPECT_STREQ(level_of(15), "medium");
    EXPECT_STREQ(level_of(25), "hard");
    EXPECT_STREQ(level_of(50), "diabolical");
}
