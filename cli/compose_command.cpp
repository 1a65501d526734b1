// verbagrid compose: the dialogue's composition with every more? answered yes. Each starter the
// dialogue would present is written once, as soon as it is found (the walk may meet a starter
// again); with a level or a range of ratings, every unique starter the walk meets is a
// candidate. Progress goes to standard error. A signal ends the search; what was written
// stays, a file named with -o is left as it was, and the status is 1.
#include "cli/commands.h"
#include "cli/output_file.h"
#include "cli/printed_output.h"
#include "cli/progress.h"
#include "cli/signals.h"
#include "composer/compose.h"
#include "composer/sentence.h"
#include "core/stop_flag.h"
#include "core/text.h"
#include "logic/rater.h"
#include "render/formats.h"
#include "render/sheets.h"

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// No sentence this short has a starter with one solution: the fewest givens a puzzle with one
// solution can have is 17.
constexpr int fewest_letters = 17;

class compose_news : public composition_news {
  public:
    // With out null, the starters are kept in pages() and nothing is written.
    compose_news(const options& o, std::FILE* out, const std::string& sentence)
        : o_(o), out_(out), sentence_(sentence), progress_(o.quiet) {
        streamed_ =
            out != nullptr && o.format != output_format::svg && o.format != output_format::html;
        if (streamed_) write_starter_header(out, o.format);
    }

    void progressed(const composition& c) override { show(c, c.best_count()); }
    void improved(const composition& c, int count) override { show(c, count); }
    bool unique(const composition& c, const puzzle& p, int difficulty) override {
        return o_.rating_low >= 0 || keep(c, p, difficulty);
    }
    bool every_unique(const composition& c, const puzzle& p, int difficulty) override {
        return o_.rating_low < 0 || keep(c, p, difficulty);
    }
    void ended(const composition&) override { progress_.end(); }

    int kept() const { return kept_; }
    long long passed_over() const { return passed_over_; }
    const std::vector<printed_puzzle>& pages() const { return pages_; }
    bool write_failed() const { return write_failed_; }

  private:
    void show(const composition& c, int best) {
        std::string line = "verbagrid: tries " + std::to_string(c.tries()) + " of " +
                           std::to_string(max_tries + 1) + ", best " + std::to_string(best) +
                           " solution(s), " + std::to_string(kept_) + " starter(s)";
        if (o_.rating_low >= 0) line += ", " + std::to_string(passed_over_) + " passed over";
        progress_.show(line);
    }

    // Keeps the starter, with its solution and rating, unless it was kept before; false once
    // the number wanted is in, or the output can no longer be written.
    bool keep(const composition& c, const puzzle& p, int difficulty);

    const options& o_;
    std::FILE* out_;
    const std::string& sentence_;
    progress_line progress_;
    bool streamed_;
    std::set<std::string> seen_; // each starter's cells, as written
    int kept_ = 0;
    long long passed_over_ = 0; // unique starters whose rating is out of the range asked for
    std::vector<printed_puzzle> pages_; // what the printable formats write at the end
    rater rater_;
    counter counter_;
    bool write_failed_ = false;
};

bool compose_news::keep(const composition& c, const puzzle& p, int difficulty) {
    if (!seen_.insert(cells_line(p.grid, p.given, p.value_letter)).second) return true;
    // rated only where a range is asked for or the format shows the rating
    bool shown = o_.format == output_format::line || o_.format == output_format::csv ||
                 o_.format == output_format::html;
    int rating = shown || o_.rating_low >= 0 ? rate_puzzle(p.grid, rater_).rating : -1;
    if (stop_flag != 0) return false;
    if (!rating_wanted(o_, rating)) {
        ++passed_over_;
        show(c, c.best_count());
        return true;
    }
    composed_starter starter;
    static_cast<printed_puzzle&>(starter) = printed_from(p, difficulty);
    starter.rating = rating;
    starter.tries = c.tries();
    starter.sentence = sentence_;
    puzzle counted = p;
    solution_copier copy(starter.solution);
    counter_.best_count = 0;
    counter_.show_solutions = &copy;
    // an interrupt may cut the listing short: a starter without its solution is not kept
    if (count_solutions(counted, counter_) != 1) return false;
    ++kept_;
    if (streamed_) {
        write_starter_entry(out_, o_.format, starter);
        // each starter reaches a pipe when it is found; a closed one ends the search
        if (std::fflush(out_) != 0 || std::ferror(out_)) write_failed_ = true;
    } else {
        pages_.push_back(starter);
    }
    show(c, c.best_count());
    return !write_failed_ && (o_.starters == 0 || kept_ < o_.starters);
}

