// Candidate starters made by the composer itself, for the differential test and the
// benchmarks: the first lay-outs of a sentence's composition from the generator's initial
// state, each kept as 81 digits ('0' for an empty cell). The order of the lay-outs depends
// only on the generator and the sentence, not on what the counts find.
#pragma once

#include "composer/compose_internal.h"
#include "composer/sentence.h"
#include "console/composer_dialogue.h"
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
        char* text = candidate[candidate_count];
        write_layout(text);
        if (most > 0) {
            // counted in a grid of its own: the composition's grid is put aside meanwhile,
            // with whatever letters of earlier lay-outs it holds, and put back as it was
            int cells[81], givens[81], rows[9], cols[9], boxes[9];
            std::memcpy(cells, grid, sizeof cells);
            std::memcpy(givens, given, sizeof givens);
            std::memcpy(rows, row_mask, sizeof rows);
            std::memcpy(cols, col_mask, sizeof cols);
            std::memcpy(boxes, box_mask, sizeof boxes);
            std::memset(grid, 0, sizeof cells);
            std::memset(row_mask, 0, sizeof rows);
            std::memset(col_mask, 0, sizeof cols);
            std::memset(box_mask, 0, sizeof boxes);
            load_starter(text);
            int solutions = count_up_to(most);
            std::memcpy(grid, cells, sizeof cells);
            std::memcpy(given, givens, sizeof givens);
            std::memcpy(row_mask, rows, sizeof rows);
            std::memcpy(col_mask, cols, sizeof cols);
            std::memcpy(box_mask, boxes, sizeof boxes);
            if (solutions == 0 || solutions > most) return;
        }
        if (++candidate_count == limit) stop_flag = 1;
    };
    if (check_sentence(sentence, static_cast<int>(std::strlen(sentence))) == 1) {
        run_composition(sentence, dialogue_news);
    }
    layout_probe = nullptr;
    restore_stdout(saved);
    stop_flag = 0;
    return candidate_count;
}
