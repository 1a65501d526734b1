// Composition: a depth-first search over random lay-outs of the sentence, every placement
// undone on the way back. The walk keeps the lay-out in its own bit sets (the cells each value
// may not take, the occupied cells) and lays letters into the grid, as givens, only when a
// lay-out needs them: to be counted, measured for difficulty or shown. The grid then keeps
// them, and a letter is lifted only when the walk moves it, so consecutive lay-outs cost only
// the letters they change. When a composition ends the grid and the given flags are empty.
// The generator starts at 1 and is reseeded only after a composition: the first one after
// start-up is the same on every run.
#include "composer/compose.h"

#include "composer/sentence.h"
#include "core/board.h"
#include "core/counter.h"
#include "core/grid.h"
#include "core/stop_flag.h"
#include "core/text.h"

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
void lift_letters(int k) {
    while (in_grid > k) {
        int cell = grid_cell[--in_grid];
        given[cell] = 0;
        remove_value(cell);
    }
}

// Lays the whole lay-out into the grid: the letters not there yet.
void lay_grid() {
    for (; in_grid < letters; ++in_grid) {
        int cell = laid_cell[in_grid];
        grid_cell[in_grid] = cell;
        place_value(cell, letter_at[in_grid]);
        given[cell] = 1;
    }
}

int memo_slot() {
    std::uint64_t mixed =
        (layout_cells[0] ^ (layout_cells[1] << 47 | layout_cells[1] >> 17)) * 0x9E3779B97F4A7C15u;
    return static_cast<int>(mixed >> (64 - memo_bits));
}

} // namespace

void clear_memo() {
    std::memset(memo_key, 0, sizeof memo_key);
    memo_hits = 0;
}

int recall_count() {
    int slot = memo_slot();
    if (memo_key[slot][0] != layout_cells[0] || memo_key[slot][1] != layout_cells[1]) return -1;
    // a count taken under a bound at least as high is exact up to this bound's cut-off
    if (memo_bound[slot] < best_count) return -1;
    return memo_count[slot] < best_count + 1 ? memo_count[slot] : best_count + 1;
}

void remember_count(int count) {
    int slot = memo_slot();
    memo_key[slot][0] = layout_cells[0];
    memo_key[slot][1] = layout_cells[1];
    memo_count[slot] = count;
    memo_bound[slot] = best_count;
}

int next_random() {
    random_state = random_state * 214013u + 2531011u;
    return static_cast<int>((random_state >> 16) & 0x7FFF);
}

void seed_random(std::uint32_t seed) {
    random_state = seed;
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
    start_walk(sentence);
    news->started();
    compose(sentence, 0, 0);
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
    if (stop_flag != 0 || tries > max_tries || pos > 80) return;
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

// Counts the lay-out, or recalls its count, and acts on it; lays the grid where it needs it.
void judge_layout() {
    if (layout_probe != nullptr) {
        lay_grid();
        layout_probe();
    }
    // the measuring build counts every lay-out itself
    solution_count = fast_counting ? recall_count() : -1;
    if (solution_count >= 0) {
        ++memo_hits;
    } else {
        lay_grid();
        solution_count = 0;
        count_solutions(0);
        if (stop_flag != 0) return; // a count cut short is neither reported nor presented
        remember_count(solution_count);
    }
    if (solution_count == 0) return;
    ++solved_tries;
    if (solution_count < best_count) {
        news->improved(solution_count);
    } else if (solution_count != 1) {
        return;
    }
    best_count = solution_count;
    if (solution_count != 1) return;
    lay_grid();
    int difficulty = measure_difficulty();
    if (difficulty > best_difficulty) {
        best_difficulty = difficulty;
    } else if (difficulty < 5) {
        return;
    }
    news->unique(difficulty);
}

} // namespace

void evaluate_placement() {
    ++tries;
    if (tries == next_report) {
        news->progressed();
        if (tries_report_step < 100000) tries_report_step *= 10;
        next_report = (tries / tries_report_step + 1) * tries_report_step;
    }
    judge_layout();
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
