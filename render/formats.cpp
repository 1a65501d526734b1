// Text formats. The boards are the dialogue's own, byte for byte, so that a command's text
// output reads like the dialogue; the line and CSV forms hold one puzzle a line.
#include "render/formats.h"

#include "core/board.h"

#include <cstring>

bool format_by_name(const char* name, output_format* format) {
    static const struct {
        const char* name;
        output_format format;
    } formats[] = {{"text", output_format::text},
                   {"line", output_format::line},
                   {"csv", output_format::csv},
                   {"svg", output_format::svg},
                   {"html", output_format::html}};
    for (const auto& f : formats) {
        if (std::strcmp(f.name, name) == 0) {
            *format = f.format;
            return true;
        }
    }
    return false;
}

std::string cells_line(const int* cells, const int* givens) {
    std::string line(81, '.');
    for (int cell = 0; cell < 81; ++cell) {
        if (cells[cell] != 0) line[cell] = symbol_of(cells[cell], givens[cell] != 0);
    }
    return line;
}

void write_solution(std::FILE* out, int number, const int* cells, const int* givens) {
    std::fprintf(out, "\n-- sol (%d)\n", number);
    write_board(out, cells, givens);
}

void append_solution(std::string* text, int number, const int* cells, const int* givens) {
    *text += "\n-- sol (" + std::to_string(number) + ")\n";
    char board[board_size];
    text->append(board, static_cast<std::size_t>(format_board(board, cells, givens)));
}

void write_presentation(std::FILE* out, int difficulty, const int* starter, const int* givens,
                        const int* solution) {
    std::fprintf(out, "\n** difficulty:%d ***\n", difficulty);
    write_board(out, starter, givens);
    write_solution(out, 1, solution, givens);
    std::fputs("\n", out);
}
