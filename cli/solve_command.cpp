// verbagrid solve: puzzles from files or standard input, one result per puzzle, in input
// order. Pieces go into the work line as they are read and their results are written as they
// come off its front, so that a program feeding puzzles through a pipe gets each answer before
// it sends the next, and the memory held stays within a bound set in bytes. A malformed piece,
// or a puzzle without a solution, is reported as FILE:LINE: reason and keeps its place in the
// output; the printable formats leave it out. A signal stops the run at once, also while a
// read waits for input.
#include "cli/commands.h"
#include "cli/output_file.h"
#include "cli/printed_output.h"
#include "cli/signals.h"
#include "cli/solved_puzzle.h"
#include "core/stop_flag.h"
#include "core/work_line.h"
#include "entry/puzzle_file.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>
#ifdef _WIN32
#include <io.h>
#define read _read
#else
#include <poll.h>
#include <unistd.h>
#endif

namespace {

// Memory that pieces waiting in the line may hold for their output, at most.
constexpr long long held_output_bound = 32LL << 20;

class solve_run : public line_worker, public piece_taker {
  public:
    solve_run(const options& o, std::FILE* out) : o_(o), out_(out) {
        pieces_.resize(work_line::window);
    }

    int run(const std::vector<std::string>& sources);
    bool stopped() const { return stop_flag != 0; }
    const std::vector<printed_puzzle>& pages() const { return pages_; }

    void work(int slot, int thread, const std::atomic<bool>* cancel) override {
        solver_room& room = *rooms_[static_cast<std::size_t>(thread)];
        room.c.cancel = thread == 0 ? nullptr : cancel;
        solve_piece(pieces_[static_cast<std::size_t>(slot)], o_, room);
    }

    void take(const read_piece& piece) override {
        while (line_.full()) {
            if (!line_.wait_front()) return; // stopped: the rest is not solved
            write_front();
        }
        solved_puzzle& s = pieces_[static_cast<std::size_t>(line_.back_slot())];
        s.piece = piece;
        s.source = source_;
        line_.put();
        take_up(false);
    }

  private:
    void write_front();
    bool take_up(bool wait);
    void read_source(int fd);

    const options& o_;
    std::FILE* out_;
    work_line line_;
    std::vector<solved_puzzle> pieces_;               // by slot of the work line
    std::vector<std::unique_ptr<solver_room>> rooms_; // by thread
    std::vector<std::string> source_names_;
    int source_ = 0;
    int status_ = 0;
    std::vector<printed_puzzle> pages_; // what the svg and html formats print, in input order
};

// Writes the front piece's result and frees its slot.
void solve_run::write_front() {
    solved_puzzle& s = pieces_[static_cast<std::size_t>(line_.front_slot())];
    if (!s.reason.empty()) {
        std::fprintf(stderr, "verbagrid: %s:%lld: %s\n",
                     source_names_[static_cast<std::size_t>(s.source)].c_str(), s.piece.line,
                     s.reason.c_str());
        status_ = 1;
    }
    std::fwrite(s.out.data(), 1, s.out.size(), out_);
    if (s.has_page) pages_.push_back(s.page);
    // a large listing's text goes with it; small ones keep their room for the next piece
    if (s.out.capacity() > 65536) std::string().swap(s.out);
    line_.pop();
}

// Writes what is done at the front; with wait, everything in the line. False when the stop
// flag ended the wait.
bool solve_run::take_up(bool wait) {
    while (!line_.empty() && (wait || line_.front_ready())) {
        if (!line_.wait_front()) return false;
        write_front();
    }
    return true;
}

// Waits until fd has something to read, or a signal sets the stop flag: false then. A read
// that a signal interrupts is taken up again by the C library, so the wait comes first.
bool readable(int fd) {
#ifdef _WIN32
    (void)fd;
    return stop_flag == 0;
#else
    pollfd watched{fd, POLLIN, 0};
    while (stop_flag == 0) {
        int ready = poll(&watched, 1, 100);
        if (ready != 0 && !(ready < 0 && errno == EINTR)) return stop_flag == 0;
    }
    return false;
#endif
}

// Reads one source to its end, or until a signal stops the run.
void solve_run::read_source(int fd) {
    static char block[1 << 16];
    puzzle_reader reader;
    start_reading(&reader);
    while (readable(fd)) {
        int got = static_cast<int>(read(fd, block, sizeof block));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            std::fprintf(stderr, "verbagrid: %s: %s\n", source_names_.back().c_str(),
                         std::strerror(errno));
            status_ = 1;
            break;
        }
        if (got == 0) break;
        read_puzzle_bytes(&reader, block, got, *this);
        // nothing more is there yet: what has been read is answered before the next read waits
        if (got < static_cast<int>(sizeof block) && take_up(true)) std::fflush(out_);
    }
    if (stop_flag == 0) end_reading(&reader, *this);
}

int solve_run::run(const std::vector<std::string>& sources) {
    int jobs = jobs_wanted(o_);
    for (int i = 0; i < jobs; ++i) rooms_.push_back(std::make_unique<solver_room>());
    int threads = line_.start(jobs, *this);
    // pieces in line at once: enough to keep every thread busy, few enough that their output
    // stays within the bound
    long long fit = held_output_bound / output_bound(o_);
    line_.set_limit(static_cast<int>(fit < 2 * threads         ? 2 * threads
                                     : fit > work_line::window ? work_line::window
                                                               : fit));
    for (std::size_t i = 0; i < sources.size() && stop_flag == 0; ++i) {
        bool from_stdin = sources[i] == "-";
        source_names_.push_back(from_stdin ? "(standard input)" : sources[i]);
        source_ = static_cast<int>(i);
        std::FILE* in = from_stdin ? stdin : std::fopen(sources[i].c_str(), "rb");
        if (in == nullptr) {
            std::fprintf(stderr, "verbagrid: %s: %s\n", sources[i].c_str(), std::strerror(errno));
            status_ = 1;
            continue;
        }
        read_source(fileno(in));
        if (!from_stdin) std::fclose(in);
    }
    take_up(true);
    line_.stop();
    return status_;
}

caption_kind caption_for_solve(const options& o) {
    return o.caption == caption_choice::none ? caption_kind::none : caption_kind::letters;
}

} // namespace

int run_solve(const options& given_options) {
    output_file output;
    if (!output.open(given_options.output)) return 1;
    install_stop_signals();
    stop_flag = 0;
    if (!given_options.count && given_options.format == output_format::csv) {
        std::fputs(given_options.grade ? "puzzle,rating,level,technique\n"
                   : given_options.explain || given_options.hint
                       ? "puzzle,step,rating,technique,placed,eliminated\n"
                       : "puzzle,solutions,solution\n",
                   output.stream());
    }
    std::vector<std::string> sources = given_options.operands;
    if (sources.empty()) sources.emplace_back("-");
    auto solving = std::make_unique<solve_run>(given_options, output.stream());
    int status = solving->run(sources);
    if (stopped_by_signal() || stop_flag != 0) return interrupted();
    if (given_options.format == output_format::svg || given_options.format == output_format::html) {
        if (!write_printed(output, given_options, solving->pages(),
                           caption_for_solve(given_options), "puzzle")) {
            return 1;
        }
        return status;
    }
    if (!output.commit()) return 1;
    return status;
}
