// Composition: a depth-first search over random lay-outs of the sentence, every placement
// undone on the way back. The walk keeps the lay-out in its own bit sets (the cells each value
// may not take, the occupied cells) and lays letters into the grid, as givens, only when a
// lay-out needs them: to be counted, measured for difficulty or shown. The grid then keeps
// them, and a letter is lifted only when the walk moves it, so consecutive lay-outs cost only
// the letters they change. When a composition ends the grid and the given flags are empty.
// The generator starts at 1 and is reseeded only after a composition: the first one after
// start-up is the same on every run.
#include "composer/compose.h"

#include "composer/compose_internal.h"
#include "composer/count_pool.h"
#include "composer/sentence.h"
#include "core/board.h"
#include "core/counter.h"
#include "core/grid.h"
#include "core/stop_flag.h"
#include "core/text.h"

#include <bit>
#include <cstdio>
#include <cstring>
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

std::uint64_t layout_cells[2]; // the occupied cells of the lay-out being built: 0..63, 64..80
int memo_hits;

namespace {

std::uint64_t memo_key[memo_size][2]; // a measured lay-out's cells; 0 = an empty slot
int memo_count[memo_size];            // its count, as the counter left it
int memo_bound[memo_size];            // the bound that count was taken under

std::uint32_t dist_reciprocal; // reciprocal_of(dist), set when a composition starts
int next_report;               // the next multiple of tries_report_step: no division per lay-out
int letters;                   // letters in the sentence being composed
int letter_at[80];             // the value of each letter, by its position in the sentence
int laid_cell[80];             // the cell of each letter laid so far
int in_grid;                   // letters 0 .. in_grid - 1 stand in the grid, at grid_cell
int grid_cell[80];
int laid_out; // complete lay-outs the walk has made; tries, but for those still being counted
bool pooled;  // the lay-outs are counted by the pool, tries taken up in order
// Within this many measuring nodes a count is over before another thread could take it up:
// the walk's thread tries each count that far itself, and hands it over only beyond.
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

int memo_slot_of(const std::uint64_t cells[2]) {
    std::uint64_t mixed = (cells[0] ^ (cells[1] << 47 | cells[1] >> 17)) * 0x9E3779B97F4A7C15u;
    return static_cast<int>(mixed >> (64 - memo_bits));
}

// Lays a lay-out given by its cells into the grid as givens, for the walk's thread to measure
// and show it: the walk itself, ahead by then, keeps nothing in the grid while a pool counts.
void lay_cells(const std::uint64_t cells[2]) {
    lift_letters(0);
    for (int half = 0; half < 2; ++half) {
        for (std::uint64_t bits = cells[half]; bits != 0; bits &= bits - 1) {
            int cell = 64 * half + std::countr_zero(bits);
            grid_cell[in_grid] = cell;
            place_value(cell, letter_at[in_grid]);
            given[cell] = 1;
            ++in_grid;
        }
    }
}

} // namespace

void clear_memo() {
    std::memset(memo_key, 0, sizeof memo_key);
    memo_hits = 0;
}

int recall_count() {
    return recall_count_of(layout_cells);
}

int recall_count_of(const std::uint64_t cells[2]) {
    int slot = memo_slot_of(cells);
    if (memo_key[slot][0] != cells[0] || memo_key[slot][1] != cells[1]) return -1;
    // a count taken under a bound at least as high is exact up to this bound's cut-off
    if (memo_bound[slot] < best_count) return -1;
    if (memo_count[slot] < 0) return -2; // being counted
    return memo_count[slot] < best_count + 1 ? memo_count[slot] : best_count + 1;
}

void remember_count(int count) {
    remember_count_of(layout_cells, count, best_count);
}

