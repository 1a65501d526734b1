// verbagrid solve: puzzles from files or standard input, one result per puzzle, in input
// order. Pieces go into the work line as they are read and their results are written as they
// come off its front, so that a program feeding puzzles through a pipe gets each answer before
// it sends the next, and the memory held stays within a bound set in bytes. A malformed piece,
// or a puzzle without a solution, is reported as FILE:LINE: reason and keeps its place in the
// line and csv output; the printable formats leave it out.
#include "cli/commands.h"
#include "cli/output_file.h"
#include "cli/printed_output.h"
#include "cli/signals.h"
#include "cli/solved_puzzle.h"
#include "core/grid.h"
#include "core/stop_flag.h"
#include "core/work_line.h"
#include "entry/puzzle_file.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>
#ifdef _WIN32
#include <io.h>
#define read _read
#else
#include <unistd.h>
#endif

namespace {

// Memory that pieces waiting in the line may hold for their output, at most.
constexpr long long held_output_bound = 32LL << 20;

const options* opts;
std::vector<solved_puzzle> pieces; // by slot of the work line; made when solve runs, not at
                                   // every start of the program
std::vector<std::string> source_names;
std::FILE* out;
int status;
std::vector<printed_puzzle> pages; // what the svg and html formats print, in input order

void solve_slot(int slot, bool) {
    solve_piece(&pieces[slot], *opts);
}

// Writes the front piece's result and frees its slot.
void write_front() {
    solved_puzzle& s = pieces[line_front_slot()];
    if (!s.reason.empty()) {
        std::fprintf(stderr, "verbagrid: %s:%lld: %s\n", source_names[s.source].c_str(),
                     s.piece.line, s.reason.c_str());
        status = 1;
    }
    std::fwrite(s.out.data(), 1, s.out.size(), out);
    if (s.has_page) pages.push_back(s.page);
    // a large listing's text goes with it; small ones keep their room for the next piece
    if (s.out.capacity() > 65536) std::string().swap(s.out);
    line_pop();
}

// Writes what is done at the front; with wait, everything in the line. False when the stop
// flag ended the wait.
bool take_up(bool wait) {
    while (!line_empty() && (wait || line_front_ready())) {
        if (!line_wait_front()) return false;
        write_front();
    }
    return true;
}

int reading_source;

void take_piece_read(const read_piece& piece) {
    while (line_full()) {
        if (!line_wait_front()) return; // stopped: the rest is not solved
        write_front();
    }
    solved_puzzle& s = pieces[line_back_slot()];
    s.piece = piece;
    s.source = reading_source;
    line_put();
    take_up(false);
}

// Reads one source to its end, or until a signal stops the run.
void read_source(int fd) {
    static char block[1 << 16];
    puzzle_reader reader;
    start_reading(&reader);
    while (stop_flag == 0) {
        int got = static_cast<int>(read(fd, block, sizeof block));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            std::fprintf(stderr, "verbagrid: %s: %s\n", source_names.back().c_str(),
                         std::strerror(errno));
            status = 1;
            break;
        }
        if (got == 0) break;
        read_puzzle_bytes(&reader, block, got, take_piece_read);
        // nothing more is there yet: what has been read is answered before the next read waits
        if (got < static_cast<int>(sizeof block) && take_up(true)) std::fflush(out);
    }
    if (stop_flag == 0) end_reading(&reader, take_piece_read);
}

caption_kind caption_for_solve(const std::string& name) {
    return name == "none" ? caption_kind::none : caption_kind::letters;
}

} // namespace

int run_solve(const options& given_options) {
    opts = &given_options;
    output_file output;
    if (!output.open(given_options.output)) return 1;
    out = output.stream();
    status = 0;
    pieces.resize(line_window);
    pages.clear();
    source_names.clear();
    install_stop_signals();
    stop_flag = 0;
    if (!given_options.count && given_options.format == output_format::csv) {
        std::fputs(given_options.grade ? "puzzle,rating,level,technique\n"
                   : given_options.explain || given_options.hint
                       ? "puzzle,step,rating,technique,placed,eliminated\n"
                       : "puzzle,solutions,solution\n",
                   out);
    }
    int threads = start_work_line(jobs_wanted(given_options), solve_slot);
    // pieces in line at once: enough to keep every thread busy, few enough that their output
    // stays within the bound
    long long fit = held_output_bound / output_bound(given_options);
    line_limit = static_cast<int>(fit < 2 * threads   ? 2 * threads
                                  : fit > line_window ? line_window
                                                      : fit);
    std::vector<std::string> sources = given_options.operands;
    if (sources.empty()) sources.emplace_back("-");
    for (std::size_t i = 0; i < sources.size() && stop_flag == 0; ++i) {
        bool from_stdin = sources[i] == "-";
        source_names.push_back(from_stdin ? "(standard input)" : sources[i]);
        reading_source = static_cast<int>(i);
        std::FILE* in = from_stdin ? stdin : std::fopen(sources[i].c_str(), "rb");
        if (in == nullptr) {
            std::fprintf(stderr, "verbagrid: %s: %s\n", sources[i].c_str(), std::strerror(errno));
            status = 1;
            continue;
        }
        read_source(fileno(in));
        if (!from_stdin) std::fclose(in);
    }
    take_up(true);
    stop_work_line();
    if (stopped_by_signal() || stop_flag != 0) {
        std::fputs("verbagrid: interrupted\n", stderr);
        return 1; // the output file, if any, is removed: it would hold part of the results
    }
    caption_kind caption = caption_for_solve(given_options.caption);
    if (given_options.format == output_format::svg || given_options.format == output_format::html) {
        if (!write_printed(output, given_options, pages, caption, "puzzle")) return 1;
        return status;
    }
    if (!output.commit()) return 1;
    return status;
}
