// Candidate starters made by the composer itself, for the differential test and the
// benchmarks: the first lay-outs of a sentence's composition from the generator's initial
// state, each kept as 81 values. The order of the lay-outs depends only on the generator and
// the sentence, not on what the counts find.
#pragma once

#include "composer/compose.h"
#include "composer/sentence.h"
#include "core/counter.h"
#include "core/grid.h"
#include "core/stop_flag.h"

#include <cstdio>
#include <cstring>

constexpr int max_candidates = 20000;

inline int candidate[max_candidates][81]; // the collected lay-outs, values by cell
inline int candidate_count;               // how many the last collection kept

// Collects up to wanted lay-outs of sentence (with its line feed). Output goes nowhere and
// every more? is answered yes. Leaves the alphabet of the sentence in place.
inline int collect_candidates(const char* sentence, int wanted) {
    static int limit;
    limit = wanted < max_candidates ? wanted : max_candidates;
    candidate_count = 0;
    random_state = 1;
    reset_puzzle();
    std::FILE* saved_in = stdin;
    std::FILE* saved_out = stdout;
    std::FILE* answers = std::tmpfile();
    for (int i = 0; i < 1000; ++i) std::fputs("y\n", answers);
    std::rewind(answers);
    stdin = answers;
    stdout = std::fopen("/dev/null", "w");
    layout_probe = [] {
        std::memcpy(candidate[candidate_count++], grid, sizeof grid);
        if (candidate_count == limit) stop_flag = 1;
    };
    if (check_sentence(sentence, static_cast<int>(std::strlen(sentence))) == 1) {
        run_composition(sentence);
    }
    layout_probe = nullptr;
    std::fclose(stdout);
    std::fclose(answers);
    stdout = saved_out;
    stdin = saved_in;
    stop_flag = 0;
    return candidate_count;
}

// Lays candidate i into the emptied grid as givens.
inline void load_candidate(int i) {
    for (int cell = 0; cell < 81; ++cell) {
        if (candidate[i][cell] == 0) continue;
        place_value(cell, candidate[i][cell]);
        given[cell] = 1;
    }
}

inline void unload_candidate(int i) {
    for (int cell = 0; cell < 81; ++cell) {
        if (candidate[i][cell] == 0) continue;
        remove_value(cell);
        given[cell] = 0;
    }
}
