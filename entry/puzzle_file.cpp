// The reader keeps one line and one group of rows, both bounded. A group of rows is a puzzle
// only when nine come in a row: anything else between them (a blank line, a comment, a line
// of another length, the end of the input) leaves one malformed piece at the group's first
// line, so that rows are never joined across a gap into a puzzle nobody wrote.
#include "entry/puzzle_file.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr unsigned char byte_order_mark[3] = {0xEF, 0xBB, 0xBF};

bool is_blank_byte(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

void give_malformed(long long line, const char* reason, piece_taker& take) {
    read_piece piece;
    piece.cells[0] = '\0';
    piece.line = line;
    std::snprintf(piece.reason, sizeof piece.reason, "%s", reason);
    take.take(piece);
}

void end_group(puzzle_reader* r, piece_taker& take) {
    if (r->row_count == 0) return;
    read_piece piece;
    piece.cells[0] = '\0';
    piece.line = r->first_row_line;
    std::snprintf(piece.reason, sizeof piece.reason, "%d %s of 9 cells, not nine", r->row_count,
                  r->row_count == 1 ? "row" : "rows");
    r->row_count = 0;
    take.take(piece);
}

// One whole line, its line feed gone.
void take_line(puzzle_reader* r, piece_taker& take) {
    long long line = ++r->line_count;
    if (r->too_long) {
        end_group(r, take);
        give_malformed(line, "a line longer than any puzzle", take);
        return;
    }
    int start = 0;
    int end = r->length;
    while (start < end && is_blank_byte(r->line[start])) ++start;
    while (end > start && is_blank_byte(r->line[end - 1])) --end;
    int cells = end - start;
    if (cells == 0 || r->line[start] == '#') {
        end_group(r, take);
        return;
    }
    if (cells == 9) {
        if (r->row_count == 0) r->first_row_line = line;
        std::memcpy(r->rows + 9 * r->row_count, r->line + start, 9);
        if (++r->row_count < 9) return;
        r->row_count = 0;
        read_piece piece;
        std::memcpy(piece.cells, r->rows, 81);
        piece.cells[81] = '\0';
        piece.line = r->first_row_line;
        piece.reason[0] = '\0';
        take.take(piece);
        return;
    }
    end_group(r, take);
    read_piece piece;
    piece.line = line;
    if (cells == 81) {
        std::memcpy(piece.cells, r->line + start, 81);
        piece.cells[81] = '\0';
        piece.reason[0] = '\0';
    } else {
        piece.cells[0] = '\0';
        std::snprintf(piece.reason, sizeof piece.reason,
                      "%d cells; a puzzle is one line of 81 or nine lines of 9", cells);
    }
    take.take(piece);
}

} // namespace

void start_reading(puzzle_reader* r) {
    r->length = 0;
    r->too_long = false;
    r->at_start = true;
    r->mark_bytes = 0;
    r->line_count = 0;
    r->row_count = 0;
    r->first_row_line = 0;
}

void read_puzzle_bytes(puzzle_reader* r, const char* bytes, int size, piece_taker& take) {
    for (int i = 0; i < size; ++i) {
        char c = bytes[i];
        if (r->at_start) {
            // the mark is held back until it is whole; a partial one is ordinary text
            if (static_cast<unsigned char>(c) == byte_order_mark[r->mark_bytes]) {
                if (++r->mark_bytes == 3) r->at_start = false;
                continue;
            }
            r->at_start = false;
            for (int k = 0; k < r->mark_bytes; ++k) {
                r->line[r->length++] = static_cast<char>(byte_order_mark[k]);
            }
        }
        if (c == '\n') {
            take_line(r, take);
            r->length = 0;
            r->too_long = false;
        } else if (r->length < longest_puzzle_line) {
            r->line[r->length++] = c;
        } else {
            r->too_long = true;
        }
    }
}

void end_reading(puzzle_reader* r, piece_taker& take) {
    if (r->at_start) {
        for (int k = 0; k < r->mark_bytes; ++k) {
            r->line[r->length++] = static_cast<char>(byte_order_mark[k]);
        }
        r->at_start = false;
    }
    if (r->length > 0 || r->too_long) take_line(r, take);
    r->length = 0;
    r->too_long = false;
    end_group(r, take);
}
