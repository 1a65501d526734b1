// Start-up and the mode loops. Until a mode loop installs the handler, Ctrl-C keeps its
// default effect and ends the process. The stop flag is cleared before every search, so an
// interrupt at a prompt has no lasting effect. The session's puzzle and its composition are
// the loops' own, made once.
#include "console/modes.h"

#include "composer/compose.h"
#include "console/composer_dialogue.h"
#include "console/interrupt.h"
#include "console/line_input.h"
#include "console/starter_entry.h"
#include "core/counter.h"
#include "core/stop_flag.h"
#include "core/text.h"
#include "render/board.h"

#include <cstdio>
#include <memory>

int run_program(const dialogue_settings& settings) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::fputs("Verbagrid 1.3\nRuns in Composer/Solver mode\nMail: verbagrid@example.org\n\n\n",
               stdout);
    for (;;) {
        std::fputs("Mode? - Composer/Solver (c/s) : ", stdout);
        char answer[4];
        if (read_line(answer, sizeof answer) == 0) return 0; // end of input: nothing to run
        char c = answer[0];
        if (c == 'c' || c == 'C') {
            run_composer(settings);
            return 0;
        }
        if (c == 's' || c == 'S') {
            run_solver(settings);
            return 0;
        }
    }
}

void run_composer(const dialogue_settings& settings) {
    std::fputs("Usage : Enter a sentence of around 30 letters, 9 different letters, no spaces\n",
               stdout);
    std::fputs("Sample : oldsailorsandlionsreadsirenlore\n", stdout);
    auto p = std::make_unique<puzzle>();
    auto composing = std::make_unique<composition>(settings.jobs);
    composing->in_reading_order = settings.in_reading_order;
    composing->watcher = settings.watcher;
    dialogue_news news;
    news.in_reading_order = settings.in_reading_order;
    for (;;) {
        stop_flag = 0;
        install_interrupt_handler();
        char sentence[80];
        int dist = -1;
        do {
            reset_puzzle(*p);
            std::fputs("\nsentence: ", stdout);
            int length = read_line(sentence, sizeof sentence);
            if (length <= 2) return;
            fold_lower(sentence, length);
            dist = check_sentence(*p, sentence, length);
        } while (dist < 0);
        composing->run(*p, sentence, dist, news);
    }
}

void run_solver(const dialogue_settings& settings) {
    std::fputs("Solver mode\n", stdout);
    puzzle p{};
    solution_writer printer(stdout);
    auto c = std::make_unique<counter>();
    c->in_reading_order = settings.in_reading_order;
    c->show_solutions = &printer;
    for (;;) {
        install_interrupt_handler();
        reset_puzzle(p);
        if (read_starter(p) == 0) return;
        stop_flag = 0;
        c->best_count = 9;
        count_solutions(p, *c);
    }
}
