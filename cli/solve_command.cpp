// verbagrid solve: puzzles from files or standard input, one result per puzzle, in input
// order. A puzzle is one line of 81 cells or nine lines of nine; a malformed one is reported
// as FILE:LINE: reason and still gets its (empty) output line, so that output lines stay in
// step with the puzzles. Nothing read is dropped without a word. With more than one job the
// puzzles are solved in batches by several threads, each in a puzzle of its own, and the
// results are written in input order.
#include "cli/commands.h"
#include "cli/output_file.h"
#include "composer/compose.h"
#include "console/interrupt.h"
#include "core/counter.h"
#include "core/grid.h"
#include "core/held_signals.h"
#include "core/stop_flag.h"
#include "entry/puzzle_text.h"
#include "render/formats.h"
#include "render/sheets.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>
#include <thread>
#include <vector>
#ifdef _WIN32
#include <io.h>
#define read _read
#else
#include <unistd.h>
#endif

namespace {

// One puzzle, or one malformed piece of input, and what it gives.
struct solve_item {
    std::string cells;  // 81 cells; empty when the input was malformed before any cell was read
    std::string where;  // FILE:LINE
    std::string reason; // why the input is malformed, if it is
    std::string out;    // its output
    std::string error;  // its line on stderr, if any
    bool failed = false;
    bool has_page = false;
    printed_puzzle page;
};

const options* opts;
std::atomic<bool> stopping; // the counting threads stop; set once an interrupt is seen

thread_local std::string* listed; // where the line and csv formats gather this thread's
                                  // solutions, and the text format writes them
thread_local printed_puzzle* page;

void gather_solution(int number) {
    if (number > 1) *listed += ' ';
    *listed += cells_line(grid, given);
}

void print_solution(int number) {
    append_solution(listed, number, grid, given);
}

void keep_solution(int) {
    std::memcpy(page->solution, grid, sizeof grid);
}

// The count as printed: beyond max, "max+".
std::string count_text(int count, int max) {
    return count > max ? std::to_string(max) + "+" : std::to_string(count);
}

bool one_line_output() {
    return opts->count || opts->format == output_format::line || opts->format == output_format::csv;
}

// verbagrid: FILE:LINE: reason, as a line
std::string error_line(const std::string& where, const std::string& reason) {
    std::string line(where.size() + reason.size() + 16, ' ');
    int length = std::snprintf(line.data(), line.size(), "verbagrid: %s: %s\n", where.c_str(),
                               reason.c_str());
    line.resize(static_cast<std::size_t>(length));
    return line;
}

void refuse(solve_item* item, const std::string& reason) {
    item->error = error_line(item->where, reason);
    item->failed = true;
    if (one_line_output()) item->out.assign(1, '\n'); // the output line stays, empty
}

// Solves one item on the calling thread, in its own puzzle.
void solve_item_here(solve_item* item) {
    if (!item->reason.empty()) {
        refuse(item, item->reason);
        return;
    }
    const options& o = *opts;
    reset_puzzle();
    char reason[96];
    if (lay_puzzle_text(item->cells.c_str(), reason, sizeof reason) == 0) {
        refuse(item, reason);
        return;
    }
    int found = 0;
    int wanted = o.all ? o.max : 1;
    std::string solutions;
    listed = &solutions;
    if (o.count) {
        found = count_up_to(o.max);
        item->out = count_text(found, o.max) + "\n";
    } else if (o.format == output_format::text) {
        found = list_up_to(wanted, print_solution);
        item->out = solutions;
    } else if (o.format == output_format::svg || o.format == output_format::html) {
        item->page = puzzle_in_grid(measure_difficulty());
        item->has_page = true;
        page = &item->page;
        found = list_up_to(1, keep_solution);
    } else if (o.format == output_format::line) {
        found = list_up_to(wanted, gather_solution);
        item->out = solutions + "\n";
    } else {
        found = count_up_to(o.max);
        if (found > 0) list_up_to(wanted, gather_solution);
        item->out =
            cells_line(grid, given) + "," + count_text(found, o.max) + "," + solutions + "\n";
    }
    if (found == 0) {
        item->error = error_line(item->where, "no solution");
        item->failed = true;
    }
}

// Solves a batch with jobs threads, the program's own among them.
void solve_batch(std::vector<solve_item>& batch, int jobs) {
    std::atomic<std::size_t> next{0};
    auto work = [&batch, &next] {
        for (std::size_t i = next++; i < batch.size() && !stopping.load(); i = next++) {
            solve_item_here(&batch[i]);
        }
    };
    int helpers = jobs - 1;
    if (static_cast<std::size_t>(helpers) >= batch.size()) {
        helpers = static_cast<int>(batch.size()) - 1;
    }
    if (helpers <= 0) {
        work();
        return;
    }
    std::vector<std::thread> threads;
    {
        signals_held_back hold; // the interrupt is handled by the program's own thread
        for (int i = 0; i < helpers; ++i) {
            threads.emplace_back([&work] {
                cancel_counts_with(&stopping);
                work();
            });
        }
    }
    work();
    for (std::thread& t : threads) t.join();
}

struct solve_run {
    std::FILE* out;
    int jobs;
    int status = 0;
    std::string name;       // of the source being read, as errors show it
    std::string rows;       // the rows gathered so far of a puzzle written in nine lines
    int first_row_line = 0; // the line of the first of them
    std::vector<solve_item> batch;
    std::vector<printed_puzzle> pages; // what the svg and html formats print, in input order
};

// Solves what has been read and writes it, in input order.
void finish_batch(solve_run* run) {
    if (run->batch.empty()) return;
    solve_batch(run->batch, run->jobs);
    if (stop_flag != 0) stopping.store(true);
    if (stopping.load()) return;
    for (solve_item& item : run->batch) {
        std::fputs(item.error.c_str(), stderr);
        std::fwrite(item.out.data(), 1, item.out.size(), run->out);
        if (item.failed) run->status = 1;
        if (item.has_page) run->pages.push_back(item.page);
    }
    run->batch.clear();
}

void add_item(solve_run* run, int line, std::string cells, std::string reason) {
    solve_item item;
    item.cells = std::move(cells);
    item.reason = std::move(reason);
    item.where = run->name + ":" + std::to_string(line);
    run->batch.push_back(std::move(item));
    // one job solves each puzzle as it comes; more gather a batch to share out
    if (run->jobs == 1 || run->batch.size() >= 4096) finish_batch(run);
}

// A group of rows that did not make nine is a malformed puzzle too.
void flush_rows(solve_run* run) {
    if (run->rows.empty()) return;
    int rows = static_cast<int>(run->rows.size() / 9);
    add_item(run, run->first_row_line, "",
             std::to_string(rows) + (rows == 1 ? " row" : " rows") + " of 9 cells, not nine");
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
            add_item(run, run->first_row_line, run->rows, "");
            run->rows.clear();
        }
        return;
    }
    flush_rows(run);
    if (cells.size() == 81) {
        add_item(run, line, cells, "");
        return;
    }
    add_item(run, line, "",
             std::to_string(cells.size()) +
                 " cells; a puzzle is one line of 81 or nine lines of 9");
}

