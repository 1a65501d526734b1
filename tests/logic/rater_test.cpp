#include "entry/puzzle_text.h"
#include "logic/rater.h"
#include "logic/techniques.h"
#include "render/steps.h"
#include "tests/support.h"

#include <cmath>
#include <fstream>
#include <set>
#include <string>

using RaterTest = Puzzle;

namespace {

int solution[81];

// Every placement is the solution's value, every removal a candidate the solution does not
// hold; each step changes something. Counts the steps that break this, and the techniques used.
class step_checker : public step_taker {
  public:
    bool take(const step& s, const candidate_grid& before) override {
        if (s.placed_cell >= 0 && solution[s.placed_cell] != s.placed_value) ++wrong;
        s.removed.each([&](int cell, int v) {
            if (solution[cell] == v || (before.cand[cell] & value_bit[v]) == 0) ++wrong;
        });
        if (s.placed_cell < 0 && s.removed.empty()) ++wrong;
        used.insert(technique_name(s));
        return take_next;
    }
    int wrong = 0;
    std::set<std::string> used;
    bool take_next = true;
};

// Lays a puzzle of digits and dots into cells and its one solution into solution.
void lay(const std::string& text, int* cells) {
    puzzle p{};
    char reason[96];
    ASSERT_EQ(lay_puzzle_text(p, text.c_str(), reason, sizeof reason), 1) << reason;
    std::memcpy(cells, p.grid, 81 * sizeof(int));
    class keep : public solution_taker {
      public:
        void take(const puzzle& q, int) override { std::memcpy(solution, q.grid, sizeof solution); }
    } kept;
    counter c;
    c.best_count = 1;
    c.show_solutions = &kept;
    ASSERT_EQ(count_solutions(p, c), 1);
}

void remove_from(candidate_grid& g, int v, std::initializer_list<int> cells) {
    for (int cell : cells) g.cand[cell] &= ~value_bit[v];
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

// A solution grid and, in every cell, its value and another that a second solution holds: a
// bivalue universal grave with no way out, which no puzzle with one solution can come to.
candidate_grid grave_of_two_solutions() {
    const char* rows =
        "123456789456789123789123456214365897365897214897214365531642978642978531978531642";
    candidate_grid g = open_grid();
    for (int cell = 0; cell < 81; ++cell) {
        int v = rows[cell] - '0';
        g.cand[cell] = value_bit[v] | value_bit[v % 9 + 1]; // the second solution: v + 1
    }
    return g;
}

} // namespace

// Over generated puzzles with one solution: every step is true to the solution, and every
// puzzle finishes. The last 33 were picked from many for their steps: between them they take
// every shape of the grave, the rectangle's type 3, unique loops, a hidden quad, each cycle and
// each dynamic chain.
TEST_F(RaterTest, EveryStepIsTrueToTheSolution) {
    std::ifstream file(std::string(VERBAGRID_SOURCE_DIR) + "/tests/logic/data/generated.txt");
    std::string line;
    int puzzles = 0;
    int finished = 0;
    rater r;
    step_checker checker;
    while (std::getline(file, line)) {
        SCOPED_TRACE(line);
        int cells[81];
        lay(line, cells);
        rating_outcome outcome = rate_puzzle(cells, r, &checker);
        EXPECT_GE(outcome.rating, 10);
        if (outcome.rating < scale.unfinished) ++finished;
        ++puzzles;
    }
    EXPECT_EQ(checker.wrong, 0);
    EXPECT_EQ(puzzles, 433);
    EXPECT_EQ(finished, puzzles);
    for (const char* name :
         {"hidden quad", "unique loop type 1", "unique rectangle type 3",
          "bivalue universal grave type 2", "x-cycle", "y-cycle", "dynamic double forcing chain"}) {
        EXPECT_TRUE(checker.used.count(name) == 1) << name;
    }
}

// Newspaper and forum puzzles with the ratings people quote for them: the same, to the tenth.
TEST_F(RaterTest, RatingsAgreeWithTheOnesQuoted) {
    std::ifstream file(std::string(VERBAGRID_SOURCE_DIR) + "/tests/logic/data/rated.txt");
    std::string line;
    int puzzles = 0;
    rater r;
    while (std::getline(file, line)) {
        SCOPED_TRACE(line);
        int cells[81];
        lay(line.substr(0, line.find(',')), cells);
        int quoted = static_cast<int>(std::lround(std::stod(line.substr(line.find(',') + 1)) * 10));
        EXPECT_EQ(rate_puzzle(cells, r).rating, quoted);
        ++puzzles;
    }
    EXPECT_EQ(puzzles, 12);
}

// A puzzle of the hardest kind, rated up to its first chain with techniques tried inside a
// supposition: every step before it and that one are true to the solution.
TEST_F(RaterTest, NestedChainsAreTrueToTheSolution) {
    int cells[81];
    lay(".....1..2.1..3..4.5..6.......4.....1.7..8..3.2.....6..9....2.......4..7...35..8..", cells);
    rater r;
    class until_nested : public step_checker {
      public:
        bool take(const step& s, const candidate_grid& before) override {
            step_checker::take(s, before);
            last = technique_name(s);
            const auto* chain = std::get_if<dynamic_shape>(&s.shape);
            return chain == nullptr || chain->level == 0;
        }
        std::string last;
    } checker;
    rate_puzzle(cells, r, &checker);
    EXPECT_EQ(checker.wrong, 0);
    EXPECT_EQ(checker.last, "dynamic contradiction forcing chain (+)");
}

// The length term: a tenth for each bound (4, 6, 8, 12, 16, 24, 32, 48, ...) that the nodes
// beyond two exceed, strictly.
TEST(Scale, ChainLengthTermAtItsBounds) {
    struct {
        int nodes;
        int tenths;
    } cases[] = {{2, 0},    {6, 0},    {7, 1},    {8, 1},   {9, 2},  {10, 2}, {11, 3},
                 {14, 3},   {15, 4},   {18, 4},   {19, 5},  {26, 5}, {27, 6}, {34, 6},
                 {35, 7},   {50, 7},   {51, 8},   {66, 8},  {67, 9}, {98, 9}, {99, 10},
                 {130, 10}, {131, 11}, {194, 11}, {195, 12}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nodes);
        EXPECT_EQ(length_steps(c.nodes), c.tenths);
        EXPECT_EQ(tenths_of(6.6 + length_term(c.nodes)), 66 + c.tenths);
    }
    // the tenths are added one by one, so a forcing x-chain of 7 nodes (6.6 + 0.1) sorts
    // before a cycle of 9 (6.5 + 0.1 + 0.1), whose rating prints the same
    EXPECT_LT(base_rating(technique::forcing_x_chain) + length_term(7),
              base_rating(technique::x_cycle) + length_term(9));
}

