// Composition: a depth-first search over random lay-outs of the sentence, every placement
// undone on the way back. The walk keeps the lay-out in its own bit sets (the cells each value
// may not take, the occupied cells) and lays letters into the grid, as givens, only when a
// lay-out needs them: to be counted, measured for difficulty or shown. The grid then keeps
// them, and a letter is lifted only when the walk moves it, so consecutive lay-outs cost only
// the letters they change. When a composition ends the grid and the given flags are empty.
// The generator starts at 1 and is reseeded only after a composition: the first one after
// start-up is the same on every run. What happens is told to the caller's news, never printed.
#include "composer/compose.h"

#include "composer/compose_internal.h"
#include "composer/count_pool.h"
#include "composer/sentence.h"
#include "core/counter.h"
#include "core/grid.h"
#include "core/stop_flag.h"

#include <ctime>

int tries;
int solved_tries;
int best_difficulty;
int deepest_letter;
int tries_report_step;
std::uint32_t random_state = 1;
void (*layout_probe)();
int counting_jobs = 1;
int layout_limit = max_tries + 1;

namespace {

const composition_news* news;  // where the composition under way tells what happens
std::uint32_t dist_reciprocal; // reciprocal_of(dist), set when a composition starts
int next_report;               // the next multiple of tries_report_step: no division per lay-out
int letters;                   // letters in the sentence being composed
int letter_at[80];             // the value of each letter, by its position in the sentence
int laid_cell[80];             // the cell of each letter laid so far
int in_grid;                   // letters 0 .. in_grid - 1 stand in the grid, at grid_cell
int grid_cell[80];
int laid_out; // complete lay-outs the walk has made; tries, but for those still being counted
bool pooled;  // the lay-outs are counted by the pool, tries taken up in order
// With a pool, a count that is over within this many measuring nodes is taken by the walk's
// thread itself while nothing waits in the line: handing it over would cost more.
constexpr int cheap_count_nodes = 32;
int last_dead_cell;      // the cell that left the last lay-out the walk's thread counted without a
                         // solution
puzzle_view walk_puzzle; // the walk's thread's puzzle, taken once when a composition starts

// The walk's puzzle. Where each access to a thread_local variable is a call (Windows), the view
// taken when the composition started; elsewhere the variables themselves, which cost no more
// than globals and spare the loads through the view.
inline puzzle_view walk_view() {
#ifdef _WIN32
    return walk_puzzle;
#else
    return this_puzzle();
#endif
}

// Per value, the cells it may not take: those sharing a row, column or box with a cell that
// holds it, and every cell from 80 on (a draw reaches cell 159 at most). A lay-out only ever
// grows to the right of its last letter, so the cells it may take are always empty.
std::uint64_t blocked[10][3];

void start_walk(const char* sentence) {
    for (auto& cells : blocked) {
        cells[0] = 0;
        cells[1] = ~std::uint64_t{0} << (80 - 64);
        cells[2] = ~std::uint64_t{0};
    }
    letters = 0;
    while (sentence[letters] != '\n' && sentence[letters] != '\0') {
        letter_at[letters] = letter_value[static_cast<unsigned char>(sentence[letters])];
        ++letters;
    }
    layout_cells[0] = 0;
    layout_cells[1] = 0;
    in_grid = 0;
}

// Lays the whole lay-out into the grid: the letters not there yet.
void lay_grid() {
    const puzzle_view p = walk_view();
    for (; in_grid < letters; ++in_grid) {
        int cell = laid_cell[in_grid];
        grid_cell[in_grid] = cell;
        place_value(p, cell, letter_at[in_grid]);
        p.given[cell] = 1;
    }
}

// Lays a lay-out the pool counted into the grid as givens, for the walk's thread to measure
// and show it, in place of whatever letters of the walk's the grid held.
void lay_cells(const std::uint64_t cells[2]) {
    lift_letters(0);
    int cell[81];
    int count = cells_in(cells, cell);
    for (; in_grid < count; ++in_grid) {
        grid_cell[in_grid] = cell[in_grid];
        place_value(cell[in_grid], letter_at[in_grid]);
        given[cell[in_grid]] = 1;
    }
}

// Counts the lay-out, or recalls its count, and acts on it; lays the grid where it needs it.
void judge_layout() {
    // the measuring build counts every lay-out itself
    int count = fast_counting ? recall_count() : -1;
    if (count >= 0) {
        ++memo_hits;
    } else {
        lay_grid();
        count = 0;
        // the cell that left the last lay-out without a solution often does the same here
        if (!fast_counting || !is_dead_cell(walk_view(), last_dead_cell)) {
            count = count_up_to(best_count, &last_dead_cell);
        }
        if (stop_flag != 0) return; // a count cut short is neither reported nor presented
        remember_count(count);
    }
    solution_count = count;
    act_on_count(count, nullptr);
}

} // namespace

// Lifts the letters from k on out of the grid.
// Kept out of line: the walk calls it seldom, and compose stays small without it.
[[gnu::noinline]] void lift_letters(int k) {
    const puzzle_view p = walk_view();
    while (in_grid > k) {
        int cell = grid_cell[--in_grid];
        p.given[cell] = 0;
        remove_value(p, cell);
    }
}

int next_random() {
    random_state = random_state * 214013u + 2531011u;
    return static_cast<int>((random_state >> 16) & 0x7FFF);
}

void seed_random(std::uint32_t seed) {
    random_state = seed;
}