// Reads one source to its end, or until an interrupt. Reads take what is there, so puzzles
// typed or piped in a line at a time are answered as they come; NUL bytes and lines of any
// length are read like any other.
void read_source(solve_run* run, int fd) {
    std::string text;
    static char block[1 << 16];
    int line = 0;
    while (stop_flag == 0) {
        int got = static_cast<int>(read(fd, block, sizeof block));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            std::fprintf(stderr, "verbagrid: %s: %s\n", run->name.c_str(), std::strerror(errno));
            run->status = 1;
            break;
        }
        if (got == 0) break;
        int start = 0;
        for (int i = 0; i < got; ++i) {
            if (block[i] != '\n') continue;
            text.append(block + start, static_cast<std::size_t>(i - start));
            take_line(run, text, ++line);
            text.clear();
            start = i + 1;
        }
        text.append(block + start, static_cast<std::size_t>(got - start));
        // nothing more is there yet: what has been read is answered now
        if (got < static_cast<int>(sizeof block)) finish_batch(run);
    }
    if (!text.empty()) take_line(run, text, ++line);
    flush_rows(run);
    finish_batch(run);
}

caption_kind caption_for_solve(const std::string& name) {
    return name == "none" ? caption_kind::none : caption_kind::letters;
}

} // namespace

int run_solve(const options& given_options) {
    opts = &given_options;
    output_file output;
    if (!output.open(given_options.output)) return 1;
    init_geometry();
    install_interrupt_handler();
    stop_flag = 0;
    stopping.store(false);
    solve_run run;
    run.out = output.stream();
    run.jobs = counting_jobs;
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
        read_source(&run, fileno(in));
        if (!from_stdin) std::fclose(in);
    }
    if (stop_flag != 0 || stopping.load()) {
        std::fputs("verbagrid: interrupted\n", stderr);
        return 1; // the output file, if any, is removed: it would hold part of the results
    }
    caption_kind caption = caption_for_solve(given_options.caption);
    if (given_options.format == output_format::svg && !run.pages.empty()) {
        std::fputs(svg_document(run.pages[0], caption, given_options.solution).c_str(), run.out);
    }
    if (given_options.format == output_format::html) {
        std::fputs(html_sheet(run.pages, caption).c_str(), run.out);
    }
    if (!output.commit()) return 1;
    return run.status;
}
