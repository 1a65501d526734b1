// Solving one piece into its output. A malformed piece keeps its place in the line and csv
// formats (an empty line, a csv row of empty fields), so that output stays in step with the
// input; the printable formats hold only puzzles with exactly one solution.
#include "cli/solved_puzzle.h"

#include "core/board.h"
#include "core/counter.h"
#include "core/grid.h"
#include "entry/puzzle_text.h"
#include "logic/rater.h"
#include "render/formats.h"
#include "render/sheets.h"
#include "render/steps.h"

#include <cstring>

namespace {

thread_local std::string* listed; // where this thread's listing gathers its solutions
thread_local printed_puzzle* page_filled;

void gather_solution(int number) {
    if (number > 1) *listed += ' ';
    *listed += cells_line(grid, given);
}

void print_solution(int number) {
    append_solution(listed, number, grid, given);
}

void keep_solution(int) {
    std::memcpy(page_filled->solution, grid, sizeof grid);
}

// The count as printed: beyond max, "max+".
std::string count_text(int count, int max) {
    return count > max ? std::to_string(max) + "+" : std::to_string(count);
}

// "a pointing", "an x-wing", "an xy-wing", "a unique rectangle"
std::string with_article(const char* name) {
    bool vowel_sound = std::strchr("aeiox", name[0]) != nullptr;
    return (vowel_sound ? "an " : "a ") + std::string(name);
}

bool rated(const options& o) {
    return o.grade || o.explain || o.hint;
}

void refuse(solved_puzzle* s, const options& o, const std::string& reason) {
    s->reason = reason;
    if (o.count || o.format == output_format::line) s->out.assign(1, '\n');
    if (!o.count && o.format == output_format::csv) s->out = o.grade ? ",,,\n" : ",,\n";
    if (rated(o) && !o.grade && o.format == output_format::csv) s->out = ",,,,,\n";
}

// Writes each step the rater takes, in words or as a csv row; a hint stops after the first.
class explainer : public step_taker {
  public:
    explainer(std::string& text, const options& o, const std::string& cells)
        : text_(text), o_(o), cells_(cells) {}
    bool take(const step& st, const candidate_grid&) override {
        ++number_;
        if (o_.format == output_format::csv) {
            text_ += cells_ + "," + std::to_string(number_) + "," +
                     rating_text(tenths_of(st.rating)) + "," + technique_name(st) + "," +
                     placements_text(st) + "," + removals_text(st) + "\n";
        } else {
            text_ += std::to_string(number_) + ". " + rating_text(tenths_of(st.rating)) + " " +
                     technique_name(st) + ": " + step_words(st) + "\n";
        }
        return !o_.hint;
    }

  private:
    std::string& text_;
    const options& o_;
    const std::string& cells_;
    int number_ = 0;
};

thread_local rater puzzle_rater; // each thread rates with its own chains' room

// The rating of the puzzle in the grid, or its steps, as o asks.
void rate_here(solved_puzzle* s, const options& o) {
    std::string cells = cells_line(grid, given);
    explainer words(s->out, o, cells);
    rating_outcome outcome = rate_puzzle(grid, puzzle_rater, o.grade ? nullptr : &words);
    if (outcome.stopped) { // an interrupt: the run ends without this puzzle
        s->out.clear();
        return;
    }
    std::string rating = rating_text(outcome.rating);
    const char* level = level_of(outcome.rating);
    std::string hardest = outcome.steps > 0 ? technique_name(outcome.hardest) : "";
    bool beyond = outcome.rating == scale.unfinished;
    if (o.grade && o.format == output_format::line) {
        s->out = rating + " " + level + "\n";
    } else if (o.grade && o.format == output_format::csv) {
        s->out = cells + "," + rating + "," + level + "," + (beyond ? "" : hardest) + "\n";
    } else if (o.grade) {
        s->out = beyond ? "Rated " + rating + " (" + level +
                              "): it needs techniques beyond those this rater knows.\n"
                        : "Rated " + rating + " (" + level + "): its hardest step is " +
                              (outcome.steps > 0 ? with_article(hardest.c_str()) : "none") + ".\n";
    } else if (o.explain && o.format != output_format::csv) {
        s->out += (beyond ? "The techniques known stop here: rating " + rating + " (" + level + ")"
                          : "Rating " + rating + " (" + level + ")") +
                  "\n\n";
    }
}

} // namespace

long long output_bound(const options& o) {
    long long solutions = o.all ? o.max : 1;
    return 512 + solutions * (o.format == output_format::text ? board_size + 16 : 82);
}

void solve_piece(solved_puzzle* s, const options& o) {
    s->out.clear();
    s->reason.clear();
    s->has_page = false;
    if (s->piece.reason[0] != '\0') {
        refuse(s, o, s->piece.reason);
        return;
    }
    reset_puzzle();
    char reason[96];
    if (lay_puzzle_text(s->piece.cells, reason, sizeof reason) == 0) {
        refuse(s, o, reason);
        return;
    }
    int found = 0;
    int wanted = o.all ? o.max : 1;
    if (rated(o)) {
        // the rater's uniqueness techniques are sound only for a puzzle with one solution
        found = count_up_to(1);
        if (found == 1) {
            rate_here(s, o);
        } else {
            refuse(s, o, found == 0 ? "no solution" : "more than one solution");
        }
        return;
    }
    std::string solutions;
    listed = &solutions;
    if (o.count) {
        found = count_up_to(o.max);
        s->out = count_text(found, o.max) + "\n";
    } else if (o.format == output_format::text) {
        found = list_up_to(wanted, print_solution);
        s->out = solutions;
    } else if (o.format == output_format::svg || o.format == output_format::html) {
        // a page shows one puzzle and its one solution: a puzzle with more has none to show
        found = count_up_to(1);
        if (found > 1) {
            s->reason = "more than one solution";
            return;
        }
        s->page = puzzle_in_grid(measure_difficulty());
        page_filled = &s->page;
        if (found == 1) s->has_page = list_up_to(1, keep_solution) == 1;
    } else if (o.format == output_format::line) {
        found = list_up_to(wanted, gather_solution);
        s->out = solutions + "\n";
    } else {
        found = count_up_to(o.max);
        if (found > 0) list_up_to(wanted, gather_solution);
        s->out = cells_line(grid, given) + "," + count_text(found, o.max) + "," + solutions + "\n";
    }
    if (found == 0) s->reason = "no solution";
}
