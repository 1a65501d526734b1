// Composition rate, lay-outs measured per second, of the composer with the fast count and
// with the reading-order backtracking: the first lay-outs of four sentences from the
// generator's initial state, output to /dev/null, every more? answered yes.
#include "composer/compose.h"
#include "composer/sentence.h"
#include "core/counter.h"
#include "core/grid.h"
#include "core/stop_flag.h"
#include "tests/harness.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
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

int layouts_left;

void compose_sentence(benchmark::State& state, bool fast) {
    const Sentence& sentence = sentences[state.range(0)];
    init_geometry();
    static char answers[20000];
    for (int i = 0; i < 10000; ++i) std::memcpy(answers + 2 * i, "y\n", 2);
    int saved = divert_stdout();
    fast_counting = fast;
    layout_probe = [] {
        if (--layouts_left == 0) stop_flag = 1;
    };
    long measured = 0;
    for (auto _ : state) {
        feed_stdin(answers, sizeof answers);
        random_state = 1;
        reset_puzzle();
        layouts_left = sentence.layouts;
        check_sentence(sentence.text, static_cast<int>(std::strlen(sentence.text)));
        run_composition(sentence.text);
        measured += tries;
    }
    layout_probe = nullptr;
    fast_counting = true;
    restore_stdout(saved);
    state.SetLabel(std::string(sentence.text, std::strlen(sentence.text) - 1));
    state.counters["layouts_per_s"] =
        benchmark::Counter(static_cast<double>(measured), benchmark::Counter::kIsRate);
}

void BM_compose_fast(benchmark::State& state) {
    compose_sentence(state, true);
}
void BM_compose_reading_order(benchmark::State& state) {
    compose_sentence(state, false);
}

BENCHMARK(BM_compose_fast)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_compose_reading_order)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
