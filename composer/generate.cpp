// Filling takes each cell in random order and gives it a random value that still leaves a
// solution, so the grid is complete without a search of its own. Thinning takes a given (and
// its image) away only when the puzzle keeps exactly one solution; a pass over every cell in
// random order leaves none that could go.
#include "composer/generate.h"

#include <cstring>
#include <utility>

namespace {

void shuffled(random_generator& random, int* items, int n) {
    for (int i = 0; i < n; ++i) items[i] = i;
    for (int i = n - 1; i > 0; --i) std::swap(items[i], items[random.next() % (i + 1)]);
}

int image_of(int cell, symmetry kind) {
    if (kind == symmetry::rotate180) return 80 - cell;
    if (kind == symmetry::mirror) return 9 * row_of[cell] + 8 - col_of[cell];
    return cell;
}

int count_up_to(puzzle& p, counter& c, int bound) {
    c.best_count = bound;
    return count_solutions(p, c);
}

void fill_random_grid(puzzle& p, counter& c, random_generator& random) {
    int order[81];
    shuffled(random, order, 81);
    for (int cell : order) {
        int values[9];
        shuffled(random, values, 9);
        for (int i : values) {
            if (!fits(p, cell, i + 1)) continue;
            place_value(p, cell, i + 1);
            if (count_up_to(p, c, 0) == 1) break;
            remove_value(p, cell);
        }
    }
}

} // namespace

void generate_puzzle(puzzle& p, counter& c, random_generator& random, const generation& how) {
    std::memset(p.grid, 0, sizeof p.grid);
    std::memset(p.given, 0, sizeof p.given);
    std::memset(p.row_mask, 0, sizeof p.row_mask);
    std::memset(p.col_mask, 0, sizeof p.col_mask);
    std::memset(p.box_mask, 0, sizeof p.box_mask);
    solution_taker* shown = c.show_solutions;
    c.show_solutions = nullptr;
    fill_random_grid(p, c, random);
    int order[81];
    shuffled(random, order, 81);
    int kept[10] = {}; // givens of each value
    for (int cell = 0; cell < 81; ++cell) ++kept[p.grid[cell]];
    int givens = 81;
    for (int cell : order) {
        if (givens <= how.fewest_givens) break;
        int image = image_of(cell, how.kind);
        if (p.grid[cell] == 0) continue;
        int v = p.grid[cell];
        int w = p.grid[image];
        bool last = kept[v] == 1 || (image != cell && w != 0 && kept[w] == (w == v ? 2 : 1));
        if (how.every_value && last) continue; // a letter no given shows could not be known
        --kept[v];
        if (image != cell && w != 0) --kept[w];
        remove_value(p, cell);
        if (image != cell && w != 0) remove_value(p, image);
        if (count_up_to(p, c, 1) == 1) {
            givens -= image != cell && w != 0 ? 2 : 1;
            continue;
        }
        place_value(p, cell, v);
        ++kept[v];
        if (image != cell && w != 0) {
            place_value(p, image, w);
            ++kept[w];
        }
    }
    for (int cell = 0; cell < 81; ++cell) p.given[cell] = p.grid[cell] != 0 ? 1 : 0;
    c.show_solutions = shown;
}
