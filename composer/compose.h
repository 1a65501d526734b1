// The composition search: lays a sentence's letters into a puzzle at random offsets, measures
// each complete lay-out with the solution counter, tells its news of new lowest counts and of
// unique starters, then of its end, and reseeds its generator. It prints nothing.
#pragma once

#include "composer/count_pool.h"
#include "composer/memo.h"
#include "composer/random.h"
#include "core/counter.h"

#include <cstdint>
#include <memory>

constexpr int max_tries = 10'000'000; // the search stops once tries exceeds this

class composition;

// What a composition tells as it goes, on the composing thread, in walk order. The dialogue
// prints it; the compose command turns it into progress and starters.
class composition_news {
  public:
    virtual void started() {}
    virtual void reached(const char* /*rest*/) {}        // a new depth: the sentence from there on
    virtual void progressed(const composition& /*c*/) {} // tries reached a report point
    virtual void improved(const composition& /*c*/, int /*count*/) {} // a new lowest count
    // A unique starter worth showing, in p with its givens flagged. The answer: true goes on,
    // false ends the composition.
    virtual bool unique(const composition& c, const puzzle& p, int difficulty) = 0;
    // Every unique starter the walk meets, before it is judged worth showing; false ends the
    // composition.
    virtual bool every_unique(const composition& /*c*/, const puzzle& /*p*/, int /*difficulty*/) {
        return true;
    }
    virtual void ended(const composition& /*c*/) {} // the search is over: the verdict

  protected:
    ~composition_news() = default;
};

// Sees each complete lay-out as the walk makes it, before it is measured: for tests and
// benchmarks.
class layout_watcher {
  public:
    virtual void made(const composition& c) = 0;

  protected:
    ~layout_watcher() = default;
};

// A sentence's composition: the walk, its memo, the counts it hands to threads and takes up in
// walk order, and what it has found. One lives as long as the session that composes, so that
// its generator goes on from one sentence to the next. About 3 MB.
class composition {
  public:
    explicit composition(int counting_jobs = 1);

    // The whole composition of an accepted sentence: p holds its alphabet and an empty grid,
    // and is empty again at the end; dist is the spacing the sentence allows. Told to news as
    // it goes; the generator is reseeded from the clock afterwards.
    void run(puzzle& p, const char* sentence, int dist, composition_news& news);
    // The closing line of a composition, or null when there is none.
    const char* verdict() const;

    int tries() const { return tries_; }           // complete lay-outs measured
    int best_count() const { return best_count_; } // the lowest count met, and the bound
    int memo_hits() const { return memo_->hits; }  // lay-outs answered from the memo
    // The lay-out the walk just made, as 81 digits ('0' for an empty cell) and a NUL.
    void write_layout(char* text) const;
    // Its occupied cells, 0..63 then 64..80, and what the memo knows: for tests.
    const std::uint64_t* layout_cells() const { return layout_cells_; }
    const count_memo& memo() const { return *memo_; }

    random_generator random;           // 1 at first; reseeded after each composition
    int counting_jobs;                 // threads that count; 1: the walk's own thread counts each
    int layout_limit = max_tries + 1;  // the walk makes at most this many lay-outs
    layout_watcher* watcher = nullptr; // sees each lay-out; null in the program
    bool in_reading_order = false;     // count every lay-out the plain way, without the memo
    bool walk_only = false; // no lay-out is counted: each has one solution too many (benchmarks)

  private:
    void compose(int pos, int k);
    void evaluate_placement();
    void judge_layout();
    void count_try();
    void act_on_count(int count, const std::uint64_t* cells);
    void take_up_counts(bool all);
    void judge_taken_up(int count, const std::uint64_t cells[2]);
    void lay_grid();
    void lay_cells(const std::uint64_t cells[2]);
    void lift_letters(int k);
    bool stopping() const;
    void answer_no(); // the news answered no: the walk unwinds

    puzzle* p_ = nullptr;
    const char* sentence_ = nullptr;
    composition_news* news_ = nullptr;
    counter counter_; // the walk's thread's counts
    std::unique_ptr<count_memo> memo_;
    std::unique_ptr<count_pool> pool_;
    bool pooled_ = false; // the lay-outs are counted by the pool, tries taken up in order
    bool answered_no_ = false;
    int walk_limit_ = max_tries + 1; // layout_limit, or 0 once the news answered no

    int tries_ = 0;
    int solved_tries_ = 0; // measured lay-outs with at least one solution
    int best_count_ = 9;
    int best_difficulty_ = -1;
    int deepest_letter_ = 0; // highest sentence position reached; each new depth is told
    int tries_report_step_ = 10;
    int next_report_ = 10;   // the next multiple of tries_report_step_: no division per lay-out
    int laid_out_ = 0;       // complete lay-outs the walk has made
    int last_dead_cell_ = 0; // left the last lay-out the walk's thread counted without solution

    int dist_ = 0;
    std::uint32_t dist_reciprocal_ = 0;
    int letters_ = 0;        // letters in the sentence
    int letter_at_[80] = {}; // the value of each letter, by its position in the sentence
    int laid_cell_[80] = {}; // the cell of each letter laid so far
    int in_grid_ = 0;        // letters 0 .. in_grid_ - 1 stand in the grid, at grid_cell_
    int grid_cell_[80] = {};
    std::uint64_t layout_cells_[2] = {}; // the occupied cells of the lay-out being built
    // Per value, the cells it may not take: those sharing a row, column or box with a cell that
    // holds it, and every cell from 80 on (a draw reaches cell 159 at most).
    std::uint64_t blocked_[10][3] = {};
};
