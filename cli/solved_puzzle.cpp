// Solving one piece into its output. Every piece keeps its place in the output, so that it
// stays in step with the input: a malformed piece, or one that cannot be rated, gets an empty
// line (a csv row of empty fields), a complete grid one line that says so. The printable
// formats hold only puzzles with exactly one solution.
#include "cli/solved_puzzle.h"

#include "entry/puzzle_text.h"
#include "render/board.h"
#include "render/formats.h"
#include "render/sheets.h"
#include "render/steps.h"

#include <cstring>

namespace {

// Gathers the solutions of a listing: as one-line cells, as the dialogue's boards, or into a
// page.
class gather_solutions : public solution_taker {
  public:
    enum class as { line, boards, page };
    gather_solutions(std::string& text, as how, printed_puzzle* page = nullptr)
        : text_(text), how_(how), page_(page) {}
    void take(const puzzle& p, int number) override {
        if (how_ == as::boards) {
            append_solution(text_, number, p);
        } else if (how_ == as::page) {
            std::memcpy(page_->solution, p.grid, sizeof page_->solution);
        } else {
            if (number > 1) text_ += ' ';
            text_ += cells_line(p.grid, p.given, p.value_letter);
        }
    }

  private:
    std::string& text_;
    as how_;
    printed_puzzle* page_;
};

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

// A piece that gives no answer keeps its place: an empty line, or a csv row of empty fields.
void refuse(solved_puzzle& s, const options& o, const std::string& reason) {
    s.reason = reason;
    s.out.assign(1, '\n');
    if (!o.count && o.format == output_format::csv) {
        s.out = o.grade ? ",,,\n" : rated(o) ? ",,,,,\n" : ",,\n";
    }
}

// Writes each step the rater takes, in words or as a csv row; a hint stops after the first.
class explainer : public step_taker {
  public:
    explainer(std::string& text, const options& o, const std::string& cells, const int* letters)
        : text_(text), o_(o), cells_(cells), letters_(letters) {}
    bool take(const step& st, const candidate_grid&) override {
        ++number_;
        if (o_.format == output_format::csv) {
            text_ += cells_ + "," + std::to_string(number_) + "," +
                     rating_text(tenths_of(st.rating)) + "," + technique_name(st) + "," +
                     placements_text(st, letters_) + "," + removals_text(st, letters_) + "\n";
        } else {
            text_ += std::to_string(number_) + ". " + rating_text(tenths_of(st.rating)) + " " +
                     technique_name(st) + ": " + step_words(st, letters_) + "\n";
        }
        return !o_.hint;
    }

  private:
    std::string& text_;
    const options& o_;
    const std::string& cells_;
    const int* letters_;
    int number_ = 0;
};

// The rating of the puzzle in the room, or its steps, as o asks.
void rate_here(solved_puzzle& s, const options& o, solver_room& room) {
    std::string cells = cells_line(room.p.grid, room.p.given, room.p.value_letter);
    bool complete = true;
    for (int cell = 0; cell < 81 && complete; ++cell) complete = room.p.grid[cell] != 0;
    if (complete) { // nothing to rate: one line says so, in its place
        s.out = o.format == output_format::csv
                    ? cells + (o.grade ? ",,already solved,\n" : ",0,,already solved,,\n")
                : o.format == output_format::line ? "already solved\n"
                                                  : "Already solved: no step is needed.\n";
        if (o.format == output_format::text && o.explain) s.out += "\n";
        return;
    }
    explainer words(s.out, o, cells, room.p.value_letter);
    rating_outcome outcome = rate_puzzle(room.p.grid, room.r, o.grade ? nullptr : &words);
    if (outcome.stopped) { // an interrupt: the run ends without this puzzle
        s.out.clear();
        return;
    }
    std::string rating = rating_text(outcome.rating);
    const char* level = level_of(outcome.rating);
    std::string hardest = outcome.steps > 0 ? technique_name(outcome.hardest) : "";
    bool beyond = outcome.rating == scale.unfinished;
    if (o.grade && o.format == output_format::line) {
        s.out = rating + " " + level + "\n";
    } else if (o.grade && o.format == output_format::csv) {
        s.out = cells + "," + rating + "," + level + "," + (beyond ? "" : hardest) + "\n";
    } else if (o.grade) {
        s.out = beyond ? "Rated " + rating + " (" + level +
                             "): it needs techniques beyond those this rater knows.\n"
                       : "Rated " + rating + " (" + level + "): its hardest step is " +
                             (outcome.steps > 0 ? with_article(hardest.c_str()) : "none") + ".\n";
    } else if (o.explain && o.format != output_format::csv) {
        s.out += (beyond ? "The techniques known stop here: rating " + rating + " (" + level + ")"
                         : "Rating " + rating + " (" + level + ")") +
                 "\n\n";
    }
}

} // namespace

long long output_bound(const options& o) {
    long long solutions = o.all ? o.max : 1;
    return 512 + solutions * (o.format == output_format::text ? board_size + 16 : 82);
}

void solve_piece(solved_puzzle& s, const options& o, solver_room& room) {
    s.out.clear();
    s.reason.clear();
    s.has_page = false;
    if (s.piece.reason[0] != '\0') {
        refuse(s, o, s.piece.reason);
        return;
    }
    puzzle& p = room.p;
    counter& c = room.c;
    reset_puzzle(p);
    char reason[96];
    if (lay_puzzle_text(p, s.piece.cells, reason, sizeof reason) == 0) {
        refuse(s, o, reason);
        return;
    }
    c.show_solutions = nullptr;
    int found = 0;
    int wanted = o.all ? o.max : 1;
    auto count_up_to = [&](int bound) {
        c.best_count = bound;
        c.show_solutions = nullptr;
        return count_solutions(p, c);
    };
    auto list_up_to = [&](int max, solution_taker& take) {
        c.best_count = max - 1;
        c.show_solutions = &take;
        int listed = count_solutions(p, c);
        c.show_solutions = nullptr;
        return listed;
    };
    if (rated(o)) {
        // the rater's uniqueness techniques are sound only for a puzzle with one solution
        found = count_up_to(1);
        if (found == 1) {
            rate_here(s, o, room);
        } else {
            refuse(s, o, found == 0 ? "no solution" : "more than one solution");
        }
        return;
    }
    std::string solutions;
    gather_solutions lines(solutions, gather_solutions::as::line);
    if (o.count) {
        found = count_up_to(o.max);
        s.out = count_text(found, o.max) + "\n";
    } else if (o.format == output_format::text) {
        gather_solutions boards(solutions, gather_solutions::as::boards);
        found = list_up_to(wanted, boards);
        s.out = solutions;
    } else if (o.format == output_format::svg || o.format == output_format::html) {
        // a page shows one puzzle and its one solution: a puzzle with more has none to show
        found = count_up_to(1);
        if (found > 1) {
            s.reason = "more than one solution";
            return;
        }
        s.page = printed_from(p, measure_difficulty(p));
        gather_solutions page(solutions, gather_solutions::as::page, &s.page);
        if (found == 1) s.has_page = list_up_to(1, page) == 1;
    } else if (o.format == output_format::line) {
        found = list_up_to(wanted, lines);
        s.out = solutions + "\n";
    } else {
        found = count_up_to(o.max);
        if (found > 0) list_up_to(wanted, lines);
        s.out = cells_line(p.grid, p.given, p.value_letter) + "," + count_text(found, o.max) + "," +
                solutions + "\n";
    }
    if (found == 0) s.reason = "no solution";
}
