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

void give_rows(long long line, const char* rows, piece_taker& take) {
    read_piece piece;
    std::memcpy(piece.cells, rows, 81);
    piece.cells[81] = '\0';
    piece.line = line;
    piece.reason[0] = '\0';
    take.take(piece);
}

void give_short_group(long long line, int rows, piece_taker& take) {
    char reason[64];
    std::snprintf(reason, sizeof reason, "%d %s of 9 cells, not nine", rows,
                  rows == 1 ? "row" : "rows");
    give_malformed(line, reason, take);
}

// The group ends: what it holds goes out, as one piece or, when the rows after a break do not
// complete it, as the group and those rows apart.
void end_group(puzzle_reader* r, piece_taker& take) {
    if (r->broken && r->row_count + r->later_count == 9) {
        give_malformed(r->first_row_line, "9 rows of 9 cells broken by a blank or '#' line", take);
    } else {
        if (r->row_count > 0) give_short_group(r->first_row_line, r->row_count, take);
        if (r->later_count > 0) give_short_group(r->later_line, r->later_count, take);
    }
    r->row_count = 0;
    r->later_count = 0;
    r->broken = false;
}

// A blank or '#' line: a group may go on after it.
void break_group(puzzle_reader* r, piece_taker& take) {
    if (r->row_count == 0) return;
    if (!r->broken) {
        r->broken = true;
        return;
    }
    if (r->later_count == 0) return; // blank lines in a row are one break
    if (r->row_count + r->later_count == 9) {
        end_group(r, take);
        return;
    }
    // the rows after the first break did not complete the group: they start one of their own
    give_short_group(r->first_row_line, r->row_count, take);
    std::memmove(r->rows, r->rows + 9 * r->row_count, static_cast<std::size_t>(9 * r->later_count));
    r->row_count = r->later_count;
    r->first_row_line = r->later_line;
    r->later_count = 0;
}

void take_row(puzzle_reader* r, const char* row, long long line, piece_taker& take) {
    if (!r->broken) {
        if (r->row_count == 0) r->first_row_line = line;
        std::memcpy(r->rows + 9 * r->row_count, row, 9);
        if (++r->row_count == 9) {
            give_rows(r->first_row_line, r->rows, take);
            r->row_count = 0;
        }
        return;
    }
    if (r->later_count == 0) r->later_line = line;
    std::memcpy(r->rows + 9 * (r->row_count + r->later_count), row, 9);
    if (++r->later_count == 9) { // nine rows of their own after the break: a puzzle apart
        give_short_group(r->first_row_line, r->row_count, take);
        give_rows(r->later_line, r->rows + 9 * r->row_count, take);
        r->row_count = 0;
        r->later_count = 0;
        r->broken = false;
    }
}

// The cells a line holds: its characters, a byte outside ASCII and those that continue it
// counting as one.
int characters_in(const char* text, int length) {
    int count = 0;
    for (int i = 0; i < length; ++i) count += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    return count;
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
    int bytes = end - start;
    if (bytes == 0 || r->line[start] == '#') {
        break_group(r, take);
        return;
    }
    if (bytes == 9) {
        take_row(r, r->line + start, line, take);
        return;
    }
    end_group(r, take);
    if (bytes == 81) {
        give_rows(line, r->line + start, take);
        return;
    }
    int cells = characters_in(r->line + start, bytes);
    char reason[64];
    if (cells == 9 || cells == 81) { // the right count, but a character outside ASCII among them
        std::snprintf(reason, sizeof reason, "%d cells, one of them no puzzle cell", cells);
    } else {
        std::snprintf(reason, sizeof reason,
                      "%d cells; a puzzle is one line of 81 or nine lines of 9", cells);
    }
    give_malformed(line, reason, take);
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
    r->broken = false;
    r->later_count = 0;
    r->later_line = 0;
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
