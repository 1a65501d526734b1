// Writes a file of puzzles with one solution each, one line of 81 cells a puzzle ('.' empty),
// for the solve benchmark. Two kinds alternate: minimal starters (no given can go) taken from
// random complete grids, and starters with 22 to 30 givens. Made from a fixed seed, so the
// same file comes out every time.
//
// Usage: puzzle_file COUNT > FILE
#include "core/counter.h"
#include "core/grid.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

std::uint64_t random_bits = 0x2545F4914F6CDD1Du;

int draw(int n) { // 0..n-1
    random_bits ^= random_bits << 13;
    random_bits ^= random_bits >> 7;
    random_bits ^= random_bits << 17;
    return static_cast<int>(random_bits % static_cast<std::uint64_t>(n));
}

void shuffled(int* items, int n) {
    for (int i = 0; i < n; ++i) items[i] = i;
    for (int i = n - 1; i > 0; --i) std::swap(items[i], items[draw(i + 1)]);
}

// Fills the empty grid at random: each cell, in random order, takes a random value that still
// leaves a solution.
void fill_random_grid() {
    int order[81];
    shuffled(order, 81);
    for (int cell : order) {
        if (grid[cell] != 0) continue;
        int values[9];
        shuffled(values, 9);
        for (int i : values) {
            if (!fits(cell, i + 1)) continue;
            place_value(cell, i + 1);
            if (count_up_to(0) == 1) break;
            remove_value(cell);
        }
    }
}

// Takes givens away in random order while one solution remains, down to at most keep givens
// (81: as far as it goes, a minimal starter).
void thin_out(int keep) {
    int order[81];
    shuffled(order, 81);
    int givens = 81;
    for (int cell : order) {
        if (givens <= keep) break;
        int v = grid[cell];
        remove_value(cell);
        if (count_up_to(1) == 1) {
            --givens;
        } else {
            place_value(cell, v);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    for (int i = 0; i < count; ++i) {
        reset_puzzle();
        fill_random_grid();
        thin_out(i % 2 == 0 ? 0 : 22 + draw(9));
        char line[83];
        for (int cell = 0; cell < 81; ++cell) {
            line[cell] = grid[cell] != 0 ? static_cast<char>('0' + grid[cell]) : '.';
        }
        line[81] = '\n';
        line[82] = '\0';
        std::fputs(line, stdout);
    }
    return 0;
}
