// The measuring build: the whole program with every count done by the reading-order
// backtracking, to time and compare against verbagrid on the same input. Not installed.
#include "console/modes.h"
#include "core/counter.h"

int main() {
    fast_counting = false;
    return run_program(1);
}
