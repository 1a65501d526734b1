// Composition: a depth-first search over random lay-outs of the sentence, every placement
// undone on the way back, so the grid and the given flags are empty again when it ends.
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
#include <ctime>

int tries;
int solved_tries;
int best_difficulty;
int deepest_letter;
int tries_report_step;
std::uint32_t random_state = 1;
void (*layout_probe)();

namespace {

std::uint32_t dist_reciprocal; // reciprocal_of(dist), set when a composition starts

} // namespace

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
    dist_reciprocal = dist > 0 ? reciprocal_of(dist) : 0;
    std::fputs("composing ...\n", stdout);
    compose(sentence, 0, 0);
    print_verdict();
    seed_random(static_cast<std::uint32_t>(std::time(nullptr)));
}

void print_verdict() {
    // a composition whose every lay-out had no solution cannot build a starter; saying it
    // had too many solutions would tell the user the opposite of the truth
    if (tries == 0 || solved_tries == 0) {
        std::fputs("* cannot build starter position\n", stdout);
    } else if (tries > max_tries || best_count == 9) {
        std::fputs("* too many solutions\n", stdout);
    }
}

void compose(const char* sentence, int pos, int k) {
    if (stop_flag != 0 || tries > max_tries || pos > 80) return;
    if (k > deepest_letter) {
        deepest_letter = k;
        std::printf("%s", sentence + k);
    }
    char c = sentence[k];
    if (c == '\n' || c == '\0') {
        evaluate_placement();
        return;
    }
    int v = letter_value[static_cast<unsigned char>(c)];
    if (dist < 1) return;
    // draws are independent and may repeat; the last cell is never a candidate
    for (int attempt = 0; attempt < dist; ++attempt) {
        int r = pos + remainder_by(next_random(), dist, dist_reciprocal);
        if (r >= 80 || grid[r] != 0 || !fits(r, v)) continue;
        place_value(r, v);
        given[r] = 1;
        compose(sentence, r + 1, k + 1);
        given[r] = 0;
        remove_value(r);
    }
}

namespace {

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

} // namespace

void evaluate_placement() {
    ++tries;
    if (tries % tries_report_step == 0) {
        std::printf("tries: %d  - best: %d solution(s)(CTRL-C to stop)\n", tries, best_count);
        if (tries_report_step < 100000) tries_report_step *= 10;
    }
    if (layout_probe != nullptr) layout_probe();
    solution_count = 0;
    count_solutions(0);
    if (stop_flag != 0) return; // a count cut short is neither reported nor presented
    if (solution_count == 0) return;
    ++solved_tries;
    if (solution_count < best_count) {
        std::printf("found : best : %d solution(s) - tries:%d\n", solution_count, tries);
    } else if (solution_count != 1) {
        return;
    }
    best_count = solution_count;
    if (solution_count != 1) return;
    int difficulty = measure_difficulty();
    if (difficulty > best_difficulty) {
        best_difficulty = difficulty;
    } else if (difficulty < 5) {
        return;
    }
    present(difficulty);
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