TEST(Scale, LevelsAtTheirBounds) {
    EXPECT_STREQ(level_of(14), "easy");
    EXPECT_STREQ(level_of(15), "medium");
    EXPECT_STREQ(level_of(24), "medium");
    EXPECT_STREQ(level_of(25), "hard");
    EXPECT_STREQ(level_of(49), "hard");
    EXPECT_STREQ(level_of(50), "diabolical");
    EXPECT_STREQ(level_of(200), "diabolical");
}

// Positions made by hand in an open grid, each where one technique is the first step taken:
// the step found, its rating, and what it changes.
TEST(Techniques, EachIsFoundFirstWhereItIsTheEasiest) {
    struct {
        const char* name;
        int rating;
        void (*make)(candidate_grid& g);
        int removed;
    } cases[] = {
        {"full house", 10,
         [](candidate_grid& g) {
             for (int c = 0; c < 8; ++c) place_candidate(g, c, c + 1);
         },
         0},
        {"hidden single", 12,
         [](candidate_grid& g) {
             remove_from(g, 5, {1, 2, 9, 10, 11, 18, 19, 20});
         },
         0},
        {"hidden single", 15,
         [](candidate_grid& g) {
             remove_from(g, 5, {1, 2, 3, 4, 5, 6, 7, 8});
         },
         0},
        {"direct pointing", 17,
         [](candidate_grid& g) {
             remove_from(g, 1, {9, 10, 11, 18, 19, 20});    // box 1: row 1 only
             remove_from(g, 1, {4, 5, 12, 13, 21, 22, 23}); // box 2: r1c4 and r2c5 only
         },
         0},
        {"naked single", 23, [](candidate_grid& g) { g.cand[40] = value_bit[5]; }, 0},
        {"pointing", 26,
         [](candidate_grid& g) {
             remove_from(g, 1, {9, 10, 11, 18, 19, 20});
         },
         6},
        {"claiming", 28,
         [](candidate_grid& g) {
             remove_from(g, 1, {3, 4, 5, 6, 7, 8});
         },
         6},
        {"naked pair", 30,
         [](candidate_grid& g) { g.cand[0] = g.cand[4] = value_bit[1] | value_bit[2]; }, 14},
        {"x-wing", 32,
         [](candidate_grid& g) {
             for (int row = 0; row < 9; ++row) {
                 if (row == 0 || row == 4) continue;
                 g.cand[9 * row] &= ~value_bit[7];
                 g.cand[9 * row + 4] &= ~value_bit[7];
             }
         },
         14},
        {"hidden pair", 34,
         [](candidate_grid& g) {
             for (int v : {1, 2}) remove_from(g, v, {1, 2, 4, 5, 6, 7, 8});
         },
         14},
        {"naked triple", 36,
         [](candidate_grid& g) {
             g.cand[0] = value_bit[1] | value_bit[2];
             g.cand[3] = value_bit[2] | value_bit[3];
             g.cand[6] = value_bit[1] | value_bit[3];
         },
         18},
        {"swordfish", 38,
         [](candidate_grid& g) {
             for (int col : {0, 3, 6}) {
                 for (int row : {1, 2, 4, 5, 7, 8}) g.cand[9 * row + col] &= ~value_bit[1];
             }
         },
         18},
        {"xy-wing", 42,
         [](candidate_grid& g) {
             g.cand[0] = value_bit[1] | value_bit[2];
             g.cand[4] = value_bit[1] | value_bit[3];
             g.cand[36] = value_bit[2] | value_bit[3];
         },
         1},
        {"xyz-wing", 44,
         [](candidate_grid& g) {
             g.cand[0] = value_bit[1] | value_bit[2] | value_bit[3];
             g.cand[10] = value_bit[2] | value_bit[3];
             g.cand[5] = value_bit[1] | value_bit[3];
         },
         2},
        {"unique rectangle type 1", 45,
         [](candidate_grid& g) {
             // r1c1, r1c4, r2c1 hold only 1 and 2, r2c4 also 3; no other cell of their row,
             // column or box has 1 or 2, so no subset or fish says anything new first
             for (int v : {1, 2}) {
                 remove_from(g, v,
                             {1, 2, 4, 5, 6, 7, 8, 10, 11, 18, 19, 20, 27, 36, 45, 54, 63, 72});
             }
             g.cand[0] = g.cand[3] = g.cand[9] = value_bit[1] | value_bit[2];
             g.cand[12] = value_bit[1] | value_bit[2] | value_bit[3];
         },
         2},
        {"naked quad", 50,
         [](candidate_grid& g) {
             g.cand[0] = value_bit[1] | value_bit[2];
             g.cand[3] = value_bit[2] | value_bit[3];
             g.cand[6] = value_bit[3] | value_bit[4];
             g.cand[8] = value_bit[1] | value_bit[4];
         },
         20},
        {"jellyfish", 52,
         [](candidate_grid& g) {
             for (int col : {0, 2, 4, 6}) {
                 for (int row : {1, 3, 5, 7, 8}) g.cand[9 * row + col] &= ~value_bit[1];
             }
         },
         20},
        {"unique loop type 1", 46,
         [](candidate_grid& g) {
             // a loop of six cells holding 1 and 2 in rows 1 to 3, columns 1, 4 and 7 and boxes
             // 1 to 3, r1c7 with 3 as well; 1 and 2 go from the cells around it where a naked
             // pair would take them, and stay in row 1 so that no hidden pair is there
             const int loop[] = {0, 9, 12, 21, 24, 6};
             for (int cell = 0; cell < 81; ++cell) {
                 if (row_of[cell] == 1 || row_of[cell] == 2 || col_of[cell] == 0 ||
                     col_of[cell] == 3 || box_of[cell] < 2) {
                     g.cand[cell] &= ~(value_bit[1] | value_bit[2]);
                 }
             }
             for (int cell : loop) g.cand[cell] = value_bit[1] | value_bit[2];
             g.cand[6] |= value_bit[3];
         },
         2},
        {"bivalue universal grave type 1", 56,
         [](candidate_grid& g) {
             g = grave_of_two_solutions();
             g.cand[2] |= value_bit[1]; // r1c3 holds 3 and 4 in the two solutions
         },
         2},
    };
    rater r;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        candidate_grid g = open_grid();
        c.make(g);
        refresh_places(g);
        step s;
        ASSERT_TRUE(first_step(g, r, s));
        EXPECT_EQ(technique_name(s), c.name);
        EXPECT_EQ(tenths_of(s.rating), c.rating);
        EXPECT_EQ(s.removed.size(), c.removed);
        EXPECT_EQ(s.placed_cell >= 0, tenths_of(s.rating) <= 23);
    }
}

