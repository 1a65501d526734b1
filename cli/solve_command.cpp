// verbagrid solve: puzzles from files or standard input, one result per puzzle, in input
// order. A puzzle is one line of 81 cells or nine lines of nine; a malformed one is reported
// as FILE:LINE: reason and still gets its (empty) output line, so that output lines stay in
// step with the puzzles. Nothing read is dropped without a word.
#include "cli/commands.h"
#include "cli/output_file.h"
#include "composer/compose.h"
#include "console/interrupt.h"
#include "core/counter.h"
#include "core/grid.h"
#include "core/stop_flag.h"
#include "entry/puzzle_text.h"
#include "render/formats.h"
#include "render/sheets.h"

#include <cerrno>
#include <cstring>
#include <string>

namespace {

struct solve_run {
    const options* opts;
    std::FILE* out;
    int status = 0;
    std::string name;       // of the source being read, as errors show it
    std::string rows;       // the rows gathered so far of a puzzle written in nine lines
    int first_row_line = 0; // the line of the first of them
};

std::vector<printed_puzzle> pages; // what the svg and html formats print, in input order
std::string* listed;               // where the line and csv formats gather solutions
std::FILE* listing_out;            // where the text format writes them

void gather_solution(int number) {
    if (number > 1) *listed += ' ';
    *listed += cells_line(grid, given);
}

void keep_solution(int) {
    std::memcpy(pages.back().solution, grid, sizeof grid);
}

void print_solution(int number) {
    write_solution(listing_out, number, grid, given);
}

void report(solve_run* run, int line, const char* reason) {
    std::fprintf(stderr, "verbagrid: %s:%d: %s\n", run->name.c_str(), line, reason);
    run->status = 1;
}

// The count as printed: beyond max, "max+".
std::string count_text(int count, int max) {
    return count > max ? std::to_string(max) + "+" : std::to_string(count);
}

// What a puzzle that could not be read writes: an empty line in the one-line formats.
void write_nothing(const solve_run& run) {
    if (run.opts->count || run.opts->format == output_format::line ||
        run.opts->format == output_format::csv) {
        std::fputc('\n', run.out);
    }
}

void solve_puzzle(solve_run* run, const char* cells, int line) {
    const options& o = *run->opts;
    reset_puzzle();
    char reason[96];
    if (lay_puzzle_text(cells, reason, sizeof reason) == 0) {
        report(run, line, reason);
        write_nothing(*run);
        return;
    }
    int found = 0;
    int wanted = o.all ? o.max : 1;
    std::string solutions;
    listed = &solutions;
    if (o.count) {
        found = count_up_to(o.max);
        std::fprintf(run->out, "%s\n", count_text(found, o.max).c_str());
    } else if (o.format == output_format::text) {
        listing_out = run->out;
        found = list_up_to(wanted, print_solution);
    } else if (o.format == output_format::svg || o.format == output_format::html) {
        pages.push_back(puzzle_in_grid(measure_difficulty()));
        found = list_up_to(1, keep_solution);
    } else if (o.format == output_format::line) {
        found = list_up_to(wanted, gather_solution);
        std::fprintf(run->out, "%s\n", solutions.c_str());
    } else {
        found = count_up_to(o.max);
        if (found > 0) list_up_to(wanted, gather_solution);
        std::fprintf(run->out, "%s,%s,%s\n", cells_line(grid, given).c_str(),
                     count_text(found, o.max).c_str(), solutions.c_str());
    }
    if (found == 0 && stop_flag == 0) report(run, line, "no solution");
}

// A group of rows that did not make nine is a malformed puzzle too.
void flush_rows(solve_run* run) {
    if (run->rows.empty()) return;
    int rows = static_cast<int>(run->rows.size() / 9);
    std::string reason =
        std::to_string(rows) + (rows == 1 ? " row" : " rows") + " of 9 cells, not nine";
    report(run, run->first_row_line, reason.c_str());
    write_nothing(*run);
    run->rows.clear();
}

// One line of input, without its line end and surrounding blanks.
void take_line(solve_run* run, const std::string& text, int line) {
    std::size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string::npos || text[start] == '#') return;
    std::size_t end = text.find_last_not_of(" \t\r\n");
    std::string cells = text.substr(start, end - start + 1);
    if (cells.size() == 9) {
        if (run->rows.empty()) run->first_row_line = line;
        run->rows += cells;
        if (run->rows.size() == 81) {
            solve_puzzle(run, run->rows.c_str(), run->first_row_line);
            run->rows.clear();
        }
        return;
    }
    flush_rows(run);
    if (cells.size() == 81) {
        solve_puzzle(run, cells.c_str(), line);
        return;
    }
    std::string reason =
        std::to_string(cells.size()) + " cells; a puzzle is one line of 81 or nine lines of 9";
    report(run, line, reason.c_str());
    write_nothing(*run);
}

// Reads one source to its end, or until an interrupt, in large blocks: NUL bytes and lines of
// any length are read like any other.
void read_source(solve_run* run, std::FILE* in) {
    std::string text;
    static char block[1 << 16];
    int line = 0;
    while (stop_flag == 0) {
        std::size_t got = std::fread(block, 1, sizeof block, in);
        if (got == 0) break;
        std::size_t start = 0;
        for (std::size_t i = 0; i < got && stop_flag == 0; ++i) {
            if (block[i] != '\n') continue;
            text.append(block + start, i - start);
            take_line(run, text, ++line);
            text.clear();
            start = i + 1;
        }
        text.append(block + start, got - start);
    }
    if (!text.empty() && stop_flag == 0) take_line(run, text, ++line);
    if (std::ferror(in)) {
        std::fprintf(stderr, "verbagrid: %s: %s\n", run->name.c_str(), std::strerror(errno));
        run->status = 1;
    }
    flush_rows(run);
}

} // namespace

int run_solve(const options& given_options) {
    output_file output;
    if (!output.open(given_options.output)) return 1;
    init_geometry();
    install_interrupt_handler();
    stop_flag = 0;
    solve_run run;
    run.opts = &given_options;
    run.out = output.stream();
    if (!given_options.count && given_options.format == output_format::csv) {
        std::fputs("puzzle,solutions,solution\n", run.out);
    }
    std::vector<std::string> sources = given_options.operands;
    if (sources.empty()) sources.emplace_back("-");
    for (const std::string& source : sources) {
        if (stop_flag != 0) break;
        bool from_stdin = source == "-";
        run.name = from_stdin ? "(standard input)" : source;
        std::FILE* in = from_stdin ? stdin : std::fopen(source.c_str(), "rb");
        if (in == nullptr) {
            std::fprintf(stderr, "verbagrid: %s: %s\n", source.c_str(), std::strerror(errno));
            run.status = 1;
            continue;
        }
        read_source(&run, in);
        if (!from_stdin) std::fclose(in);
    }
    if (stop_flag != 0) {
        std::fputs("verbagrid: interrupted\n", stderr);
        return 1; // the output file, if any, is removed: it would hold part of the results
    }
    if (given_options.format == output_format::svg && !pages.empty()) {
        caption_kind caption =
            given_options.caption == "none" ? caption_kind::none : caption_kind::letters;
        std::fputs(svg_document(pages[0], caption, given_options.solution).c_str(), run.out);
    }
    if (given_options.format == output_format::html) {
        caption_kind caption =
            given_options.caption == "none" ? caption_kind::none : caption_kind::letters;
        std::fputs(html_sheet(pages, caption).c_str(), run.out);
    }
    if (!output.commit()) return 1;
    return run.status;
}
