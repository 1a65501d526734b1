#include "core/work_line.h"
#include "tests/support.h"

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

// Counts the nearly empty grid's solutions up to a bound, in a puzzle of the thread's own:
// long enough to be under way on a helper while the program's thread does something else.
// With stop_here, the caller's thread sets the stop flag itself part-way, as a signal would.
class counting_worker : public line_worker {
  public:
    explicit counting_worker(long long bound) : bound_(bound) {}
    void work(int slot, int thread, const std::atomic<bool>* cancel) override {
        puzzle p{};
        load_starter(
            p, "1-2---34-------------------------------------------------------------------------");
        counter c;
        c.cancel = thread == 0 ? nullptr : cancel;
        c.best_count = static_cast<int>(bound_);
        if (thread == 0 && stop_here) {
            c.best_count = 1000;
            count_solutions(p, c);
            stop_flag = 1;
        }
        counted[slot] = count_solutions(p, c);
    }
    int counted[work_line::window] = {};
    bool stop_here = false;

  private:
    long long bound_;
};

constexpr int listing_bound = 200000;

} // namespace

using WorkLineTest = Puzzle;

// The helpers stop on the line's cancel flag, not on the stop flag, which belongs to the
// program's thread: a piece a helper counts while the flag is set is counted whole.
TEST_F(WorkLineTest, HelpersCountOnWhileTheStopFlagIsSet) {
    auto worker = std::make_unique<counting_worker>(listing_bound);
    auto line = std::make_unique<work_line>();
    ASSERT_EQ(line->start(2, *worker), 2);
    int slot = line->back_slot();
    worker->counted[slot] = -1;
    line->put();
    stop_flag = 1;
    // the line hands work over in small batches; waiting for the front hands it over now
    EXPECT_FALSE(line->wait_front());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    stop_flag = 0;
    EXPECT_TRUE(line->wait_front());
    EXPECT_EQ(worker->counted[slot], listing_bound + 1);
    line->pop();
    line->stop();
}

// An interrupt ends the wait for the front at once, and dropping the line stops the helpers'
// counts under way, however long they would run: the drop returns soon, and the line is empty
// and can be used again.
TEST_F(WorkLineTest, AnInterruptEndsTheWaitAndTheDropStopsTheHelpers) {
    auto worker = std::make_unique<counting_worker>(2'000'000'000); // hours, uncancelled
    auto line = std::make_unique<work_line>();
    ASSERT_EQ(line->start(3, *worker), 3);
    for (int i = 0; i < 4; ++i) line->put();
    stop_flag = 1;
    EXPECT_FALSE(line->wait_front());
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // the helpers are counting
    auto start = std::chrono::steady_clock::now();
    line->drop_all();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_TRUE(line->empty());
    line->stop();
    stop_flag = 0;
    auto short_worker = std::make_unique<counting_worker>(listing_bound);
    ASSERT_EQ(line->start(2, *short_worker), 2);
    int slot = line->back_slot();
    line->put();
    EXPECT_TRUE(line->wait_front());
    EXPECT_EQ(short_worker->counted[slot], listing_bound + 1);
    line->pop();
    line->stop();
}

// A piece the program's own thread worked on while a signal came may be cut short by it: the
// wait reports the stop, and the piece is not taken as done.
TEST_F(WorkLineTest, APieceCutShortOnTheCallersThreadIsNotTakenUp) {
    auto worker = std::make_unique<counting_worker>(listing_bound);
    worker->stop_here = true;
    auto line = std::make_unique<work_line>();
    ASSERT_EQ(line->start(1, *worker), 1); // no helper: the caller's thread works
    int slot = line->back_slot();
    line->put();
    EXPECT_FALSE(line->wait_front());
    EXPECT_LT(worker->counted[slot], listing_bound + 1);
    line->stop();
}
