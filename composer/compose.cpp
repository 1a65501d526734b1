// Composition: a depth-first search over random lay-outs of the sentence, every placement
// undone on the way back. The walk keeps the lay-out in its own bit sets (the cells each value
// may not take, the occupied cells) and lays letters into the puzzle, as givens, only when a
// lay-out needs them: to be counted, measured for difficulty or shown. The grid then keeps
// them, and a letter is lifted only when the walk moves it, so consecutive lay-outs cost only
// the letters they change. When a composition ends the grid and the given flags are empty.
// The generator starts at 1 and is reseeded only after a composition: the first one after
// start-up is the same on every run. What happens is told to the caller's news, never printed.
#include "composer/compose.h"

#include "core/stop_flag.h"

#include <ctime>

namespace {

// With a pool, a count that is over within this many measuring nodes is taken by the walk's
// thread itself while nothing waits in the line: handing it over would cost more.
constexpr int cheap_count_nodes = 32;

} // namespace

composition::composition(int jobs) : counting_jobs(jobs), memo_(new count_memo) {}

bool composition::stopping() const {
    return stop_flag != 0 || answered_no_;
}

void composition::answer_no() {
    answered_no_ = true;
    walk_limit_ = 0;
}

// Lays the whole lay-out into the grid: the letters not there yet.
void composition::lay_grid() {
    puzzle& p = *p_;
    for (; in_grid_ < letters_; ++in_grid_) {
        int cell = laid_cell_[in_grid_];
        grid_cell_[in_grid_] = cell;
        place_value(p, cell, letter_at_[in_grid_]);
        p.given[cell] = 1;
    }
}

// Lays a lay-out the pool counted into the grid as givens, for the walk's thread to measure
// and show it, in place of whatever letters of the walk's the grid held.
void composition::lay_cells(const std::uint64_t cells[2]) {
    lift_letters(0);
    puzzle& p = *p_;
    int cell[81];
    int count = cells_in(cells, cell);
    for (; in_grid_ < count; ++in_grid_) {
        grid_cell_[in_grid_] = cell[in_grid_];
        place_value(p, cell[in_grid_], letter_at_[in_grid_]);
        p.given[cell[in_grid_]] = 1;
    }
}

// Lifts the letters from k on out of the grid.
// Kept out of line: the walk calls it seldom, and compose stays small without it.
[[gnu::noinline]] void composition::lift_letters(int k) {
    puzzle& p = *p_;
    while (in_grid_ > k) {
        int cell = grid_cell_[--in_grid_];
        p.given[cell] = 0;
        remove_value(p, cell);
    }
}

void composition::write_layout(char* text) const {
    int k = 0;
    for (int cell = 0; cell < 81; ++cell) {
        bool laid = ((layout_cells_[cell >> 6] >> (cell & 63)) & 1) != 0;
        text[cell] = static_cast<char>('0' + (laid ? letter_at_[k++] : 0));
    }
    text[81] = '\0';
}

void composition::run(puzzle& p, const char* sentence, int dist, composition_news& news) {
    p_ = &p;
    sentence_ = sentence;
    news_ = &news;
    answered_no_ = false;
    walk_limit_ = layout_limit;
    deepest_letter_ = 0;
    tries_ = 0;
    solved_tries_ = 0;
    best_count_ = 9;
    best_difficulty_ = -1;
    stop_flag = 0;
    tries_report_step_ = 10;
    next_report_ = tries_report_step_;
    dist_ = dist;
    dist_reciprocal_ = dist > 0 ? reciprocal_of(dist) : 0;
    memo_->clear();
    counter_ = counter{};
    counter_.in_reading_order = in_reading_order;
    for (auto& cells : blocked_) {
        cells[0] = 0;
        cells[1] = ~std::uint64_t{0} << (80 - 64);
        cells[2] = ~std::uint64_t{0};
    }
    letters_ = 0;
    while (sentence[letters_] != '\n' && sentence[letters_] != '\0') {
        letter_at_[letters_] = p.letter_value[static_cast<unsigned char>(sentence[letters_])];
        ++letters_;
    }
    layout_cells_[0] = 0;
    layout_cells_[1] = 0;
    in_grid_ = 0;
    laid_out_ = 0;
    last_dead_cell_ = 0;
    pooled_ = false;
    if (counting_jobs > 1 && !in_reading_order) {
        if (!pool_) pool_ = std::make_unique<count_pool>();
        pooled_ = pool_->start(counting_jobs, letter_at_) > 1;
        if (!pooled_) pool_->stop();
    }
    news_->started();
    compose(0, 0);
    if (pooled_) {
        take_up_counts(true);
        pool_->stop();
    }
    lift_letters(0);
    news_->ended(*this);
    random.seed(static_cast<std::uint32_t>(std::time(nullptr)));
}

const char* composition::verdict() const {
    // a composition whose every lay-out had no solution cannot build a starter; saying it
    // had too many solutions would tell the user the opposite of the truth
    if (tries_ == 0 || solved_tries_ == 0) return "* cannot build starter position\n";
    if (tries_ > max_tries || best_count_ == 9) return "* too many solutions\n";
    return nullptr;
}

