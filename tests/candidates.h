// Candidate starters made by the composer itself, for the differential test and the
// benchmarks: the first lay-outs of a sentence's composition from the generator's initial
// state, each kept as 81 digits ('0' for an empty cell). The order of the lay-outs depends
// only on the generator and the sentence, not on what the counts find.
#pragma once

#include "composer/compose.h"
#include "composer/sentence.h"
#include "core/counter.h"
#include "core/grid.h"
#include "core/stop_flag.h"
#include "tests/harness.h"

#include <cstring>

constexpr int max_candidates = 20000;

inline char candidate[max_candidates][82]; // the collected lay-outs, for load_starter
inline int candidate_count;                // how many the last collection kept

// Collects up to wanted lay-outs of sentence (with its line feed); with most_solutions above 0,
// only those with 1 to most_solutions solutions. Output goes nowhere and every more? is
// answered yes. Leaves the alphabet of the sentence in place.
inline int collect_candidates(const char* sentence, int wanted, int most_solutions = 0) {
    static int limit;
    static int most;
    limit = wanted < max_candidates ? wanted : max_candidates;
    most = most_solutions;
    candidate_count = 0;
    random_state = 1;
    reset_puzzle();
    static char answers[2000];
    for (int i = 0; i < 1000; ++i) std::memcpy(answers + 2 * i, "y\n", 2);
    feed_stdin(answers, sizeof answers);
    int saved = divert_stdout();
    layout_probe = [] {
        if (most > 0) {
            int bound = best_count;
            best_count = most;
            solution_count = 0;
            count_solutions(0);
            best_count = bound;
            if (solution_count == 0 || solution_count > most) return;
        }
        char* text = candidate[candidate_count++];
        for (int cell = 0; cell < 81; ++cell) text[cell] = static_cast<char>('0' + grid[cell]);
        text[81] = 0;
        if (candidate_count == limit) stop_flag = 1;
    };
    if (check_sentence(sentence, static_cast<int>(std::strlen(sentence))) == 1) {
        run_composition(sentence);
    }
    layout_probe = nullptr;
    restore_stdout(saved);
    stop_flag = 0;
    return candidate_count;
}
