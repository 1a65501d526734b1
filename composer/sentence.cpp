// A sentence is accepted when it holds letters only, exactly nine distinct ones, and none
// more often than a grid can hold it. The alphabet is built while checking, so an accepted
// sentence leaves it full.
#include "composer/sentence.h"

#include "core/text.h"

sentence_scan scan_sentence(puzzle& p, const char* sentence, int length) {
    sentence_scan scan{sentence_accepted, 0, 0, 0};
    p.next_value = 1;
    int times[10] = {};
    for (int k = 0; k < length && sentence[k] != '\n'; ++k) {
        char c = sentence[k];
        scan.offending = c;
        if (!is_lower_letter(c)) {
            scan.verdict = sentence_bad_letter;
            return scan;
        }
        if (p.letter_value[static_cast<unsigned char>(c)] == 0) {
            if (p.next_value == 10) {
                scan.verdict = sentence_too_many_letters;
                return scan;
            }
            add_symbol(p, c);
        }
        ++times[p.letter_value[static_cast<unsigned char>(c)]];
        ++scan.letters;
    }
    // 162 is twice the cells: letters spread over the grid go 1 to dist cells apart
    scan.dist = scan.letters > 0 ? 162 / scan.letters - 1 : 0;
    if (p.next_value != 10) {
        scan.verdict = sentence_too_few_letters;
        return scan;
    }
    // a value fills each row once: a tenth of the same letter never fits, and the walk would
    // try lay-outs for ever
    for (int v = 1; v <= 9; ++v) {
        if (times[v] > 9) {
            scan.offending = static_cast<char>(p.value_letter[v]);
            scan.verdict = sentence_letter_too_often;
            return scan;
        }
    }
    return scan;
}
