// The measuring build: the whole program with every count done by the reading-order
// backtracking, to time and compare against verbagrid on the same input. Not installed.
#include "console/modes.h"

int main() {
    dialogue_settings settings;
    settings.in_reading_order = true;
    return run_program(settings);
}
