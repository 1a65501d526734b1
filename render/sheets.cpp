// Starters out, one format each. The text form is what the dialogue prints for a presented
// starter, less its question, so a script sees the same boards a person does.
#include "render/sheets.h"

#include "render/board.h"
#include "render/steps.h"

#include <cstring>

printed_puzzle printed_from(const puzzle& p, int difficulty) {
    printed_puzzle printed{};
    std::memcpy(printed.cells, p.grid, sizeof printed.cells);
    std::memcpy(printed.givens, p.given, sizeof printed.givens);
    std::memcpy(printed.value_letter, p.value_letter, sizeof printed.value_letter);
    printed.difficulty = difficulty;
    return printed;
}

void write_presentation(std::FILE* out, const printed_puzzle& s) {
    puzzle shown{};
    std::memcpy(shown.given, s.givens, sizeof shown.given);
    std::memcpy(shown.value_letter, s.value_letter, sizeof shown.value_letter);
    std::memcpy(shown.grid, s.cells, sizeof shown.grid);
    write_starter(out, s.difficulty, shown);
    std::memcpy(shown.grid, s.solution, sizeof shown.grid);
    write_solution(out, 1, shown);
    std::fputs("\n", out);
}

void write_starter_header(std::FILE* out, output_format format) {
    if (format == output_format::csv) {
        std::fputs("sentence,tries,difficulty,starter,solution,rating,level\n", out);
    }
}

void write_starter_entry(std::FILE* out, output_format format, const composed_starter& s) {
    switch (format) {
    case output_format::text:
        write_presentation(out, s);
        break;
    case output_format::line:
        std::fprintf(out, "%s %s %d %s %s\n", cells_line(s.cells, s.givens, s.value_letter).c_str(),
                     cells_line(s.solution, s.givens, s.value_letter).c_str(), s.difficulty,
                     rating_text(s.rating).c_str(), level_of(s.rating));
        break;
    case output_format::csv:
        std::fprintf(out, "%s,%d,%d,%s,%s,%s,%s\n", s.sentence.c_str(), s.tries, s.difficulty,
                     cells_line(s.cells, s.givens, s.value_letter).c_str(),
                     cells_line(s.solution, s.givens, s.value_letter).c_str(),
                     rating_text(s.rating).c_str(), level_of(s.rating));
        break;
    default:
        break;
    }
}
