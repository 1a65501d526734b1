// The game's two costs a player can feel. A key: the move it makes and a whole redraw of the
// screen into memory, at 80x24 and at the large lay-out (110x40). A hint: the rater's first
// step on each grid along the rated path of every reference puzzle rated 9.0 or less, at one
// job; the counters give the slowest hint and the share of hints over 100 ms.
#include "game/hint.h"
#include "play/memory_canvas.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

std::unique_ptr<game> sample_game() {
    const char* givens =
        "4.....8.5.3..........7......2.....6.....8.4......1.......6.3.7.5..2.....1.4......";
    const char* solution =
        "417369825632158947958724316825437169791586432346912758289643571573291684164875293";
    int g[81];
    int s[81];
    for (int cell = 0; cell < 81; ++cell) {
        g[cell] = givens[cell] == '.' ? 0 : givens[cell] - '0';
        s[cell] = solution[cell] - '0';
    }
    int letters[10] = {};
    auto made = std::make_unique<game>();
    start_game(*made, g, s, letters);
    made->origin = "a benchmark";
    made->rating = 26;
    return made;
}

void key_and_redraw(benchmark::State& state) {
    auto g = sample_game();
    memory_canvas screen(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    screen_state s;
    int open[81];
    int n = 0;
    for (int cell = 0; cell < 81; ++cell) {
        if (g->given[cell] == 0) open[n++] = cell;
    }
    int turn = 0;
    for (auto _ : state) {
        // a mark, an entry and an undo in turn, on the open cells in turn
        int cell = open[turn % n];
        g->cursor = cell;
        switch (turn % 3) {
        case 0:
            toggle_mark(*g, cell, turn % 9 + 1);
            break;
        case 1:
            enter_value(*g, cell, g->solution[cell]);
            break;
        default:
            undo(*g);
        }
        ++turn;
        draw_screen(screen, *g, s);
        benchmark::DoNotOptimize(screen.chars().data());
    }
}
BENCHMARK(key_and_redraw)->Args({24, 80})->Args({40, 110})->Unit(benchmark::kMicrosecond);

// The grids a player meets on the way through each puzzle rated 9.0 or less: the candidates
// before each step of the rater's path.
class grid_keeper : public step_taker {
  public:
    bool take(const step&, const candidate_grid& before) override {
        grids.push_back(before);
        return true;
    }
    std::vector<candidate_grid> grids;
};

const std::vector<candidate_grid>& path_grids() {
    static grid_keeper kept;
    if (!kept.grids.empty()) return kept.grids;
    rater r;
    for (const char* name : {"qq-simple", "qq-easy", "qq-intermediate", "qq-expert", "gen-easy",
                             "gen-medium", "gen-hard", "gen-diabolical", "gen-diab2"}) {
        std::ifstream file(std::string(VERBAGRID_SOURCE_DIR) + "/tests/logic/data/paths/" + name +
                           ".tsv");
        std::string line;
        while (std::getline(file, line)) {
            if (line.rfind("P\t", 0) != 0) continue;
            std::string cells = line.substr(2, 81);
            double rating = std::stod(line.substr(84));
            if (rating > 9.0) continue;
            int values[81];
            for (int cell = 0; cell < 81; ++cell) {
                values[cell] = cells[cell] == '.' ? 0 : cells[cell] - '0';
            }
            rate_puzzle(values, r, &kept);
        }
    }
    return kept.grids;
}

void hint_on_each_grid(benchmark::State& state) {
    const std::vector<candidate_grid>& grids = path_grids();
    rater r;
    double slowest = 0;
    long long over = 0;
    long long hints = 0;
    for (auto _ : state) {
        for (const candidate_grid& g : grids) {
            step found;
            auto start = std::chrono::steady_clock::now();
            first_step(g, r, found);
            double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            slowest = ms > slowest ? ms : slowest;
            over += ms > 100 ? 1 : 0;
            ++hints;
        }
    }
    state.counters["hints"] = static_cast<double>(grids.size());
    state.counters["slowest_ms"] = slowest;
    state.counters["over_100ms"] = static_cast<double>(over) / static_cast<double>(hints);
    state.SetItemsProcessed(hints);
}
BENCHMARK(hint_on_each_grid)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
