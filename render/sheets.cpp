// Starters out, one format each. The text form is what the dialogue prints for a presented
// starter, less its question, so a script sees the same boards a person does.
#include "render/sheets.h"

#include "core/grid.h"
#include "render/steps.h"

printed_puzzle puzzle_in_grid(int difficulty) {
    printed_puzzle p{};
    for (int cell = 0; cell < 81; ++cell) {
        p.cells[cell] = grid[cell];
        p.givens[cell] = given[cell];
    }
    for (int v = 1; v <= 9; ++v) {
        p.symbol[v] =
            value_letter[v] != 0 ? static_cast<char>(value_letter[v]) : static_cast<char>('0' + v);
    }
    p.difficulty = difficulty;
    return p;
}

void write_starters(std::FILE* out, output_format format,
                    const std::vector<composed_starter>& starters) {
    if (format == output_format::csv)
        std::fputs("sentence,tries,difficulty,starter,solution,rating,level\n", out);
    for (const composed_starter& s : starters) {
        switch (format) {
        case output_format::text:
            write_presentation(out, s.difficulty, s.cells, s.givens, s.solution);
            break;
        case output_format::line:
            std::fprintf(out, "%s %s %d %s %s\n", cells_line(s.cells, s.givens).c_str(),
                         cells_line(s.solution, s.givens).c_str(), s.difficulty,
                         rating_text(s.rating).c_str(), level_of(s.rating));
            break;
        case output_format::csv:
            std::fprintf(out, "%s,%d,%d,%s,%s,%s,%s\n", s.sentence.c_str(), s.tries, s.difficulty,
                         cells_line(s.cells, s.givens).c_str(),
                         cells_line(s.solution, s.givens).c_str(), rating_text(s.rating).c_str(),
                         level_of(s.rating));
            break;
        default:
            break;
        }
    }
}
