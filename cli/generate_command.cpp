// verbagrid generate: random puzzles with one solution, each written as soon as it is made
// (the printable formats, whole documents, at the end), kept only when its rating is in the
// range asked for. Progress goes to standard error from the start. A signal ends the run; what
// was written stays, a file named with -o is left as it was, and the status is 1.
#include "cli/commands.h"
#include "cli/output_file.h"
#include "cli/printed_output.h"
#include "cli/progress.h"
#include "cli/signals.h"
#include "composer/generate.h"
#include "core/stop_flag.h"
#include "core/text.h"
#include "logic/rater.h"
#include "render/formats.h"
#include "render/sheets.h"
#include "render/steps.h"

#include <memory>
#include <string>
#include <vector>

namespace {

// One puzzle as the format writes it: the dialogue's presentation, or a line or csv row of the
// puzzle, its solution, its rating and its level, in the puzzle's own symbols.
void write_puzzle(std::FILE* out, output_format format, const printed_puzzle& p) {
    if (format == output_format::text) {
        write_presentation(out, p);
        return;
    }
    std::string cells = cells_line(p.cells, p.givens, p.value_letter);
    std::string solution = cells_line(p.solution, p.givens, p.value_letter);
    std::fprintf(out, format == output_format::csv ? "%s,%s,%s,%s\n" : "%s %s %s %s\n",
                 cells.c_str(), solution.c_str(), rating_text(p.rating).c_str(),
                 level_of(p.rating));
}

} // namespace

bool rating_wanted(const options& o, int rating) {
    return o.rating_low < 0 || (rating >= o.rating_low && rating <= o.rating_high);
}

int run_generate(const options& o) {
    output_file output;
    if (!output.open(o.output)) return 1;
    std::FILE* out = output.stream();
    install_stop_signals();
    bool printable = o.format == output_format::svg || o.format == output_format::html;
    if (o.format == output_format::csv) std::fputs("puzzle,solution,rating,level\n", out);
    auto p = std::make_unique<puzzle>();
    for (char c : o.letters) add_symbol(*p, to_lower(c));
    random_generator random;
    random.seed(o.seed);
    counter c;
    rater r;
    progress_line progress(o.quiet);
    std::vector<printed_puzzle> made; // the printable formats', written at the end
    int count = 0;
    long long tried = 0;
    long long passed_over = 0;
    auto show = [&] {
        progress.show("verbagrid: " + std::to_string(count) + " of " + std::to_string(o.puzzles) +
                      " puzzle(s), " + std::to_string(tried) + " tried, " +
                      std::to_string(passed_over) + " passed over");
    };
    show();
    generation how;
    how.kind = o.symmetry_kind;
    how.every_value = !o.letters.empty();
    while (count < o.puzzles && stop_flag == 0) {
        generate_puzzle(*p, c, random, how);
        ++tried;
        int rating = rate_puzzle(p->grid, r).rating;
        if (stop_flag != 0) break;
        if (!rating_wanted(o, rating)) {
            ++passed_over;
        } else {
            printed_puzzle made_one = printed_from(*p, measure_difficulty(*p));
            made_one.rating = rating;
            solution_copier copy(made_one.solution);
            c.best_count = 0;
            c.show_solutions = &copy;
            int listed = count_solutions(*p, c);
            c.show_solutions = nullptr;
            if (listed != 1) break; // cut short by a signal
            ++count;
            if (printable) {
                made.push_back(made_one);
            } else {
                write_puzzle(out, o.format, made_one);
                // each puzzle reaches a pipe when it is made; a closed one ends the run
                if (std::fflush(out) != 0 || std::ferror(out)) {
                    progress.end();
                    output.commit(); // says why
                    return 1;
                }
            }
        }
        show();
    }
    progress.end();
    if (stopped_by_signal() || stop_flag != 0) return interrupted();
    if (printable) {
        caption_kind caption =
            o.caption == caption_choice::none ? caption_kind::none : caption_kind::letters;
        return write_printed(output, o, made, caption, "puzzle") ? 0 : 1;
    }
    return output.commit() ? 0 : 1;
}
