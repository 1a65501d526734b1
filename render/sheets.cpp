// Starters out, one format each. The text form is what the dialogue prints for a presented
// starter, less its question, so a script sees the same boards a person does.
#include "render/sheets.h"

void write_starters(std::FILE* out, output_format format, const sheet_request& request) {
    const std::vector<composed_starter>& starters = *request.starters;
    if (format == output_format::csv)
        std::fputs("sentence,tries,difficulty,starter,solution\n", out);
    for (const composed_starter& s : starters) {
        switch (format) {
        case output_format::text:
            write_presentation(out, s.difficulty, s.cells, s.givens, s.solution);
            break;
        case output_format::line:
            std::fprintf(out, "%s %s %d\n", cells_line(s.cells, s.givens).c_str(),
                         cells_line(s.solution, s.givens).c_str(), s.difficulty);
            break;
        case output_format::csv:
            std::fprintf(out, "%s,%d,%d,%s,%s\n", request.sentence, s.tries, s.difficulty,
                         cells_line(s.cells, s.givens).c_str(),
                         cells_line(s.solution, s.givens).c_str());
            break;
        default:
            break;
        }
    }
}