void composition::compose(int pos, int k) {
    // a no lowers the walk's limit to the lay-outs made: one test where there would be two
    if (stop_flag != 0 || laid_out_ >= walk_limit_ || pos > 80) return;
    if (k > deepest_letter_) {
        deepest_letter_ = k;
        news_->reached(sentence_ + k);
    }
    if (k == letters_) {
        evaluate_placement();
        return;
    }
    if (dist_ < 1) return;
    std::uint64_t* no = blocked_[letter_at_[k]];
    // draws are independent and may repeat; the last cell is never a candidate
    for (int attempt = 0; attempt < dist_; ++attempt) {
        int r = pos + remainder_by(random.next(), dist_, dist_reciprocal_);
        if (((no[r >> 6] >> (r & 63)) & 1) != 0) continue;
        std::uint64_t was[2] = {no[0], no[1]};
        no[0] |= peer_cells[r][0];
        no[1] |= peer_cells[r][1];
        layout_cells_[r >> 6] ^= std::uint64_t{1} << (r & 63);
        laid_cell_[k] = r;
        // a letter in the grid from an earlier lay-out stays while the walk keeps its cell
        if (in_grid_ > k && grid_cell_[k] != r) lift_letters(k);
        compose(r + 1, k + 1);
        layout_cells_[r >> 6] ^= std::uint64_t{1} << (r & 63);
        no[0] = was[0];
        no[1] = was[1];
    }
}

// Acts on a lay-out's count: reports a new lowest count, and presents a unique starter worth
// showing. cells is the lay-out when the pool counted it; null when the grid is the walk's.
void composition::act_on_count(int count, const std::uint64_t* cells) {
    if (count == 0) return;
    ++solved_tries_;
    if (count < best_count_) {
        news_->improved(*this, count);
    } else if (count != 1) {
        return;
    }
    best_count_ = count;
    if (count != 1) return;
    if (cells != nullptr) {
        lay_cells(cells);
    } else {
        lay_grid();
    }
    int difficulty = measure_difficulty(*p_);
    if (!news_->every_unique(*this, *p_, difficulty)) answer_no();
    if (difficulty > best_difficulty_) {
        best_difficulty_ = difficulty;
    } else if (difficulty < 5) {
        difficulty = -1;
    }
    if (difficulty >= 0 && !answered_no_ && !news_->unique(*this, *p_, difficulty)) answer_no();
    if (cells != nullptr) lift_letters(0);
}

// One more lay-out measured: tries, and the progress line at its report points.
void composition::count_try() {
    ++tries_;
    if (tries_ == next_report_) {
        news_->progressed(*this);
        if (tries_report_step_ < 100000) tries_report_step_ *= 10;
        next_report_ = (tries_ / tries_report_step_ + 1) * tries_report_step_;
    }
}

// Counts the lay-out, or recalls its count, and acts on it; lays the grid where it needs it.
void composition::judge_layout() {
    // the measuring build counts every lay-out itself
    int count = in_reading_order ? -1 : memo_->recall(layout_cells_, best_count_);
    if (count >= 0) {
        ++memo_->hits;
    } else {
        lay_grid();
        count = 0;
        // the cell that left the last lay-out without a solution often does the same here
        if (in_reading_order || !is_dead_cell(*p_, last_dead_cell_)) {
            counter_.best_count = best_count_;
            count = count_solutions(*p_, counter_);
            last_dead_cell_ = counter_.dead_cell;
        }
        if (stop_flag != 0) return; // a count cut short is neither reported nor presented
        memo_->remember(layout_cells_, count, best_count_);
    }
    act_on_count(count, nullptr);
}

void composition::evaluate_placement() {
    ++laid_out_;
    // as if just counted: the walk goes on exactly as it would, and nothing is counted
    if (walk_only) memo_->remember(layout_cells_, best_count_ + 1, best_count_);
    if (!pooled_) {
        count_try();
        if (watcher != nullptr) watcher->made(*this);
        judge_layout();
        return;
    }
    if (watcher != nullptr) watcher->made(*this);
    int known = memo_->recall(layout_cells_, best_count_);
    if (pool_->empty() && known != -2) {
        // nothing waits for a count: as one thread does, but a count that turns out dear is
        // handed over, and one that turns out cheap is taken here, where it costs less
        if (known < 0) {
            lay_grid();
            known = 0;
            if (!is_dead_cell(*p_, last_dead_cell_)) {
                counter_.best_count = best_count_;
                known = count_cheaply(*p_, counter_, cheap_count_nodes);
                last_dead_cell_ = counter_.dead_cell;
            }
            if (stop_flag != 0) return; // a count cut short is neither reported nor presented
            if (known >= 0) memo_->remember(layout_cells_, known, best_count_);
        } else {
            ++memo_->hits;
        }
        if (known >= 0) {
            count_try();
            act_on_count(known, nullptr);
            return;
        }
    }
    // behind a lay-out still being counted, a lay-out whose count is known, or will be by its
    // turn, waits in order without a thread
    if (known == -1 || !pool_->add_rider(layout_cells_, known)) {
        // the memo marks it as being counted, so that the same lay-out made again meanwhile
        // waits for this count instead of being counted twice
        memo_->remember(layout_cells_, -1, best_count_);
        pool_->put(layout_cells_, best_count_);
    }
    if (pool_->full() || pool_->front_ready()) take_up_counts(false);
}
