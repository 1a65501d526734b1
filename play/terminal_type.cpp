// term.h defines a macro for every capability (lines, columns, tab, ...), so it stays in this
// file alone.
#include "play/terminal_type.h"

#include <curses.h>
#include <term.h>
#include <unistd.h>

bool terminal_described() {
    int found = 0;
    if (setupterm(nullptr, STDOUT_FILENO, &found) != OK) return false;
    del_curterm(cur_term);
    return found == 1;
}
