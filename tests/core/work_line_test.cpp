#include "core/work_line.h"
#include "tests/support.h"

#include <chrono>
#include <thread>

namespace {

constexpr int listing_bound = 200000;
int counted[line_window];

// Counts the nearly empty grid's solutions up to the bound: long enough to be under way on a
// helper while the program's thread does something else.
void count_slot(int slot, bool) {
    reset_puzzle();
    load_starter(
        "a-b---cd-------------------------------------------------------------------------");
    counted[slot] = count_up_to(listing_bound);
}

} // namespace

using WorkLineTest = Puzzle;

// While the dialogue's question waits, the stop flag is -1 and the program's own counts stop;
// a helper's count must not, or it hands back a count cut short as if it were whole.
TEST_F(WorkLineTest, HelpersCountOnWhileTheQuestionWaits) {
    ASSERT_EQ(start_work_line(2, count_slot), 2);
    int slot = line_back_slot();
    counted[slot] = -1;
    line_put();
    stop_flag = -1;
    // the line hands work over in small batches; waiting for the front hands it over now
    EXPECT_FALSE(line_wait_front());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    stop_flag = 0;
    EXPECT_TRUE(line_wait_front());
    EXPECT_EQ(counted[slot], listing_bound + 1);
    line_pop();
    stop_work_line();
}

// An interrupt ends the wait for the front at once, and dropping the line stops the helpers'
// counts under way: the line is empty and can be used again.
TEST_F(WorkLineTest, AnInterruptEndsTheWaitAndTheDropStopsTheHelpers) {
    ASSERT_EQ(start_work_line(3, count_slot), 3);
    for (int i = 0; i < 4; ++i) line_put();
    stop_flag = 1;
    EXPECT_FALSE(line_wait_front());
    line_drop_all();
    EXPECT_TRUE(line_empty());
    stop_flag = 0;
    int slot = line_back_slot();
    line_put();
    EXPECT_TRUE(line_wait_front());
    EXPECT_EQ(counted[slot], listing_bound + 1);
    line_pop();
    stop_work_line();
}
