#include "console/interrupt.h"
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

void load(const char* text) {
    ASSERT_TRUE(load_starter(text));
}

// Counts the loaded starter both ways and checks they agree and leave the grid untouched.
int count_both_ways(int bound) {
    int before[81];
    std::memcpy(before, grid, sizeof before);
    int results[2];
    for (int fast = 0; fast < 2; ++fast) {
        fast_counting = fast == 1;
        best_count = bound;
        solution_count = 0;
        count_solutions(0);
        results[fast] = solution_count;
        EXPECT_EQ(std::memcmp(before, grid, sizeof before), 0);
        EXPECT_TRUE(sets_match_grid());
    }
    EXPECT_EQ(results[0], results[1]) << "bound " << bound;
    return results[1];
}

} // namespace

TEST_F(CounterTest, CompleteGridHasOneSolutionAndPrintsIt) {
    load(solved);
    show_solutions = 1;
    best_count = 9;
    testing::internal::CaptureStdout();
    count_solutions(0);
    std::string text = testing::internal::GetCapturedStdout();
    EXPECT_EQ(solution_count, 1);
    EXPECT_EQ(text.substr(0, 16), "\n-- sol (1)\n  \n\n");
    EXPECT_EQ(text.substr(16, 24), "5 3 4   6 7 8   9 1 2   ");
}

TEST_F(CounterTest, EmptyGridStopsAfterTheTenthSolutionInOrder) {
    show_solutions = 1;
    best_count = 9;
    std::string listings[2];
    for (int fast = 0; fast < 2; ++fast) {
        SCOPED_TRACE(fast);
        fast_counting = fast == 1;
        solution_count = 0;
        testing::internal::CaptureStdout();
        count_solutions(0);
        std::string text = testing::internal::GetCapturedStdout();
        EXPECT_EQ(solution_count, 10);
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
        reset_puzzle();
        char padded[82];
        std::memset(padded, '.', 81);
        padded[81] = 0;
        std::memcpy(padded, c.starter, std::strlen(c.starter));
        load(padded);
        EXPECT_EQ(count_both_ways(c.bound), c.expected);
    }
}

TEST_F(CounterTest, NoSolutionPrintsNothing) {
    load(hard_no_solution);
    show_solutions = 1;
    testing::internal::CaptureStdout();
    count_solutions(0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(solution_count, 0);
}

TEST_F(CounterTest, StopFlagEndsACountAtOnceWithTheGridRestored) {
    stop_flag = 1;
    best_count = 9;
    count_solutions(0);
    EXPECT_EQ(solution_count, 0);
    stop_flag = 0;
    // an interrupt during a count that would otherwise run for ages: 2^31 solutions sought
    for (int fast = 0; fast < 2; ++fast) {
        SCOPED_TRACE(fast);
        fast_counting = fast == 1;
        stop_flag = 0;
        solution_count = 0;
        best_count = 2'000'000'000;
        std::signal(SIGALRM, on_interrupt);
        itimerval timer = {};
        timer.it_value.tv_usec = 50'000;
        setitimer(ITIMER_REAL, &timer, nullptr);
        count_solutions(0);
        std::signal(SIGINT, SIG_DFL);
        EXPECT_EQ(stop_flag, 1);
        EXPECT_GT(solution_count, 0);
        EXPECT_LT(solution_count, best_count);
        for (int cell = 0; cell < 81; ++cell) ASSERT_EQ(grid[cell], 0) << cell;
        EXPECT_TRUE(sets_match_grid());
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
        reset_puzzle();
        load(c.puzzle);
        long long before = measuring_nodes();
        int counted = count_up_to(c.solutions - 1);
        long long count_cost = measuring_nodes() - before;
        before = measuring_nodes();
        int listed = list_up_to(c.solutions, [](int) {});
        long long list_cost = measuring_nodes() - before;
        EXPECT_EQ(counted, c.solutions);
        EXPECT_EQ(listed, c.solutions);
        // here about 40 times a count; a listing that walks dead subtrees runs for minutes
        EXPECT_LE(list_cost, 100 * (count_cost + 10));
    }
}