void remember_count_of(const std::uint64_t cells[2], int count, int bound) {
    int slot = memo_slot_of(cells);
    memo_key[slot][0] = cells[0];
    memo_key[slot][1] = cells[1];
    memo_count[slot] = count;
    memo_bound[slot] = bound;
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

void run_composition(const char* sentence) {
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
    pooled = counting_jobs > 1;
    if (pooled) start_count_pool(counting_jobs, letter_at);
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

namespace {

void print_start() {
    std::fputs("composing ...\n", stdout);
}

void print_depth(const char* rest) {
    std::printf("%s", rest);
}

void print_progress() {
    std::printf("tries: %d  - best: %d solution(s)(CTRL-C to stop)\n", tries, best_count);
}

void print_improvement(int count) {
    std::printf("found : best : %d solution(s) - tries:%d\n", count, tries);
}

void present(int difficulty) {
    std::printf("\n** difficulty:%d ***\n", difficulty);
    print_board();
    show_solutions = 1;
    solution_count = 0;
    count_solutions(0);
    std::fputs("\n", stdout);
    show_solutions = 0;
    ask_more();
}

void print_verdict() {
    const char* text = verdict();
    if (text != nullptr) std::fputs(text, stdout);
}

} // namespace

const composition_news dialogue_news = {print_start,       print_depth, print_progress,
                                        print_improvement, present,     print_verdict};
const composition_news* news = &dialogue_news;

namespace {

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
    if (difficulty > best_difficulty) {
        best_difficulty = difficulty;
    } else if (difficulty < 5) {
        difficulty = -1;
    }
    if (difficulty >= 0) news->unique(difficulty);
    if (cells != nullptr) lift_letters(0);
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
        const puzzle_view p = walk_view();
        if (!fast_counting || p.grid[last_dead_cell] != 0 || candidates(p, last_dead_cell) != 0) {
            count = count_up_to(best_count, &last_dead_cell);
        }
        if (stop_flag != 0) return; // a count cut short is neither reported nor presented
        remember_count(count);
    }
    solution_count = count;
    act_on_count(count, nullptr);
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

// One lay-out taken up from the pool, in walk order, as the walk's thread would judge it:
// counted under the bound of its time, which is this one or higher.
void judge_taken_up(int count, const std::uint64_t cells[2]) {
    count_try();
    count = count < best_count + 1 ? count : best_count + 1;
    solution_count = count;
    act_on_count(count, cells);
}

} // namespace

// Takes up the pool's counts in walk order, as the walk would have judged them: those ready,
// and the oldest while the line is full; with all, every one. An interrupt or a no stops it
// and throws the rest away.
void take_up_counts(bool all) {
    while (!pool_empty() && (all || pool_full() || pool_front_ready())) {
        if (stop_flag != 0) {
            pool_drop_all();
            return;
        }
        // waiting, this thread counts too, in a grid without the walk's letters
        if (!pool_front_ready()) lift_letters(0);
        const pooled_layout& layout = pool_front();
        if (stop_flag != 0) { // an interrupt while this thread counted: its count is cut short
            pool_drop_all();
            return;
        }
        std::uint64_t cells[2] = {layout.cells[0], layout.cells[1]};
        int count = layout.count;
        int riders = layout.riders;
        remember_count_of(cells, count, layout.bound);
        pool_pop();
        judge_taken_up(count, cells);
        for (; riders > 0 && stop_flag == 0; --riders) {
            const riding_layout& rider = pool_next_rider();
            cells[0] = rider.cells[0];
            cells[1] = rider.cells[1];
            count = rider.count;
            pool_pop_rider();
            if (count < 0) count = recall_count_of(cells);
            if (count < 0) { // another lay-out took its place in the memo: counted here
                lift_letters(0);
                count = count_layout_here(cells, best_count);
                if (stop_flag != 0) break; // cut short: dropped at the top
                remember_count_of(cells, count, best_count);
                --memo_hits;
            }
            ++memo_hits;
            judge_taken_up(count, cells);
        }
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
            const puzzle_view p = walk_view();
            if (p.grid[last_dead_cell] != 0 || candidates(p, last_dead_cell) != 0) {
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

int measure_difficulty() {
    int count[27] = {};
    for (int cell = 0; cell < 81; ++cell) {
        if (grid[cell] == 0) continue;
        ++count[row_of[cell]];
        ++count[9 + col_of[cell]];
        ++count[18 + box_of[cell]];
    }
    int fullest = 0;
    for (int unit = 0; unit < 27; ++unit) {
        if (count[unit] > fullest) fullest = count[unit];
    }
    return 9 - fullest;
}

void ask_more() {
    stop_flag = -1;
    // an interrupt while the question waits turns the flag to 1: the answer being typed
    // still decides, and anything but a yes then ends the composition
    while (stop_flag < 0) {
        std::fputs("more? (y/n) : ", stdout);
        char answer[4];
        if (read_line(answer, sizeof answer) == 0) {
            stop_flag = 1; // end of input: no one is left to say yes
            return;
        }
        char c = answer[0];
        if (c == 'y' || c == 'Y' || c == 'o' || c == 'O') stop_flag = 0;
        if (c == 'n' || c == 'N') stop_flag = 1;
    }
}
