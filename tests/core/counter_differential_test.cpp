// The fast count against the reading-order backtracking, on lay-outs the composer makes.
#include "tests/candidates.h"
#include "tests/support.h"

#include <cstdio>

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

struct Corpus {
    const char* sentence;
    int candidates;    // lay-outs compared with the fast count's two branch orders
    int reading_order; // of those, the first ones also counted in reading order
};

// The reading-order count takes seconds on some lay-outs of the 20-letter sentence, so there
// only the first few are compared with it; all of them are compared across the fast count's
// two branch orders, which share the propagation but not the search.
const Corpus corpora[] = {
    {"oldsailorsandlionsreadsirenlore\n", 6000, 6000},
    {"dearoldsailorslandonislesandreadlions\n", 6000, 6000},
    {"mothercatsmashesthreeroses\n", 3000, 600},
    {"silentsailorsrotates\n", 3000, 4},
};

} // namespace

TEST_F(CounterDifferentialTest, FastCountAgreesWithReadingOrderOnComposedLayouts) {
    std::FILE* saved = stdout;
    int with_solutions = 0;
    for (const Corpus& corpus : corpora) {
        SCOPED_TRACE(corpus.sentence);
        int collected = collect_candidates(corpus.sentence, corpus.candidates);
        ASSERT_EQ(collected, corpus.candidates);
        stdout = std::fopen("/dev/null", "w"); // the printing counts list their solutions
        for (int i = 0; i < collected; ++i) {
            load_candidate(i);
            for (int bound : {9, 1}) {
                int fast = count_one_way(true, false, bound);
                EXPECT_EQ(count_one_way(true, true, bound), fast) << "lay-out " << i;
                if (i < corpus.reading_order) {
                    EXPECT_EQ(count_one_way(false, false, bound), fast) << "lay-out " << i;
                }
                with_solutions += bound == 9 && fast > 0;
            }
            unload_candidate(i);
        }
        std::fclose(stdout);
        stdout = saved;
    }
    // not all dead ends: thousands of the lay-outs have solutions to agree on
    EXPECT_GT(with_solutions, 1000);
}
