// Counts per second of the fast count and of the reading-order backtracking on the same
// candidates, made by the composer from four sentences, at the composer's bounds 9 and 1;
// and the solver's printing count on a starter without a solution.
#include "render/board.h"
#include "tests/candidates.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

struct Sentence {
    const char* text;
    int candidates; // enough for a stable figure; the reading-order count is slow on some
};

const Sentence sentences[] = {
    {"oldsailorsandlionsreadsirenlore\n", 20000},
    {"dearoldsailorslandonislesandreadlions\n", 20000},
    {"mothercatsmashesthreeroses\n", 2000},
    {"silentsailorsrotates\n", 200},
};

// printing: the solver's way, solutions listed (to nowhere) and found in reading order
void count_candidates(benchmark::State& state, bool fast, bool printing = false) {
    const Sentence& sentence = sentences[state.range(0)];
    collect_candidates(sentence.text, sentence.candidates);
    int saved = printing ? divert_stdout() : -1;
    puzzle p{};
    solution_writer writer(stdout);
    counter c;
    c.in_reading_order = !fast;
    c.show_solutions = printing ? &writer : nullptr;
    long counted = 0;
    long solutions = 0;
    for (auto _ : state) {
        for (int i = 0; i < candidate_count; ++i) {
            load_starter(p, candidate[i]);
            c.best_count = static_cast<int>(state.range(1));
            solutions += count_solutions(p, c);
            unload_starter(p, candidate[i]);
        }
        counted += candidate_count;
    }
    if (printing) restore_stdout(saved);
    state.SetLabel(std::string(sentence.text, std::strlen(sentence.text) - 1));
    state.counters["counts_per_s"] =
        benchmark::Counter(static_cast<double>(counted), benchmark::Counter::kIsRate);
    state.counters["solutions"] = static_cast<double>(solutions) / static_cast<double>(counted);
}

void BM_fast_count(benchmark::State& state) {
    count_candidates(state, true);
}
void BM_reading_order_count(benchmark::State& state) {
    count_candidates(state, false);
}
void BM_fast_printing_count(benchmark::State& state) {
    count_candidates(state, true, true);
}

void sentence_and_bound(benchmark::internal::Benchmark* b) {
    for (int bound : {9, 1}) {
        for (int s = 0; s < 4; ++s) b->Args({s, bound});
    }
}

BENCHMARK(BM_fast_count)->Apply(sentence_and_bound)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_fast_printing_count)->Apply(sentence_and_bound)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_reading_order_count)
    ->Apply(sentence_and_bound)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

// The solver's count, printing on: rows ......1.2 ......3.. ...4...5. .6.....17 .....2...
// ...38.... .9......1 ......986 ..7641..., which has no solution.
void solver_count(benchmark::State& state, bool fast) {
    const char starter[] =
        "......1.2......3.....4...5..6.....17.....2......38.....9......1......986..7641...";
    puzzle p{};
    load_starter(p, starter);
    solution_writer writer(stdout);
    counter c;
    c.in_reading_order = !fast;
    c.show_solutions = &writer;
    for (auto _ : state) {
        c.best_count = 9;
        benchmark::DoNotOptimize(count_solutions(p, c));
    }
}

void BM_solver_no_solution_fast(benchmark::State& state) {
    solver_count(state, true);
}
void BM_solver_no_solution_reading_order(benchmark::State& state) {
    solver_count(state, false);
}

BENCHMARK(BM_solver_no_solution_fast)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_solver_no_solution_reading_order)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