void write_layout(char* text) {
    int k = 0;
    for (int cell = 0; cell < 81; ++cell) {
        bool laid = ((layout_cells[cell >> 6] >> (cell & 63)) & 1) != 0;
        text[cell] = static_cast<char>('0' + (laid ? letter_at[k++] : 0));
    }
    text[81] = '\0';
}

void run_composition(const char* sentence, const composition_news& told) {
    news = &told;
    deepest_letter = 0;
    tries = 0;
    solved_tries = 0;
    best_count = 9;
    best_difficulty = -1;
    stop_flag = 0;
    tries_report_step = 10;
    next_report = tries_report_step;
    dist_reciprocal = dist > 0 ? reciprocal_of(dist) : 0;
    clear_memo();
    walk_puzzle = this_puzzle();
    start_walk(sentence);
    laid_out = 0;
    pooled = counting_jobs > 1 && start_count_pool(counting_jobs, letter_at) > 1;
    news->started();
    compose(sentence, 0, 0);
    if (pooled) {
        take_up_counts(true);
        stop_count_pool();
    }
    lift_letters(0);
    news->ended();
    seed_random(static_cast<std::uint32_t>(std::time(nullptr)));
}

const char* verdict() {
    // a composition whose every lay-out had no solution cannot build a starter; saying it
    // had too many solutions would tell the user the opposite of the truth
    if (tries == 0 || solved_tries == 0) return "* cannot build starter position\n";
    if (tries > max_tries || best_count == 9) return "* too many solutions\n";
    return nullptr;
}

void compose(const char* sentence, int pos, int k) {
    if (stop_flag != 0 || laid_out >= layout_limit || pos > 80) return;
    if (k > deepest_letter) {
        deepest_letter = k;
        news->reached(sentence + k);
    }
    if (k == letters) {
        evaluate_placement();
        return;
    }
    if (dist < 1) return;
    std::uint64_t* no = blocked[letter_at[k]];
    // draws are independent and may repeat; the last cell is never a candidate
    for (int attempt = 0; attempt < dist; ++attempt) {
        int r = pos + remainder_by(next_random(), dist, dist_reciprocal);
        if (((no[r >> 6] >> (r & 63)) & 1) != 0) continue;
        std::uint64_t was[2] = {no[0], no[1]};
        no[0] |= peer_cells[r][0];
        no[1] |= peer_cells[r][1];
        layout_cells[r >> 6] ^= std::uint64_t{1} << (r & 63);
        laid_cell[k] = r;
        // a letter in the grid from an earlier lay-out stays while the walk keeps its cell
        if (in_grid > k && grid_cell[k] != r) lift_letters(k);
        compose(sentence, r + 1, k + 1);
        layout_cells[r >> 6] ^= std::uint64_t{1} << (r & 63);
        no[0] = was[0];
        no[1] = was[1];
    }
}

// Acts on a lay-out's count: reports a new lowest count, and presents a unique starter worth
// showing. cells is the lay-out when the pool counted it; null when the grid is the walk's.
void act_on_count(int count, const std::uint64_t* cells) {
    if (count == 0) return;
    ++solved_tries;
    if (count < best_count) {
        news->improved(count);
    } else if (count != 1) {
        return;
    }
    best_count = count;
    if (count != 1) return;
    if (cells != nullptr) {
        lay_cells(cells);
    } else {
        lay_grid();
    }
    int difficulty = measure_difficulty();
    if (news->every_unique != nullptr) news->every_unique(difficulty);
    if (difficulty > best_difficulty) {
        best_difficulty = difficulty;
    } else if (difficulty < 5) {
        difficulty = -1;
    }
    if (difficulty >= 0) news->unique(difficulty);
    if (cells != nullptr) lift_letters(0);
}

// One more lay-out measured: tries, and the progress line at its report points.
void count_try() {
    ++tries;
    if (tries == next_report) {
        news->progressed();
        if (tries_report_step < 100000) tries_report_step *= 10;
        next_report = (tries / tries_report_step + 1) * tries_report_step;
    }
}

void evaluate_placement() {
    ++laid_out;
    if (!pooled) {
        count_try();
        if (layout_probe != nullptr) layout_probe();
        judge_layout();
        return;
    }
    if (layout_probe != nullptr) layout_probe();
    int known = fast_counting ? recall_count() : -1;
    if (pool_empty() && known != -2) {
        // nothing waits for a count: as one thread does, but a count that turns out dear is
        // handed over, and one that turns out cheap is taken here, where it costs less
        if (known < 0 && fast_counting) {
            lay_grid();
            known = 0;
            if (!is_dead_cell(walk_view(), last_dead_cell)) {
                known = count_cheaply(best_count, cheap_count_nodes, &last_dead_cell);
            }
            if (stop_flag != 0) return; // a count cut short is neither reported nor presented
            if (known >= 0) remember_count(known);
        } else if (known >= 0) {
            ++memo_hits;
        }
        if (known >= 0) {
            count_try();
            solution_count = known;
            act_on_count(known, nullptr);
            return;
        }
    }
    // behind a lay-out still being counted, a lay-out whose count is known, or will be by its
    // turn, waits in order without a thread
    if (known == -1 || !pool_add_rider(layout_cells, known)) {
        // the memo marks it as being counted, so that the same lay-out made again meanwhile
        // waits for this count instead of being counted twice
        if (fast_counting) remember_count_of(layout_cells, -1, best_count);
        pool_put(layout_cells, best_count);
    }
    if (pool_full() || pool_front_ready()) take_up_counts(false);
}