caption_kind caption_of(const options& o) {
    return o.caption == caption_choice::sentence ? caption_kind::sentence
           : o.caption == caption_choice::none   ? caption_kind::none
                                                 : caption_kind::letters;
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
    // appended, not "literal" + string: g++ 12 then warns of an overlap that cannot happen
    std::string named = whole ? "'" : "byte ";
    named += whole ? text.substr(at, static_cast<std::size_t>(length)) + "'" : std::to_string(byte);
    return named;
}

// Why the typed sentence cannot be composed, or empty when it can; on acceptance the
// alphabet of p is the sentence's and dist its spacing.
std::string refusal_of(const std::string& typed, char* sentence, puzzle& p, int* dist) {
    for (char c : typed) {
        auto byte = static_cast<unsigned char>(c);
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
    sentence_scan scan = scan_sentence(p, sentence, length);
    *dist = scan.dist;
    std::string letter = "'";
    letter += scan.offending;
    letter += "'";
    switch (scan.verdict) {
    case sentence_bad_letter:
        return "the sentence may hold the letters a to z only, not " +
               character_at(typed, static_cast<std::size_t>(std::strchr(sentence, scan.offending) -
                                                            sentence));
    case sentence_too_many_letters:
        return "the sentence has more than nine different letters: " + letter + " is a tenth";
    case sentence_too_few_letters:
        return "the sentence has " + std::to_string(p.next_value - 1) +
               " different letters; it needs nine";
    case sentence_letter_too_often:
        return letter + " comes more than 9 times: no grid can hold it, once a row";
    default:
        break;
    }
    if (scan.letters < fewest_letters) {
        return "the sentence has " + std::to_string(scan.letters) +
               " letters; a puzzle with one solution needs at least 17 givens";
    }
    return "";
}

// The sentence typed, checked: -1 with sentence, p and dist ready for the composition, else
// the exit status, with the refusal on stderr.
int accept_sentence(const std::string& typed, char* sentence, puzzle& p, int* dist) {
    std::string refusal = refusal_of(typed, sentence, p, dist);
    if (refusal.empty()) return -1;
    std::fprintf(stderr, "verbagrid: %s\n", refusal.c_str());
    return 2;
}

// Composes the accepted sentence for news. Returns -1 when a starter was kept; else the exit
// status, with the reason on stderr (a failed write is the output's to tell).
int run_composition(const options& o, puzzle& p, char* sentence, int dist, compose_news& news) {
    auto composing = std::make_unique<composition>(jobs_wanted(o));
    composing->random.seed(o.seed);
    composing->run(p, sentence, dist, news);
    if (stopped_by_signal()) return interrupted();
    if (news.write_failed()) return 1;
    if (news.kept() > 0) return -1;
    const char* verdict = composing->verdict();
    std::string text = verdict != nullptr ? verdict : "no starter found\n";
    if (o.rating_low >= 0 && news.passed_over() > 0) {
        text = "no starter rated as asked for; " + std::to_string(news.passed_over()) +
               " with one solution were passed over\n";
    }
    std::fprintf(stderr, "verbagrid: %s", text.c_str());
    return 1;
}

} // namespace

int run_compose(const options& o) {
    auto p = std::make_unique<puzzle>();
    char sentence[82];
    int dist = 0;
    const std::string& typed = o.operands[0];
    int status = accept_sentence(typed, sentence, *p, &dist);
    if (status >= 0) return status;
    std::string words(sentence, typed.size());
    output_file output;
    if (!output.open(o.output)) return 1;
    install_stop_signals();
    compose_news news(o, output.stream(), words);
    status = run_composition(o, *p, sentence, dist, news);
    if (news.write_failed()) output.commit(); // says why
    if (status >= 0) return status;
    if (o.format == output_format::svg || o.format == output_format::html) {
        return write_printed(output, o, news.pages(), caption_of(o), "starter") ? 0 : 1;
    }
    return output.commit() ? 0 : 1;
}

int compose_first(const options& o, printed_puzzle* found) {
    options first = o;
    first.starters = 1;
    auto p = std::make_unique<puzzle>();
    char sentence[82];
    int dist = 0;
    int status = accept_sentence(o.sentence, sentence, *p, &dist);
    if (status >= 0) return status;
    std::string words(sentence, o.sentence.size());
    install_stop_signals();
    compose_news news(first, nullptr, words);
    status = run_composition(first, *p, sentence, dist, news);
    if (status >= 0) return status;
    *found = news.pages()[0];
    return -1;
}
