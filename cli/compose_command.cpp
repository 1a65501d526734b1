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

composed_starter* taking;   // the starter whose solution the listing fills in
std::string sentence_words; // the sentence, lower case, for the starters' captions and rows

void take_solution(int) {
    std::memcpy(taking->solution, grid, sizeof grid);
}

// Keeps the starter, with its solution; the answer is yes until the wanted number is in.
void keep_starter(int difficulty) {
    composed_starter starter;
    static_cast<printed_puzzle&>(starter) = puzzle_in_grid(difficulty);
    starter.tries = tries;
    starter.sentence = sentence_words;
    taking = &starter;
    // an interrupt may cut the listing short: a starter without its solution is not kept
    if (list_up_to(1, take_solution) == 1) found_starters.push_back(starter);
    if (opts->starters > 0 && static_cast<int>(found_starters.size()) >= opts->starters) {
        stop_flag = 1;
    }
    show_progress();
}

caption_kind caption_by_name(const std::string& name) {
    if (name == "sentence") return caption_kind::sentence;
    if (name == "none") return caption_kind::none;
    return caption_kind::letters;
}

// The starters in the format asked for. An SVG holds one starter: the first goes to the
// output, and with -o the others to files numbered after it (card.svg, card-2.svg, ...).
bool write_all(output_file& output, const options& o) {
    caption_kind caption = caption_by_name(o.caption);
    if (o.format == output_format::html) {
        std::vector<printed_puzzle> pages(found_starters.begin(), found_starters.end());
        std::fputs(html_sheet(pages, caption).c_str(), output.stream());
        return true;
    }
    if (o.format != output_format::svg) {
        write_starters(output.stream(), o.format, found_starters);
        return true;
    }
    std::fputs(svg_document(found_starters[0], caption, o.solution).c_str(), output.stream());
    if (found_starters.size() > 1 && o.output.empty()) {
        std::fprintf(stderr, "verbagrid: an SVG holds one starter; -o FILE writes all %zu\n",
                     found_starters.size());
    }
    for (std::size_t i = 1; i < found_starters.size() && !o.output.empty(); ++i) {
        if (!write_whole_file(numbered_name(o.output, static_cast<int>(i) + 1),
                              svg_document(found_starters[i], caption, o.solution))) {
            return false;
        }
    }
    return true;
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
    sentence_words.assign(sentence, static_cast<std::size_t>(length));
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
    if (!write_all(output, given_options)) return 1;
    return output.commit() ? 0 : 1;
}
