// Composition rate, lay-outs per second, from the generator's initial state, output to
// /dev/null and every more? answered yes, on the four sentences of the README:
//   BM_compose_fast / _reading_order: the first lay-outs, with the fast count and the memo,
//       and with the reading-order count and no memo (the measuring build);
//   BM_compose_walk_only: the same lay-outs with every count skipped (each lay-out's count is
//       put in the memo just before it is looked up), which leaves the composer's own walk;
//   BM_whole_composition, BM_whole_walk_only: the same, to the 10,000,001-try limit.
// memo_hits is the share of lay-outs whose count came from the memo. The whole compositions
// take minutes: run them with --benchmark_filter=whole; CI leaves them out.
#include "composer/compose.h"
#include "console/composer_dialogue.h"
#include "core/stop_flag.h"
#include "tests/harness.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

struct Sentence {
    const char* text;
    int layouts; // per run: the reading-order count takes seconds on some of the shortest's
};

const Sentence sentences[] = {
    {"oldsailorsandlionsreadsirenlore\n", 200000},
    {"dearoldsailorslandonislesandreadlions\n", 200000},
    {"mothercatsmashesthreeroses\n", 5000},
    {"silentsailorsrotates\n", 40},
};

// Stops a composition after so many lay-outs; 0: no limit.
class layout_limit : public layout_watcher {
  public:
    void made(const composition&) override {
        if (left > 0 && --left == 0) stop_flag = 1;
    }
    int left = 0;
};

void compose_sentence(benchmark::State& state, bool fast, bool walk, bool whole) {
    const Sentence& sentence = sentences[state.range(0)];
    static char answers[20000];
    for (int i = 0; i < 10000; ++i) std::memcpy(answers + 2 * i, "y\n", 2);
    int saved = divert_stdout();
    layout_limit limit;
    dialogue_news news;
    news.in_reading_order = !fast;
    long measured = 0;
    long hits = 0;
    for (auto _ : state) {
        feed_stdin(answers, sizeof answers);
        auto p = std::make_unique<puzzle>();
        auto composing = std::make_unique<composition>(1);
        composing->in_reading_order = !fast;
        composing->walk_only = walk;
        composing->watcher = &limit;
        limit.left = whole ? 0 : sentence.layouts;
        int dist = check_sentence(*p, sentence.text, static_cast<int>(std::strlen(sentence.text)));
        composing->run(*p, sentence.text, dist, news);
        measured += composing->tries();
        hits += composing->memo_hits();
    }
    restore_stdout(saved);
    state.SetLabel(std::string(sentence.text, std::strlen(sentence.text) - 1));
    state.counters["layouts_per_s"] =
        benchmark::Counter(static_cast<double>(measured), benchmark::Counter::kIsRate);
    state.counters["memo_hits"] = static_cast<double>(hits) / static_cast<double>(measured);
}

void BM_compose_fast(benchmark::State& state) {
    compose_sentence(state, true, false, false);
}
void BM_compose_reading_order(benchmark::State& state) {
    compose_sentence(state, false, false, false);
}
void BM_compose_walk_only(benchmark::State& state) {
    compose_sentence(state, true, true, false);
}
void BM_whole_composition(benchmark::State& state) {
    compose_sentence(state, true, false, true);
}
void BM_whole_walk_only(benchmark::State& state) {
    compose_sentence(state, true, true, true);
}

BENCHMARK(BM_compose_fast)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_compose_reading_order)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_compose_walk_only)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_whole_composition)->DenseRange(0, 3)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_whole_walk_only)->DenseRange(0, 3)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
