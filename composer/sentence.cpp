// A sentence is accepted when it holds letters only and exactly nine distinct ones. The
// alphabet is built while checking, so an accepted sentence leaves it full.
#include "composer/sentence.h"

#include "core/grid.h"
#include "core/text.h"

#include <cstdio>

int dist;

int check_sentence(const char* sentence, int length) {
    next_value = 1;
    int letters = 0;
    for (int k = 0; k < length && sentence[k] != '\n'; ++k) {
        char c = sentence[k];
        if (!is_lower_letter(c)) {
            std::printf("* bad letter: %c\n", c);
            return 0;
        }
        if (letter_value[static_cast<unsigned char>(c)] == 0) {
            if (next_value == 10) {
                std::printf("* too many letters : %c\n", c);
                return 0;
            }
            add_symbol(c);
        }
        ++letters;
    }
    // 162 is twice the cells: letters spread over the grid go 1 to dist cells apart
    dist = letters > 0 ? 162 / letters - 1 : 0;
    std::printf("%s\t%d letters (%d diff)  dist:%d\n", sentence, letters, next_value - 1, dist);
    if (next_value == 10) return 1;
    std::printf("* not enough different letters  (missing: %d)\n", 10 - next_value);
    return 0;
}
