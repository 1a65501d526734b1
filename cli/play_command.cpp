// verbagrid play, up to the game: the puzzle to play, from a file, the command line, the
// generator or a composition, checked to have one solution, with that solution and its
// symbols. The game itself (the screen, the keys, the saves) is above the command line.
#include "cli/commands.h"
#include "cli/progress.h"
#include "cli/signals.h"
#include "composer/generate.h"
#include "core/stop_flag.h"
#include "core/text.h"
#include "entry/puzzle_file.h"
#include "entry/puzzle_text.h"
#include "logic/rater.h"
#include "render/sheets.h"
#include "render/steps.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>

namespace {

// Keeps the n-th piece of a file of puzzles.
class nth_piece : public piece_taker {
  public:
    explicit nth_piece(int n) : wanted_(n) {}
    void take(const read_piece& piece) override {
        if (++seen_ == wanted_) kept = piece;
    }
    bool found() const { return seen_ >= wanted_; }
    read_piece kept{};

  private:
    int wanted_;
    int seen_ = 0;
};

// The puzzle text of FILE's n-th puzzle, or of the operand itself when no file has its name.
// -1 when cells holds it; else the exit status, with the reason on stderr.
int puzzle_of_operand(const options& o, char* cells, std::string* origin) {
    const std::string& operand = o.operands[0];
    std::FILE* in = std::fopen(operand.c_str(), "rb");
    if (in == nullptr && errno == ENOENT && o.number == 1 && operand.size() >= 81) {
        // not a file: the puzzle itself, one line of cells
        nth_piece first(1);
        puzzle_reader reader;
        start_reading(&reader);
        read_puzzle_bytes(&reader, operand.c_str(), static_cast<int>(operand.size()), first);
        end_reading(&reader, first);
        if (!first.found() || first.kept.reason[0] != '\0') {
            std::fprintf(stderr, "verbagrid: the puzzle given: %s\n",
                         first.found() ? first.kept.reason : "no puzzle");
            return 1;
        }
        std::memcpy(cells, first.kept.cells, 82);
        *origin = "the command line";
        return -1;
    }
    if (in == nullptr) {
        std::fprintf(stderr, "verbagrid: %s: %s\n", operand.c_str(), std::strerror(errno));
        return 1;
    }
    nth_piece wanted(o.number);
    puzzle_reader reader;
    start_reading(&reader);
    char block[4096];
    std::size_t got = 0;
    while (!wanted.found() && (got = std::fread(block, 1, sizeof block, in)) > 0) {
        read_puzzle_bytes(&reader, block, static_cast<int>(got), wanted);
    }
    bool failed = std::ferror(in) != 0;
    std::fclose(in);
    if (failed) {
        std::fprintf(stderr, "verbagrid: %s: a read failed\n", operand.c_str());
        return 1;
    }
    if (!wanted.found()) end_reading(&reader, wanted);
    if (!wanted.found()) {
        std::fprintf(stderr, "verbagrid: %s: holds no puzzle number %d\n", operand.c_str(),
                     o.number);
        return 1;
    }
    if (wanted.kept.reason[0] != '\0') {
        std::fprintf(stderr, "verbagrid: %s:%lld: %s\n", operand.c_str(), wanted.kept.line,
                     wanted.kept.reason);
        return 1;
    }
    std::memcpy(cells, wanted.kept.cells, 82);
    *origin = operand;
    return -1;
}

// A game of the puzzle p: its one solution found, or the exit status when it has none or
// more than one.
int game_of(puzzle& p, int rating, const std::string& origin, play_start* start) {
    int givens[81];
    int solution[81] = {};
    std::memcpy(givens, p.grid, sizeof givens);
    solution_copier copy(solution);
    counter c;
    c.best_count = 1;
    c.show_solutions = &copy;
    int count = count_solutions(p, c);
    if (stop_flag != 0) return interrupted();
    if (count != 1) {
        std::fprintf(stderr, "verbagrid: %s: the puzzle has %s; a game needs exactly one\n",
                     origin.c_str(), count == 0 ? "no solution" : "more than one solution");
        return 1;
    }
    start_game(start->fresh, givens, solution, p.value_letter);
    start->fresh.rating = rating;
    start->fresh.origin = origin;
    return -1;
}

// A new puzzle from the generator, rated as the options ask.
int generated(const options& o, play_start* start) {
    auto p = std::make_unique<puzzle>();
    random_generator random;
    random.seed(o.seed);
    counter c;
    rater r;
    generation how;
    how.kind = o.symmetry_kind;
    how.every_value = !o.letters.empty();
    for (char l : o.letters) add_symbol(*p, to_lower(l));
    progress_line progress(o.quiet);
    long long tried = 0;
    for (;;) {
        progress.show("verbagrid: making a puzzle, " + std::to_string(tried) + " tried");
        generate_puzzle(*p, c, random, how);
        ++tried;
        int rating = rate_puzzle(p->grid, r).rating;
        if (stop_flag != 0) return interrupted();
        if (rating_wanted(o, rating)) {
            progress.end();
            return game_of(*p, rating, "generated", start);
        }
    }
}

} // namespace

int prepare_play(const options& given, play_start* start) {
    if (!is_terminal(0) || !is_terminal(1)) {
        std::fputs("verbagrid: play needs a terminal: standard input and output must both be "
                   "one\n",
                   stderr);
        return 2;
    }
    install_stop_signals();
    if (given.resume) {
        start->resume = true;
        return -1;
    }
    options o = given;
    if (!o.seed_given) {
        // a new game each time: the clock and the system's entropy
        auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        o.seed = std::random_device{}() ^ static_cast<std::uint32_t>(now);
    }
    if (!o.operands.empty()) {
        char cells[82];
        std::string origin;
        int status = puzzle_of_operand(o, cells, &origin);
        if (status >= 0) return status;
        auto p = std::make_unique<puzzle>();
        char reason[96];
        if (lay_puzzle_text(*p, cells, reason, sizeof reason) != 1) {
            std::fprintf(stderr, "verbagrid: %s: %s\n", origin.c_str(), reason);
            return 1;
        }
        return game_of(*p, -1, origin, start);
    }
    if (!o.sentence.empty()) {
        printed_puzzle found;
        int status = compose_first(o, &found);
        if (status >= 0) return status;
        auto p = std::make_unique<puzzle>();
        for (int v = 1; v <= 9 && found.value_letter[v] != 0; ++v) {
            add_symbol(*p, static_cast<char>(found.value_letter[v]));
        }
        for (int cell = 0; cell < 81; ++cell) {
            if (found.givens[cell] != 0) place_value(*p, cell, found.cells[cell]);
        }
        return game_of(*p, found.rating, o.sentence, start);
    }
    return generated(o, start);
}
