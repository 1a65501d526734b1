// A sentence is accepted when it holds letters only, exactly nine distinct ones, and none
// more often than a grid can hold it. The alphabet is built while checking, so an accepted
// sentence leaves it full.
#include "composer/sentence.h"

#include "core/grid.h"
#include "core/text.h"

int dist;
int sentence_letters;

int scan_sentence(const char* sentence, int length, char* offending) {
    next_value = 1;
    int letters = 0;
    int times[10] = {};
    for (int k = 0; k < length && sentence[k] != '\n'; ++k) {
        char c = sentence[k];
        *offending = c;
        if (!is_lower_letter(c)) return sentence_bad_letter;
        if (letter_value[static_cast<unsigned char>(c)] == 0) {
            if (next_value == 10) return sentence_too_many_letters;
            add_symbol(c);
        }
        ++times[letter_value[static_cast<unsigned char>(c)]];
        ++letters;
    }
    // 162 is twice the cells: letters spread over the grid go 1 to dist cells apart
    dist = letters > 0 ? 162 / letters - 1 : 0;
    sentence_letters = letters;
    if (next_value != 10) return sentence_too_few_letters;
    // a value fills each row once: a tenth of the same letter never fits, and the walk would
    // try lay-outs for ever
    for (int v = 1; v <= 9; ++v) {
        if (times[v] > 9) {
            *offending = static_cast<char>(value_letter[v]);
            return sentence_letter_too_often;
        }
    }
    return sentence_accepted;
}
