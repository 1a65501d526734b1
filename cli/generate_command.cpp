// verbagrid generate: random puzzles with one solution and no given too many, each rated; with
// --level or --rating only those in range are kept, and the others are passed over. Progress
// goes to stderr; Ctrl-C, SIGTERM or SIGHUP end the run, and the puzzles made so far are
// written. The text, svg and html formats are compose's.
#include "cli/commands.h"
#include "cli/output_file.h"
#include "cli/printed_output.h"
#include "cli/signals.h"
#include "composer/compose.h"
#include "composer/generate.h"
#include "core/counter.h"
#include "core/grid.h"
#include "core/stop_flag.h"
#include "logic/rater.h"
#include "render/formats.h"
#include "render/sheets.h"
#include "render/steps.h"

#include <cstring>
#include <string>
#include <vector>
#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

namespace {

printed_puzzle* filling; // the puzzle whose solution the listing fills in

void take_solution(int) {
    std::memcpy(filling->solution, grid, sizeof grid);
}

symmetry symmetry_by_name(const std::string& name) {
    if (name == "rotate180") return symmetry::rotate180;
    if (name == "mirror") return symmetry::mirror;
    return symmetry::none;
}

caption_kind caption_by_name(const std::string& name) {
    return name == "none" ? caption_kind::none : caption_kind::letters;
}

} // namespace

bool rating_wanted(const options& o, int rating) {
    return o.rating_low < 0 || (rating >= o.rating_low && rating <= o.rating_high);
}

int run_generate(const options& o) {
    output_file output;
    if (!output.open(o.output)) return 1;
    install_stop_signals();
    seed_random(o.seed);
    bool on_terminal = isatty(2) != 0;
    std::vector<printed_puzzle> made;
    rater puzzle_rater;
    long long passed_over = 0;
    while (static_cast<int>(made.size()) < o.puzzles && stop_flag == 0) {
        generate_puzzle(symmetry_by_name(o.symmetry_kind));
        for (char c : o.letters) add_symbol(c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c);
        int rating = rate_puzzle(grid, puzzle_rater).rating;
        if (!rating_wanted(o, rating)) {
            ++passed_over;
        } else {
            printed_puzzle p = puzzle_in_grid(measure_difficulty());
            p.rating = rating;
            filling = &p;
            if (list_up_to(1, take_solution) == 1) made.push_back(p);
        }
        // redrawn on a terminal; elsewhere a line for each puzzle made
        if (!o.quiet && (on_terminal || passed_over == 0 || rating_wanted(o, rating))) {
            std::fprintf(stderr,
                         on_terminal ? "\rverbagrid: %zu of %d puzzle(s), %lld passed over"
                                     : "verbagrid: %zu of %d puzzle(s), %lld passed over\n",
                         made.size(), o.puzzles, passed_over);
        }
    }
    if (!o.quiet && on_terminal) std::fputc('\n', stderr);
    if (made.empty()) {
        std::fputs("verbagrid: interrupted before a puzzle was made\n", stderr);
        return 1;
    }
    if (o.format == output_format::svg || o.format == output_format::html) {
        return write_printed(output, o, made, caption_by_name(o.caption), "puzzle") ? 0 : 1;
    }
    std::FILE* out = output.stream();
    if (o.format == output_format::csv) std::fputs("puzzle,solution,rating,level\n", out);
    for (const printed_puzzle& p : made) {
        // the symbols are each puzzle's own; the text form is the dialogue's presentation
        std::string puzzle = cells_line(p.cells, p.givens);
        std::string solution = cells_line(p.solution, p.givens);
        if (o.format == output_format::text) {
            write_presentation(out, p.difficulty, p.cells, p.givens, p.solution);
        } else {
            std::fprintf(out, o.format == output_format::csv ? "%s,%s,%s,%s\n" : "%s %s %s %s\n",
                         puzzle.c_str(), solution.c_str(), rating_text(p.rating).c_str(),
                         level_of(p.rating));
        }
    }
    return output.commit() ? 0 : 1;
}
