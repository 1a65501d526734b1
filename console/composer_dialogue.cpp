// What the dialogue prints while it composes, all on stdout, which is unbuffered: each line
// shows as the composition reaches it. The composition itself only reports; the words and
// the question are here.
#include "console/composer_dialogue.h"

#include "composer/sentence.h"
#include "console/line_input.h"
#include "core/stop_flag.h"
#include "render/board.h"

#include <cstdio>

int check_sentence(puzzle& p, const char* sentence, int length) {
    sentence_scan scan = scan_sentence(p, sentence, length);
    if (scan.verdict != sentence_bad_letter && scan.verdict != sentence_too_many_letters) {
        std::printf("%s\t%d letters (%d diff)  dist:%d\n", sentence, scan.letters, p.next_value - 1,
                    scan.dist);
    }
    switch (scan.verdict) {
    case sentence_bad_letter:
        std::printf("* bad letter: %c\n", scan.offending);
        break;
    case sentence_too_many_letters:
        std::printf("* too many letters : %c\n", scan.offending);
        break;
    case sentence_too_few_letters:
        std::printf("* not enough different letters  (missing: %d)\n", 10 - p.next_value);
        break;
    case sentence_letter_too_often:
        std::printf("* %c more than 9 times: no lay-out can hold it\n", scan.offending);
        break;
    default:
        return scan.dist;
    }
    return -1;
}

bool ask_more() {
    // an interrupt while the question waits ends it after the answer being typed; the answer
    // still decides, and anything but a yes then ends the composition
    std::sig_atomic_t count_before = interrupt_count;
    for (;;) {
        std::fputs("more? (y/n) : ", stdout);
        char answer[4];
        if (read_line(answer, sizeof answer) == 0) return false; // no one is left to say yes
        char c = answer[0];
        if (c == 'y' || c == 'Y' || c == 'o' || c == 'O') {
            stop_flag = 0; // the yes goes on, whatever interrupt came while it was asked
            return true;
        }
        if (c == 'n' || c == 'N' || interrupt_count != count_before) return false;
    }
}

void dialogue_news::started() {
    std::fputs("composing ...\n", stdout);
}

void dialogue_news::reached(const char* rest) {
    std::printf("%s", rest);
}

void dialogue_news::progressed(const composition& c) {
    std::printf("tries: %d  - best: %d solution(s)(CTRL-C to stop)\n", c.tries(), c.best_count());
}

void dialogue_news::improved(const composition& c, int count) {
    std::printf("found : best : %d solution(s) - tries:%d\n", count, c.tries());
}

bool dialogue_news::unique(const composition& composed, const puzzle& p, int difficulty) {
    write_starter(stdout, difficulty, p);
    // an interrupt from here until the answer is decided by the answer: the listing stops at
    // once or is cut short, and the question still comes
    puzzle counted = p;
    solution_writer printer(stdout);
    counter c;
    c.best_count = composed.best_count();
    c.show_solutions = &printer;
    c.in_reading_order = in_reading_order;
    count_solutions(counted, c);
    std::fputs("\n", stdout);
    return ask_more();
}

void dialogue_news::ended(const composition& c) {
    const char* text = c.verdict();
    if (text != nullptr) std::fputs(text, stdout);
}
