// What the dialogue prints while it composes, all on stdout, which is unbuffered: each line
// shows as the composition reaches it. The composition itself only reports; the words and
// the question are here.
#include "console/composer_dialogue.h"

#include "composer/sentence.h"
#include "core/board.h"
#include "core/counter.h"
#include "core/grid.h"
#include "core/stop_flag.h"
#include "core/text.h"

#include <cstdio>

int check_sentence(const char* sentence, int length) {
    char offending = 0;
    int verdict = scan_sentence(sentence, length, &offending);
    if (verdict != sentence_bad_letter && verdict != sentence_too_many_letters) {
        std::printf("%s\t%d letters (%d diff)  dist:%d\n", sentence, sentence_letters,
                    next_value - 1, dist);
    }
    if (verdict == sentence_bad_letter) std::printf("* bad letter: %c\n", offending);
    if (verdict == sentence_too_many_letters) std::printf("* too many letters : %c\n", offending);
    if (verdict == sentence_too_few_letters) {
        std::printf("* not enough different letters  (missing: %d)\n", 10 - next_value);
    }
    if (verdict == sentence_letter_too_often) {
        std::printf("* %c more than 9 times: no lay-out can hold it\n", offending);
    }
    return verdict == sentence_accepted ? 1 : 0;
}

void ask_more() {
    stop_flag = -1;
    // an interrupt while the question waits turns the flag to 1: the answer being typed
    // still decides, and anything but a yes then ends the composition
    while (stop_flag < 0) {
        std::fputs("more? (y/n) : ", stdout);
        char answer[4];
        if (read_line(answer, sizeof answer) == 0) {
            stop_flag = 1; // end of input: no one is left to say yes
            return;
        }
        char c = answer[0];
        if (c == 'y' || c == 'Y' || c == 'o' || c == 'O') stop_flag = 0;
        if (c == 'n' || c == 'N') stop_flag = 1;
    }
}

namespace {

void print_start() {
    std::fputs("composing ...\n", stdout);
}

void print_depth(const char* rest) {
    std::printf("%s", rest);
}

void print_progress() {
    std::printf("tries: %d  - best: %d solution(s)(CTRL-C to stop)\n", tries, best_count);
}

void print_improvement(int count) {
    std::printf("found : best : %d solution(s) - tries:%d\n", count, tries);
}

void present(int difficulty) {
    std::printf("\n** difficulty:%d ***\n", difficulty);
    print_board();
    show_solutions = 1;
    solution_count = 0;
    count_solutions(0);
    std::fputs("\n", stdout);
    show_solutions = 0;
    ask_more();
}

void print_verdict() {
    const char* text = verdict();
    if (text != nullptr) std::fputs(text, stdout);
}

} // namespace

const composition_news dialogue_news = {
    print_start, print_depth, print_progress, print_improvement, present, print_verdict, nullptr};
