// Text formats. The boards are the dialogue's own, byte for byte, so that a command's text
// output reads like the dialogue; the line and CSV forms hold one puzzle a line.
#include "render/formats.h"

#include "render/board.h"

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

std::string cells_line(const int* cells, const int* givens, const int* value_letter) {
    std::string line(81, '.');
    for (int cell = 0; cell < 81; ++cell) {
        if (cells[cell] != 0) line[cell] = symbol_of(value_letter, cells[cell], givens[cell] != 0);
    }
    return line;
}
