#include "render/board.h"
#include "tests/support.h"

#include <csignal>
#include <string>
#include <sys/time.h>

using CounterTest = Puzzle;

namespace {

const char solved[] =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";
// the solved grid with a rectangle of two swappable values blanked: exactly two solutions
const char two_solutions[] =
    "53467891267219534819834256785976.42.42685.79.713924856961537284287419635345286179";
// no solution, and deep enough that counting in reading order takes a second
const char hard_no_solution[] =
    "......1.2......3.....4...5..6.....17.....2......38.....9......1......986..7641...";

void load(puzzle& p, const char* text) {
    ASSERT_TRUE(load_starter(p, text));
}

// Counts the loaded starter both ways and checks they agree and leave the grid untouched.
int count_both_ways(puzzle& p, int bound) {
    int before[81];
    std::memcpy(before, p.grid, sizeof before);
    int results[2];
    for (int fast = 0; fast < 2; ++fast) {
        results[fast] = count_up_to(p, bound, fast == 0);
        EXPECT_EQ(std::memcmp(before, p.grid, sizeof before), 0);
        EXPECT_TRUE(sets_match_grid(p));
    }
    EXPECT_EQ(results[0], results[1]) << "bound " << bound;
    return results[1];
}

// Lists p's solutions, at most bound + 1, as the dialogue prints them.
std::string listed(puzzle& p, counter& c) {
    solution_writer writer(stdout);
    c.show_solutions = &writer;
    testing::internal::CaptureStdout();
    count_solutions(p, c);
    c.show_solutions = nullptr;
    return testing::internal::GetCapturedStdout();
}

// The handler as the dialogue installs it, for a signal a test sends itself.
extern "C" void stop_on_alarm(int signal) {
    on_stop_signal(signal);
}

} // namespace

TEST_F(CounterTest, CompleteGridHasOneSolutionAndPrintsIt) {
    load(p, solved);
    counter c;
    std::string text = listed(p, c);
    EXPECT_EQ(c.solution_count, 1);
    EXPECT_EQ(text.substr(0, 16), "\n-- sol (1)\n  \n\n");
    EXPECT_EQ(text.substr(16, 24), "5 3 4   6 7 8   9 1 2   ");
}

TEST_F(CounterTest, EmptyGridStopsAfterTheTenthSolutionInOrder) {
    std::string listings[2];
    for (int fast = 0; fast < 2; ++fast) {
        SCOPED_TRACE(fast);
        counter c;
        c.in_reading_order = fast == 0;
        std::string text = listed(p, c);
        EXPECT_EQ(c.solution_count, 10);
        EXPECT_NE(text.find("\n-- sol (10)\n"), std::string::npos);
        EXPECT_EQ(text.find("\n-- sol (11)\n"), std::string::npos);
        const char* first_rows[] = {
            "\n1 2 3   4 5 6   7 8 9   \n4 5 6   7 8 9   1 2 3   \n7 8 9   1 2 3   4 5 6   \n\n",
            "2 1 4   3 6 5   8 9 7   \n3 6 5   8 9 7   2 1 4   \n8 9 7   2 1 4   3 6 5   \n\n",
            "5 3 1   6 4 2   9 7 8   \n6 4 2   9 7 8   5 3 1   \n9 7 8   5 3 1   6 4 2 \n"};
        std::string first = std::string("\n-- sol (1)\n  \n") + first_rows[0] + first_rows[1] +
                            first_rows[2] + "\n-- sol (2)\n";
        EXPECT_EQ(text.substr(0, first.size()), first);
        listings[fast] = text;
    }
    EXPECT_EQ(listings[1], listings[0]); // all ten boards, in the same order
}

TEST_F(CounterTest, BoundAndNoSolutionCasesAgreeBothWays) {
    struct Case {
        const char* starter;
        int bound;
        int expected;
    } cases[] = {
        {two_solutions, 9, 2},
        {two_solutions, 1, 2},
        {two_solutions, 0, 1},
        {solved, 9, 1},
        {hard_no_solution, 9, 0},
        // a cell with no fitting value: row 0 holds 1..8, column 8 holds the 9
        {"12345678.........9", 9, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.starter);
        reset_puzzle(p);
        char padded[82];
        std::memset(padded, '.', 81);
        padded[81] = 0;
        std::memcpy(padded, c.starter, std::strlen(c.starter));
        load(p, padded);
        EXPECT_EQ(count_both_ways(p, c.bound), c.expected);
    }
}

TEST_F(CounterTest, NoSolutionPrintsNothing) {
    load(p, hard_no_solution);
    counter c;
    EXPECT_EQ(listed(p, c), "");
    EXPECT_EQ(c.solution_count, 0);
}

TEST_F(CounterTest, StopFlagEndsACountAtOnceWithTheGridRestored) {
    stop_flag = 1;
    EXPECT_EQ(count_up_to(p, 9), 0);
    stop_flag = 0;
    // an interrupt during a count that would otherwise run for ages: 2^31 solutions sought
    for (int fast = 0; fast < 2; ++fast) {
        SCOPED_TRACE(fast);
        counter c;
        c.in_reading_order = fast == 0;
        c.best_count = 2'000'000'000;
        stop_flag = 0;
        std::signal(SIGALRM, stop_on_alarm);
        itimerval timer = {};
        timer.it_value.tv_usec = 50'000;
        setitimer(ITIMER_REAL, &timer, nullptr);
        count_solutions(p, c);
        std::signal(SIGALRM, SIG_DFL);
        EXPECT_EQ(stop_flag, 1);
        EXPECT_GT(c.solution_count, 0);
        EXPECT_LT(c.solution_count, c.best_count);
        for (int cell = 0; cell < 81; ++cell) ASSERT_EQ(p.grid[cell], 0) << cell;
        EXPECT_TRUE(sets_match_grid(p));
    }
}

// A listing enters a value only where a solution lies below it, so it costs a few counts per
// solution, whatever dead ends the puzzle holds: a listing that walked into subtrees it knows
// to be empty would still list the same solutions, only slower, which no output shows.
TEST_F(CounterTest, ListingCostsAFewCountsPerSolution) {
    const struct {
        const char* puzzle;
        int solutions;
    } cases[] = {
        {two_solutions, 2},
        {"a-b---cd-------------------------------------------------------------------------", 50},
        {"------------------------------------------------------"
         "-75------------624---389---",
         10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.puzzle);
        reset_puzzle(p);
        load(p, c.puzzle);
        counter counting;
        counting.best_count = c.solutions - 1;
        int counted = count_solutions(p, counting);
        long long count_cost = counting.nodes;
        class ignore : public solution_taker {
          public:
            void take(const puzzle&, int) override {}
        } ignored;
        counter listing;
        listing.best_count = c.solutions - 1;
        listing.show_solutions = &ignored;
        int listed_count = count_solutions(p, listing);
        long long list_cost = listing.nodes;
        EXPECT_EQ(counted, c.solutions);
        EXPECT_EQ(listed_count, c.solutions);
        // here about 40 times a count; a listing that walks dead subtrees runs for minutes
        EXPECT_LE(list_cost, 100 * (count_cost + 10));
    }
}