// Uniqueness fires only where a pattern could swap and leave two solutions: four cells holding
// one pair in four boxes cannot (the pair would break a box), a grave that two solutions fill
// with nothing beyond the pairs leaves nothing to remove, and neither does a value beyond the
// pair in two cells that share nothing. A cell with three values beyond its pair keeps them.
TEST(Techniques, UniquenessFiresOnlyOnDeadlyPatterns) {
    class first : public step_sink {
      public:
        bool take(const step& s) override {
            found = s;
            fired = true;
            return false;
        }
        step found{};
        bool fired = false;
    };
    struct {
        const char* name;
        bool (*find)(const candidate_grid&, int, step_sink&);
        void (*make)(candidate_grid& g);
        int removed; // -1: it must not fire
    } cases[] = {
        {"a rectangle in two boxes", find_unique_loops,
         [](candidate_grid& g) {
             for (int cell : {0, 3, 9}) g.cand[cell] = value_bit[1] | value_bit[2];
             g.cand[12] = value_bit[1] | value_bit[2] | value_bit[3];
         },
         2},
        {"a rectangle in four boxes", find_unique_loops,
         [](candidate_grid& g) {
             for (int cell : {0, 4, 36}) g.cand[cell] = value_bit[1] | value_bit[2];
             g.cand[40] = value_bit[1] | value_bit[2] | value_bit[3];
         },
         -1},
        {"a grave and one value beyond it", find_grave,
         [](candidate_grid& g) {
             g = grave_of_two_solutions();
             g.cand[40] |= value_bit[5]; // r5c5 holds 9 and 1 in the two solutions
         },
         2},
        {"a grave and three values beyond it in one cell", find_grave,
         [](candidate_grid& g) {
             g = grave_of_two_solutions();
             g.cand[40] |= value_bit[2] | value_bit[3] | value_bit[4];
         },
         2},
        {"a grave and nothing beyond it", find_grave,
         [](candidate_grid& g) { g = grave_of_two_solutions(); }, -1},
        {"a grave and a value beyond it in two cells that share nothing", find_grave,
         [](candidate_grid& g) {
             g = grave_of_two_solutions();
             // r1c1 {1,2} and r5c5 {9,1} hold 7 beyond them; r1c5 and r5c1 see both, and
             // neither holds 7
             g.cand[0] |= value_bit[7];
             g.cand[40] |= value_bit[7];
         },
         -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        candidate_grid g = open_grid();
        c.make(g);
        refresh_places(g);
        first sink;
        c.find(g, 0, sink);
        EXPECT_EQ(sink.fired, c.removed >= 0);
        if (sink.fired) {
            EXPECT_EQ(sink.found.removed.size(), c.removed);
        }
    }
}
