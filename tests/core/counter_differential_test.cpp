// The fast count against the reading-order backtracking, on lay-outs the composer makes.
#include "console/composer_dialogue.h"
#include "render/board.h"
#include "tests/candidates.h"
#include "tests/support.h"

#include <string>

using CounterDifferentialTest = Puzzle;

namespace {

// Ignores the solutions of a listing, which branches in reading order.
class ignore_solutions : public solution_taker {
  public:
    void take(const puzzle&, int) override {}
};

// Counts p one way at the given bound; the grid must come back untouched.
int count_one_way(puzzle& p, bool fast, bool listing, int bound) {
    int before[81];
    std::memcpy(before, p.grid, sizeof before);
    ignore_solutions ignored;
    counter c;
    c.in_reading_order = !fast;
    c.show_solutions = listing ? &ignored : nullptr;
    c.best_count = bound;
    count_solutions(p, c);
    EXPECT_EQ(std::memcmp(before, p.grid, sizeof before), 0);
    return c.solution_count;
}

// p's listing at the solver's bound, as printed.
std::string listing(puzzle& p, bool fast) {
    solution_writer writer(stdout);
    counter c;
    c.in_reading_order = !fast;
    c.show_solutions = &writer;
    testing::internal::CaptureStdout();
    count_solutions(p, c);
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
        for (int i = 0; i < collected; ++i) {
            load_starter(p, candidate[i]);
            int solutions = 0;
            for (int bound : {9, 1}) {
                int fast = count_one_way(p, true, false, bound);
                EXPECT_EQ(count_one_way(p, true, true, bound), fast) << "lay-out " << i;
                if (i < corpus.reading_order) {
                    EXPECT_EQ(count_one_way(p, false, false, bound), fast) << "lay-out " << i;
                }
                if (bound == 9) solutions = fast;
            }
            with_solutions += solutions > 0;
            // a lay-out with one to ten solutions is listed whole: the same boards, in order
            if (i < corpus.reading_order && solutions > 0 && solutions <= 10) {
                EXPECT_EQ(listing(p, true), listing(p, false)) << "lay-out " << i;
                ++listed;
                unique += solutions == 1;
            }
            unload_starter(p, candidate[i]);
        }
    }
    // not all dead ends: thousands of the lay-outs have solutions to agree on
    EXPECT_GT(with_solutions, 1000);
    // and over a thousand are listed, the composer's unique ones among them
    EXPECT_GT(listed, 1000);
    EXPECT_GT(unique, 100);
}

namespace {

// The output of the first lay-outs of a composition, every more? answered yes, counted by
// jobs threads; the memo's hits into hits.
std::string first_layouts(const char* sentence, int layouts, bool fast, int jobs, int* hits) {
    static char answers[2000];
    for (int i = 0; i < 1000; ++i) std::memcpy(answers + 2 * i, "y\n", 2);
    feed_stdin(answers, sizeof answers);
    auto p = std::make_unique<puzzle>();
    auto composing = std::make_unique<composition>(jobs);
    composing->in_reading_order = !fast;
    composing->layout_limit = layouts;
    dialogue_news news;
    news.in_reading_order = !fast;
    testing::internal::CaptureStdout();
    int dist = check_sentence(*p, sentence, static_cast<int>(std::strlen(sentence)));
    composing->run(*p, sentence, dist, news);
    *hits = composing->memo_hits();
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
        int hits = 0;
        int other_hits = 0;
        std::string with_memo = first_layouts(c.sentence, c.layouts, true, 1, &hits);
        EXPECT_EQ(with_memo, first_layouts(c.sentence, c.layouts, false, 1, &other_hits));
        // three counting threads, more than the cores, so that the order they finish in varies
        EXPECT_EQ(with_memo, first_layouts(c.sentence, c.layouts, true, 3, &other_hits));
        EXPECT_GT(hits, c.layouts / 2);
        EXPECT_NE(with_memo.find("found : best"), std::string::npos);
    }
}
