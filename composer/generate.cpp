// Filling takes each cell in random order and gives it a random value that still leaves a
// solution, so the grid is complete without a search of its own. Thinning takes a given (and
// its image) away only when the puzzle keeps exactly one solution; a pass over every cell in
// random order leaves none that could go.
#include "composer/generate.h"

#include "composer/compose_internal.h"
#include "core/counter.h"
#include "core/grid.h"

#include <utility>

namespace {

void shuffled(int* items, int n) {
    for (int i = 0; i < n; ++i) items[i] = i;
    for (int i = n - 1; i > 0; --i) std::swap(items[i], items[next_random() % (i + 1)]);
}

int image_of(int cell, symmetry kind) {
    if (kind == symmetry::rotate180) return 80 - cell;
    if (kind == symmetry::mirror) return 9 * row_of[cell] + 8 - col_of[cell];
    return cell;
}

void fill_random_grid() {
    int order[81];
    shuffled(order, 81);
    for (int cell : order) {
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

} // namespace

void generate_puzzle(symmetry kind) {
    reset_puzzle();
    fill_random_grid();
    int order[81];
    shuffled(order, 81);
    for (int cell : order) {
        int image = image_of(cell, kind);
        if (grid[cell] == 0) continue;
        int v = grid[cell];
        int w = grid[image];
        remove_value(cell);
        if (image != cell && w != 0) remove_value(image);
        if (count_up_to(1) == 1) continue;
        place_value(cell, v);
        if (image != cell && w != 0) place_value(image, w);
    }
    for (int cell = 0; cell < 81; ++cell) given[cell] = grid[cell] != 0 ? 1 : 0;
}
