// Start-up and the mode loops. Until a mode loop installs the handler, Ctrl-C keeps its
// default effect and ends the process. The stop flag is cleared before every search, so an
// interrupt at a prompt has no lasting effect.
#include "console/modes.h"

#include "composer/compose.h"
#include "console/composer_dialogue.h"
#include "console/interrupt.h"
#include "core/counter.h"
#include "core/grid.h"
#include "core/stop_flag.h"
#include "core/text.h"
#include "entry/starter.h"

#include <cstdio>

int run_program(int jobs) {
    counting_jobs = jobs;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::fputs("Verbagrid 1.3\nRuns in Composer/Solver mode\nMail: verbagrid@example.org\n\n\n",
               stdout);
    for (;;) {
        std::fputs("Mode? - Composer/Solver (c/s) : ", stdout);
        char answer[4];
        if (read_line(answer, sizeof answer) == 0) return 0; // end of input: nothing to run
        char c = answer[0];
        if (c == 'c' || c == 'C') {
            run_composer();
            return 0;
        }
        if (c == 's' || c == 'S') {
            run_solver();
            return 0;
        }
    }
}

void run_composer() {
    std::fputs("Usage : Enter a sentence of around 30 letters, 9 different letters, no spaces\n",
               stdout);
    std::fputs("Sample : oldsailorsandlionsreadsirenlore\n", stdout);
    for (;;) {
        stop_flag = 0;
        install_interrupt_handler();
        char sentence[80];
        int length = 0;
        do {
            reset_puzzle();
            std::fputs("\nsentence: ", stdout);
            length = read_line(sentence, sizeof sentence);
            if (length <= 2) return;
            fold_lower(sentence, length);
        } while (check_sentence(sentence, length) == 0);
        run_composition(sentence, dialogue_news);
    }
}

void run_solver() {
    std::fputs("Solver mode\n", stdout);
    for (;;) {
        install_interrupt_handler();
        show_solutions = 1;
        reset_puzzle();
        if (read_starter() == 0) return;
        solution_count = 0;
        stop_flag = 0;
        best_count = 9;
        count_solutions(0);
    }
}
