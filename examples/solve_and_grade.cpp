// The library on its own: reads a puzzle given as 81 cells, counts its solutions, prints the
// first, and grades it, through the library's headers alone. Two puzzles could live side by
// side here: each is a value, and so is each counter and rater.
// Usage: solve_and_grade PUZZLE
#include "core/counter.h"
#include "entry/puzzle_text.h"
#include "logic/rater.h"
#include "render/board.h"
#include "render/steps.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 2 || std::strlen(argv[1]) != 81) {
        std::fputs("usage: solve_and_grade PUZZLE (81 cells, '.' for an empty one)\n", stderr);
        return 2;
    }
    puzzle p{};
    char reason[96];
    if (lay_puzzle_text(p, argv[1], reason, sizeof reason) == 0) {
        std::fprintf(stderr, "solve_and_grade: %s\n", reason);
        return 1;
    }
    counter c;
    c.best_count = 1; // one more than one is enough to know a puzzle is not unique
    int solutions = count_solutions(p, c);
    std::printf("%s\n", solutions == 0   ? "no solution"
                        : solutions == 1 ? "one solution"
                                         : "more than one");
    if (solutions != 1) return 1;
    solution_writer print(stdout);
    c.show_solutions = &print;
    count_solutions(p, c);
    rater r;
    rating_outcome outcome = rate_puzzle(p.grid, r);
    std::printf("\nrated %s (%s), hardest step: %s\n", rating_text(outcome.rating).c_str(),
                level_of(outcome.rating), technique_name(outcome.hardest).c_str());
    return 0;
}
