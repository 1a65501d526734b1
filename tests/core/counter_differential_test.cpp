// The fast count against the reading-order backtracking, on lay-outs the composer makes.
#include "tests/candidates.h"
#include "tests/support.h"

#include <string>

using CounterDifferentialTest = Puzzle;

namespace {

// Counts the loaded candidate one way at the given bound; the grid must come back untouched.
int count_one_way(bool fast, bool in_order, int bound) {
    int before[81];
    std::memcpy(before, grid, sizeof before);
    fast_counting = fast;
    show_solutions = in_order ? 1 : 0; // printing counts branch in reading order
    best_count = bound;
    solution_count = 0;
    count_solutions(0);
    show_solutions = 0;
    fast_counting = true;
    EXPECT_EQ(std::memcmp(before, grid, sizeof before), 0);
    return solution_count;
}

// The loaded candidate's listing at the solver's bound, as printed.
std::string listing(bool fast) {
    fast_counting = fast;
    show_solutions = 1;
    best_count = 9;
    solution_count = 0;
    testing::internal::CaptureStdout();
    count_solutions(0);
    show_solutions = 0;
    fast_counting = true;
    return testing::internal::GetCapturedStdout();
}

struct Corpus {
    const char* sentence;
    int candidates;     // lay-outs compared with the fast count's two branch orders
    int reading_order;  // of those, the first ones also counted in reading order
    int most_solutions; // above 0: only lay-outs with 1 to this many solutions are collected
};

// The reading-order count takes seconds on some lay-outs of the 20-letter sentence, so there
// only the first few are compared with it; all of them are compared across the fast count's
// two branch orders, which share the propagation but not the search.
const Corpus corpora[] = {
    {"oldsailorsandlionsreadsirenlore\n", 20000, 20000, 0},
    {"dearoldsailorslandonislesandreadlions\n", 20000, 20000, 0},
    {"mothercatsmashesthreeroses\n", 3000, 600, 0},
    {"silentsailorsrotates\n", 3000, 4, 0},
    // lay-outs that a listing prints whole, unique ones among them
    {"oldsailorsandlionsreadsirenlore\n", 400, 400, 10},
    {"mothercatsmashesthreeroses\n", 400, 400, 10},
};

} // namespace

TEST_F(CounterDifferentialTest, FastCountAgreesWithReadingOrderOnComposedLayouts) {
    int with_solutions = 0;
    int listed = 0;
    int unique = 0;
    for (const Corpus& corpus : corpora) {
        SCOPED_TRACE(corpus.sentence);
        int collected =
            collect_candidates(corpus.sentence, corpus.candidates, corpus.most_solutions);
        ASSERT_EQ(collected, corpus.candidates);
        int saved = divert_stdout(); // the printing counts list their solutions
        for (int i = 0; i < collected; ++i) {
            load_starter(candidate[i]);
            int solutions = 0;
            for (int bound : {9, 1}) {
                int fast = count_one_way(true, false, bound);
                EXPECT_EQ(count_one_way(true, true, bound), fast) << "lay-out " << i;
                if (i < corpus.reading_order) {
                    EXPECT_EQ(count_one_way(false, false, bound), fast) << "lay-out " << i;
                }
                if (bound == 9) solutions = fast;
            }
            with_solutions += solutions > 0;
            // a lay-out with one to ten solutions is listed whole: the same boards, in order
            if (i < corpus.reading_order && solutions > 0 && solutions <= 10) {
                EXPECT_EQ(listing(true), listing(false)) << "lay-out " << i;
                ++listed;
                unique += solutions == 1;
            }
            unload_starter(candidate[i]);
        }
        restore_stdout(saved);
    }
    // not all dead ends: thousands of the lay-outs have solutions to agree on
    EXPECT_GT(with_solutions, 1000);
    // and over a thousand are listed, the composer's unique ones among them
    EXPECT_GT(listed, 1000);
    EXPECT_GT(unique, 100);
}

namespace {

// The output of the first lay-outs of a composition, every more? answered yes, counted by
// jobs threads.
std::string first_layouts(const char* sentence, int layouts, bool fast, int jobs) {
    static char answers[2000];
    for (int i = 0; i < 1000; ++i) std::memcpy(answers + 2 * i, "y\n", 2);
    feed_stdin(answers, sizeof answers);
    fast_counting = fast;
    counting_jobs = jobs;
    layout_limit = layouts;
    random_state = 1;
    reset_puzzle();
    testing::internal::CaptureStdout();
    check_sentence(sentence, static_cast<int>(std::strlen(sentence)));
    run_composition(sentence, dialogue_news);
    layout_limit = max_tries + 1;
    counting_jobs = 1;
    fast_counting = true;
    return testing::internal::GetCapturedStdout();
}

} // namespace

// The memo answers most lay-outs of a composition; what it prints must not change by a byte,
// and neither must it when threads count the lay-outs.
// The measuring build counts every lay-out in reading order, without the memo. Sentences of
// 20 to 23 letters take it seconds a lay-out: the whole compositions of bench/ compare those.
TEST_F(CounterDifferentialTest, CompositionWithTheMemoPrintsWhatTheMeasuringBuildPrints) {
    const struct {
        const char* sentence;
        int layouts;
    } cases[] = {{"mothercatsmashesthreeroses\n", 3000},
                 {"oldsailorsandlionsreadsirenlore\n", 30000},
                 {"dearoldsailorslandonislesandreadlions\n", 100000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sentence);
        std::string with_memo = first_layouts(c.sentence, c.layouts, true, 1);
        int hits = memo_hits;
        EXPECT_EQ(with_memo, first_layouts(c.sentence, c.layouts, false, 1));
        // three counting threads, more than the cores, so that the order they finish in varies
        EXPECT_EQ(with_memo, first_layouts(c.sentence, c.layouts, true, 3));
        EXPECT_GT(hits, c.layouts / 2);
        EXPECT_NE(with_memo.find("found : best"), std::string::npos);
    }
}
