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
#include <memory>

constexpr int max_candidates = 20000;

inline char candidate[max_candidates][82]; // the collected lay-outs, for load_starter
inline int candidate_count;                // how many the last collection kept

// Collects up to wanted lay-outs of sentence (with its line feed); with most_solutions above 0,
// only those with 1 to most_solutions solutions. Every starter the composition would present
// is answered yes.
inline int collect_candidates(const char* sentence, int wanted, int most_solutions = 0) {
    class collector : public layout_watcher {
      public:
        collector(int limit, int most) : limit_(limit), most_(most) {}
        void made(const composition& c) override {
            char* text = candidate[candidate_count];
            c.write_layout(text);
            if (most_ > 0) {
                puzzle counted{};
                load_starter(counted, text);
                counter n;
                n.best_count = most_;
                int solutions = count_solutions(counted, n);
                if (solutions == 0 || solutions > most_) return;
            }
            if (++candidate_count == limit_) stop_flag = 1;
        }

      private:
        int limit_;
        int most_;
    } watching(wanted < max_candidates ? wanted : max_candidates, most_solutions);
    class always_yes : public composition_news {
      public:
        bool unique(const composition&, const puzzle&, int) override { return true; }
    } news;
    candidate_count = 0;
    auto p = std::make_unique<puzzle>();
    sentence_scan scan = scan_sentence(*p, sentence, static_cast<int>(std::strlen(sentence)));
    auto composing = std::make_unique<composition>(1);
    composing->watcher = &watching;
    if (scan.verdict == sentence_accepted) composing->run(*p, sentence, scan.dist, news);
    stop_flag = 0;
    return candidate_count;
}
