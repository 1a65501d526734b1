// Solving one piece into its output. A malformed piece keeps its place in the line and csv
// formats (an empty line, a csv row of empty fields), so that output stays in step with the
// input; the printable formats hold only puzzles with exactly one solution.
#include "cli/solved_puzzle.h"

#include "core/board.h"
#include "core/counter.h"
#include "core/grid.h"
#include "entry/puzzle_text.h"
#include "logic/rating.h"
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

thread_local std::string* explained; // where this thread's steps go, in words or csv rows
thread_local const options* explaining;
thread_local std::string puzzle_cells;

bool take_step(const step& st, const candidate_grid&) {
    std::string& text = *explained;
    static thread_local int number;
    number = text.empty() ? 1 : number + 1;
    if (explaining->format == output_format::csv) {
        text += puzzle_cells + "," + std::to_string(number) + "," + rating_text(st.rating) + "," +
                technique_table[st.technique].name + "," + placements_text(st) + "," +
                removals_text(st) + "\n";
    } else {
        text += std::to_string(number) + ". " + rating_text(st.rating) + " " +
                technique_table[st.technique].name + ": " + step_words(st) + "\n";
    }
    return !explaining->hint;
}

// The rating of the puzzle in the grid, or its steps, as o asks.
void rate_here(solved_puzzle* s, const options& o) {
    puzzle_cells = cells_line(grid, given);
    explained = &s->out;
    explaining = &o;
    rating_outcome outcome = rate_puzzle(grid, o.grade ? nullptr : take_step);
    if (outcome.stopped) { // an interrupt: the run ends without this puzzle
        s->out.clear();
        return;
    }
    std::string rating = rating_text(outcome.rating);
    const char* level = level_of(outcome.rating);
    const char* hardest = outcome.hardest >= 0 ? technique_table[outcome.hardest].name : "";
    bool beyond = outcome.rating == unfinished_rating;
    if (o.grade && o.format == output_format::line) {
        s->out = rating + " " + level + "\n";
    } else if (o.grade && o.format == output_format::csv) {
        s->out = puzzle_cells + "," + rating + "," + level + "," + (beyond ? "" : hardest) + "\n";
    } else if (o.grade) {
        s->out = beyond ? "Rated " + rating + " (" + level +
                              "): it needs techniques beyond those this rater knows.\n"
                        : "Rated " + rating + " (" + level + "): its hardest step is " +
                              (outcome.hardest >= 0 ? with_article(hardest) : "none") + ".\n";
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
