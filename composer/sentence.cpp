// A sentence is accepted when it holds letters only and exactly nine distinct ones. The
// alphabet is built while checking, so an accepted sentence leaves it full.
#include "composer/sentence.h"

#include "core/grid.h"
#include "core/text.h"

int dist;
int sentence_letters;

int scan_sentence(const char* sentence, int length, char* offending) {
    next_value = 1;
    int letters = 0;
    for (int k = 0; k < length && sentence[k] != '\n'; ++k) {
        char c = sentence[k];
        *offending = c;
        if (!is_lower_letter(c)) return sentence_bad_letter;
        if (letter_value[static_cast<unsigned char>(c)] == 0) {
            if (next_value == 10) return sentence_too_many_letters;
            add_symbol(c);
        }
        ++letters;
    }
    // 162 is twice the cells: letters spread over the grid go 1 to dist cells apart
    dist = letters > 0 ? 162 / letters - 1 : 0;
    sentence_letters = letters;
    return next_value == 10 ? sentence_accepted : sentence_too_few_letters;
}

void write_sentence_refusal(std::FILE* out, int verdict, char offending) {
    if (verdict == sentence_bad_letter) std::fprintf(out, "* bad letter: %c\n", offending);
    if (verdict == sentence_too_many_letters) {
        std::fprintf(out, "* too many letters : %c\n", offending);
    }
    if (verdict == sentence_too_few_letters) {
        std::fprintf(out, "* not enough different letters  (missing: %d)\n", 10 - next_value);
    }
}

int check_sentence(const char* sentence, int length) {
    char offending = 0;
    int verdict = scan_sentence(sentence, length, &offending);
    if (verdict == sentence_accepted || verdict == sentence_too_few_letters) {
        std::printf("%s\t%d letters (%d diff)  dist:%d\n", sentence, sentence_letters,
                    next_value - 1, dist);
    }
    write_sentence_refusal(stdout, verdict, offending);
    return verdict == sentence_accepted ? 1 : 0;
}
