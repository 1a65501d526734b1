// Writes a file of puzzles with one solution each, one line of 81 cells a puzzle ('.' empty),
// for the solve and grade benchmarks. Two kinds alternate: minimal starters (no given can go)
// and starters thinned to 22 to 30 givens, both made by the program's own generator from a
// fixed seed, so the same file comes out every time.
//
// Usage: puzzle_file COUNT > FILE
#include "composer/generate.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    puzzle p{};
    counter c;
    random_generator random;
    random.seed(0x2545F491u);
    for (int i = 0; i < count; ++i) {
        generation how;
        how.fewest_givens = i % 2 == 0 ? 0 : 22 + random.next() % 9;
        generate_puzzle(p, c, random, how);
        char line[83];
        for (int cell = 0; cell < 81; ++cell) {
            line[cell] = p.grid[cell] != 0 ? static_cast<char>('0' + p.grid[cell]) : '.';
        }
        line[81] = '\n';
        line[82] = '\0';
        std::fputs(line, stdout);
    }
    return 0;
}
