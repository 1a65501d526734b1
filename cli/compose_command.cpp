// verbagrid compose: the dialogue's composition of one sentence, as if every more? were
// answered yes, with the starters written out instead of asked about. The walk, the counts
// and the generator are the dialogue's, so the starters come in the order it presents them;
// one the walk meets again is written once, and counts once towards --starters. Progress
// goes to stderr, redrawn in place only on a terminal; Ctrl-C, SIGTERM or SIGHUP end the
// search, and the starters found so far are written.
#include "cli/commands.h"
#include "cli/output_file.h"
#include "cli/printed_output.h"
#include "cli/signals.h"
#include "composer/compose.h"
#include "composer/sentence.h"
#include "core/counter.h"
#include "core/grid.h"
#include "core/stop_flag.h"
#include "core/text.h"
#include "logic/rater.h"
#include "render/formats.h"
#include "render/sheets.h"

#include <cstring>
#include <set>
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
std::set<std::string> starters_seen; // each starter's cells, as written
long long passed_over;               // unique starters whose rating is out of the range asked for
bool progress_on_terminal;
bool progress_shown; // a redrawn progress line is on the terminal, not yet ended

void show_progress_at(int best) {
    if (opts->quiet) return;
    char line[120];
    std::snprintf(line, sizeof line,
                  "verbagrid: tries %d of %d, best %d solution(s), %zu starter(s)", tries,
                  max_tries + 1, best, found_starters.size());
    if (opts->rating_low >= 0) {
        std::size_t used = std::strlen(line);
        std::snprintf(line + used, sizeof line - used, ", %lld passed over", passed_over);
    }
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
rater starter_rater;        // rates the starters kept
std::string sentence_words; // the sentence, lower case, for the starters' captions and rows

void take_solution(int) {
    std::memcpy(taking->solution, grid, sizeof grid);
}

// Keeps the starter, with its solution and rating, unless it was kept before; the answer is
// yes until the wanted number is in.
void keep_starter(int difficulty) {
    if (!starters_seen.insert(cells_line(grid, given)).second) return;
    // rated only where a range is asked for or the format shows the rating
    bool shown = opts->format == output_format::line || opts->format == output_format::csv ||
                 opts->format == output_format::html;
    int rating = shown || opts->rating_low >= 0 ? rate_puzzle(grid, starter_rater).rating : -1;
    if (!rating_wanted(*opts, rating)) {
        ++passed_over;
        return;
    }
    composed_starter starter;
    static_cast<printed_puzzle&>(starter) = puzzle_in_grid(difficulty);
    starter.rating = rating;
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

// The character at text[at] as the user typed it: a whole UTF-8 character, and a space or
// a byte that is no character named in words.
std::string character_at(const std::string& text, std::size_t at) {
    auto byte = static_cast<unsigned char>(text[at]);
    if (byte == ' ') return "a space";
    int length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    bool whole = byte < 0x80 || byte >= 0xC0;
    for (int k = 1; k < length && whole; ++k) {
        whole = at + k < text.size() && (static_cast<unsigned char>(text[at + k]) & 0xC0) == 0x80;
    }
    if (!whole) return "byte " + std::to_string(byte);
    return "'" + text.substr(at, static_cast<std::size_t>(length)) + "'";
}

// Why the typed sentence cannot be composed, or empty when it can; on acceptance the
// alphabet is the sentence's.
std::string refusal_of(const std::string& typed, char* sentence) {
    for (std::size_t k = 0; k < typed.size(); ++k) {
        auto byte = static_cast<unsigned char>(typed[k]);
        if (byte < 0x20 || byte == 0x7F) {
            return "the sentence holds a control character (byte " + std::to_string(byte) + ")";
        }
    }
    // the dialogue's sentence buffer holds 79 characters; the walk keeps no more letters
    if (typed.size() > 79) {
        return "the sentence has " + std::to_string(typed.size()) + " characters, at most 79 fit";
    }
    int length = static_cast<int>(typed.size());
    std::memcpy(sentence, typed.c_str(), typed.size());
    fold_lower(sentence, length);
    sentence[length] = '\n'; // as read at the sentence prompt
    sentence[length + 1] = '\0';
    char offending = 0;
    int verdict = scan_sentence(sentence, length, &offending);
    std::string letter = "'";
    letter += offending;
    letter += "'";
    switch (verdict) {
    case sentence_bad_letter:
        return "the sentence may hold the letters a to z only, not " +
               character_at(typed, std::strchr(sentence, offending) - sentence);
    case sentence_too_many_letters:
        return "the sentence has more than nine different letters: " + letter + " is a tenth";
    case sentence_too_few_letters:
        return "the sentence has " + std::to_string(next_value - 1) +
               " different letters; it needs nine";
    case sentence_letter_too_often:
        return letter + " comes more than 9 times: no grid can hold it, once a row";
    default:
        return "";
    }
}

void ignore_unique(int) {}

const composition_news command_news = {ignore,       ignore_depth, show_progress, note_improvement,
                                       keep_starter, ignore,       nullptr};
// With a level or a range of ratings, every unique starter the walk meets is a candidate,
// not only those the dialogue would show.
const composition_news rated_news = {ignore,        ignore_depth, show_progress, note_improvement,
                                     ignore_unique, ignore,       keep_starter};

} // namespace

int run_compose(const options& given_options) {
    opts = &given_options;
    found_starters.clear();
    starters_seen.clear();
    passed_over = 0;
    reset_puzzle();
    char sentence[82];
    const std::string& typed = given_options.operands[0];
    std::string refusal = refusal_of(typed, sentence);
    if (!refusal.empty()) {
        std::fprintf(stderr, "verbagrid: %s\n", refusal.c_str());
        return 2;
    }
    sentence_words.assign(sentence, typed.size());
    output_file output;
    if (!output.open(given_options.output)) return 1;
    progress_on_terminal = isatty(2) != 0;
    install_stop_signals();
    seed_random(given_options.seed);
    run_composition(sentence, given_options.rating_low >= 0 ? rated_news : command_news);
    end_progress();
    if (found_starters.empty()) {
        const char* text = verdict();
        if (stopped_by_signal()) text = "interrupted before a starter was found\n";
        std::fprintf(stderr, "verbagrid: %s", text != nullptr ? text : "no starter found\n");
        return 1;
    }
    if (given_options.format == output_format::svg || given_options.format == output_format::html) {
        std::vector<printed_puzzle> pages(found_starters.begin(), found_starters.end());
        return write_printed(output, given_options, pages, caption_by_name(given_options.caption),
                             "starter")
                   ? 0
                   : 1;
    }
    write_starters(output.stream(), given_options.format, found_starters);
    return output.commit() ? 0 : 1;
}
