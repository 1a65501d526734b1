// verbagrid compose: the dialogue's composition of one sentence, as if every more? were
// answered yes, with the starters written out instead of asked about. The walk, the counts
// and the generator are the dialogue's, so the N-th starter written is the N-th it presents.
// Progress goes to stderr, redrawn in place only on a terminal; Ctrl-C ends the search and
// the starters found so far are written.
#include "cli/commands.h"
#include "cli/output_file.h"
#include "composer/compose.h"
#include "composer/sentence.h"
#include "console/interrupt.h"
#include "core/counter.h"
#include "core/grid.h"
#include "core/stop_flag.h"
#include "core/text.h"
#include "render/formats.h"
#include "render/sheets.h"

#include <cstring>
#include <string>
#include <vector>
#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

namespace {

const options* opts;
std::vector<composed_starter> found_starters;
bool progress_on_terminal;
bool progress_shown; // a redrawn progress line is on the terminal, not yet ended

void show_progress_at(int best) {
    if (opts->quiet) return;
    char line[120];
    std::snprintf(line, sizeof line,
                  "verbagrid: tries %d of %d, best %d solution(s), %zu starter(s)", tries,
                  max_tries + 1, best, found_starters.size());
    if (progress_on_terminal) {
        std::fprintf(stderr, "\r%-78s", line);
        progress_shown = true;
    } else {
        std::fprintf(stderr, "%s\n", line);
    }
}

void show_progress() {
    show_progress_at(best_count);
}

void end_progress() {
    if (progress_shown) std::fputc('\n', stderr);
    progress_shown = false;
}

void ignore() {}
void ignore_depth(const char*) {}
void note_improvement(int count) {
    show_progress_at(count);
}

composed_starter* taking; // the starter whose solution the listing fills in

void take_solution(int) {
    std::memcpy(taking->solution, grid, sizeof grid);
}

// Keeps the starter, with its solution; the answer is yes until the wanted number is in.
void keep_starter(int difficulty) {
    composed_starter starter;
    starter.difficulty = difficulty;
    starter.tries = tries;
    std::memcpy(starter.cells, grid, sizeof grid);
    std::memcpy(starter.givens, given, sizeof given);
    taking = &starter;
    // an interrupt may cut the listing short: a starter without its solution is not kept
    if (list_up_to(1, take_solution) == 1) found_starters.push_back(starter);
    if (opts->starters > 0 && static_cast<int>(found_starters.size()) >= opts->starters) {
        stop_flag = 1;
    }
    show_progress();
}

const composition_news command_news = {ignore,           ignore_depth, show_progress,
                                       note_improvement, keep_starter, ignore};

} // namespace

int run_compose(const options& given_options) {
    opts = &given_options;
    std::string typed = given_options.operands[0];
    // the dialogue's sentence buffer holds 79 characters; the walk keeps no more letters
    if (typed.size() > 79) {
        std::fprintf(stderr, "verbagrid: the sentence has %zu characters, at most 79 fit\n",
                     typed.size());
        return 2;
    }
    init_geometry();
    reset_puzzle();
    char sentence[81];
    std::memcpy(sentence, typed.c_str(), typed.size());
    int length = static_cast<int>(typed.size());
    fold_lower(sentence, length);
    sentence[length] = '\n'; // as read at the sentence prompt
    sentence[length + 1] = '\0';
    char offending = 0;
    int verdict_of_sentence = scan_sentence(sentence, length, &offending);
    if (verdict_of_sentence != sentence_accepted) {
        std::fputs("verbagrid: ", stderr);
        write_sentence_refusal(stderr, verdict_of_sentence, offending);
        return 2;
    }
    output_file output;
    if (!output.open(given_options.output)) return 1;
    progress_on_terminal = isatty(2) != 0;
    install_interrupt_handler();
    seed_random(given_options.seed);
    news = &command_news;
    std::sig_atomic_t interrupts_before = interrupt_count;
    run_composition(sentence);
    news = &dialogue_news;
    end_progress();
    sentence[length] = '\0';
    if (found_starters.empty()) {
        const char* text = verdict();
        if (interrupt_count != interrupts_before) text = "interrupted before a starter was found\n";
        std::fprintf(stderr, "verbagrid: %s", text != nullptr ? text : "no starter found\n");
        output.discard();
        return 1;
    }
    sheet_request request{sentence, &found_starters, given_options.caption, given_options.solution};
    write_starters(output.stream(), given_options.format, request);
    return output.commit() ? 0 : 1;
}
