// The row prompts and their messages; the checks are entry/starter's.
#include "console/starter_entry.h"

#include "console/line_input.h"
#include "core/text.h"
#include "entry/starter.h"

#include <cstdio>

int read_starter(puzzle& p) {
    std::fputs("\nNew starter\nEx: ligne[1]: a-b---cd-\n\n", stdout);
    for (int row = 0; row < 9; ++row) {
        if (read_row(p, row) == 0) return 0;
    }
    return 1;
}

int read_row(puzzle& p, int row) {
    for (;;) {
        std::printf("ligne[%d] : ", row + 1);
        char line[12];
        // the length is what the read took: a NUL byte is a character, not the end
        int length = read_line(line, sizeof line);
        fold_lower(line, length);
        if (length <= 1) return 0;
        if (length != 10) {
            std::fputs("* needs 9 chars/line\n", stdout);
            continue;
        }
        row_verdict verdict = parse_row(p, line, row);
        switch (verdict.fault) {
        case row_fault::none:
            return 1;
        case row_fault::bad_letter:
            std::printf("- bad letter: %c\n", verdict.c);
            break;
        case row_fault::no_value:
            std::printf("- bad letter : %c (%d)\n", verdict.c, verdict.next_value);
            break;
        case row_fault::illegal:
            std::printf("- illegal: %c\n", verdict.c);
            break;
        }
    }
}
