// Verbagrid: letter sudoku at the console. Arguments are ignored.
#include "console/modes.h"

int main() {
    return run_program();
}
