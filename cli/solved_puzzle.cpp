// Solving one piece into its output. A malformed piece keeps its place in the line and csv
// formats (an empty line, a csv row of empty fields), so that output stays in step with the
// input; the printable formats hold only puzzles with exactly one solution.
#include "cli/solved_puzzle.h"

#include "core/board.h"
#include "core/counter.h"
#include "core/grid.h"
#include "entry/puzzle_text.h"
#include "render/formats.h"
#include "render/sheets.h"

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

void refuse(solved_puzzle* s, const options& o, const std::string& reason) {
    s->reason = reason;
    if (o.count || o.format == output_format::line) s->out.assign(1, '\n');
    if (!o.count && o.format == output_format::csv) s->out = ",,\n";
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
