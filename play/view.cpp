// Drawing the game. Every position comes from one lay-out, worked out from the canvas's size,
// so a click maps back to the cell drawn there and a resize only draws again.
#include "play/view.h"

#include "core/grid.h"
#include "render/steps.h"

#include <cstdio>

namespace {

struct layout {
    bool fits;  // the canvas holds the compact lay-out at least
    int cell_w; // a cell's width and height, in characters
    int cell_h;
    int top; // the grid's first row and column (its frame)
    int left;
    int width; // the grid's, frame included
    int height;
    int panel;   // the column of the text beside the grid
    int message; // the first row under it
};

constexpr int large_rows = 38;
constexpr int large_cols = 102;

layout layout_for(int rows, int cols) {
    layout l{};
    l.fits = rows >= compact_rows && cols >= compact_cols;
    bool large = rows >= large_rows && cols >= large_cols;
    l.cell_w = large ? 7 : 3;
    l.cell_h = large ? 3 : 1;
    l.top = 2;
    l.left = 1;
    l.width = 9 * l.cell_w + 4;
    l.height = 9 * l.cell_h + 4;
    l.panel = l.left + l.width + 3;
    l.message = l.top + l.height + 1;
    return l;
}

// Where a cell's box starts: inside the frame, past the lines between boxes before it.
int cell_row(const layout& l, int cell) {
    int r = row_of[cell];
    return l.top + 1 + r * l.cell_h + r / 3;
}
int cell_col(const layout& l, int cell) {
    int c = col_of[cell];
    return l.left + 1 + c * l.cell_w + c / 3;
}

bool is_wrong(const game& g, int cell) {
    int v = g.cells[cell].entry;
    return v != 0 && v != g.solution[cell];
}

// The look of a cell's box: the cursor, and what a hint or a check points at.
int cell_look(const game& g, const screen_state& s, int cell) {
    int look = look_plain;
    if (cell == g.cursor) look |= look_cursor;
    bool hinted = s.stage == hint_stage::named || s.stage == hint_stage::worded;
    if (hinted && s.shown != nullptr) {
        const hint& h = *s.shown;
        if (h.kind == hint_kind::step) {
            if (h.focus[cell]) look |= look_focus;
            if (h.area[cell]) look |= look_area;
        } else {
            for (int i = 0; i < h.cell_count; ++i) {
                if (h.cells[i] == cell) look |= look_focus;
            }
        }
    }
    if (s.checked && is_wrong(g, cell)) look |= look_wrong;
    return look;
}

void draw_frame(canvas& c, const layout& l) {
    std::string across = "+";
    std::string through = "|";
    for (int box = 0; box < 3; ++box) {
        across += std::string(3 * static_cast<std::size_t>(l.cell_w), '-') + "+";
        through += std::string(3 * static_cast<std::size_t>(l.cell_w), ' ') + "|";
    }
    for (int row = 0; row < l.height; ++row) {
        int inside = row - 1;
        bool line = inside % (3 * l.cell_h + 1) == 3 * l.cell_h || row == 0;
        c.text(l.top + row, l.left, line ? across : through, look_dim);
    }
}

void draw_cell(canvas& c, const layout& l, const game& g, const screen_state& s, int cell) {
    int look = cell_look(g, s, cell);
    int top = cell_row(l, cell);
    int left = cell_col(l, cell);
    std::string blank(static_cast<std::size_t>(l.cell_w), ' ');
    for (int r = 0; r < l.cell_h; ++r) c.text(top + r, left, blank, look);
    int v = value_at(g, cell);
    int middle = top + l.cell_h / 2;
    int centre = left + l.cell_w / 2;
    if (v != 0) {
        int kind = g.given[cell] != 0 ? look_given : look_entry;
        c.text(middle, centre, std::string(1, symbol_of(g, v)), look | kind);
        return;
    }
    int marks = g.cells[cell].marks;
    if (l.cell_h == 1 || marks == 0) {
        // no room for marks: the panel shows the cursor's; here only that there are some
        c.text(middle, centre, marks != 0 ? ":" : ".", look | look_dim);
        return;
    }
    for (int m = 1; m <= 9; ++m) {
        if ((marks & value_bit[m]) == 0) continue;
        c.text(top + (m - 1) / 3, left + 1 + 2 * ((m - 1) % 3), std::string(1, symbol_of(g, m)),
               look | look_mark);
    }
}

// The text as lines of at most width characters, broken at spaces where it can be.
std::vector<std::string> wrapped(const std::string& text, int width) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    auto w = static_cast<std::size_t>(width < 10 ? 10 : width);
    while (at < text.size()) {
        std::size_t end = at + w;
        if (end >= text.size()) {
            lines.push_back(text.substr(at));
            break;
        }
        std::size_t space = text.rfind(' ', end);
        if (space == std::string::npos || space <= at) space = end;
        lines.push_back(text.substr(at, space - at));
        at = space < text.size() && text[space] == ' ' ? space + 1 : space;
    }
    return lines;
}

std::string rating_words(const game& g) {
    if (g.rating < 0) return "rating ...";
    return std::string(level_of(g.rating)) + " " + rating_text(g.rating);
}

void draw_title(canvas& c, const game& g) {
    c.text(0, 1, "Verbagrid", look_title);
    std::string right = rating_words(g) + "   " + clock_text(g.played_ms);
    int origin_room = c.cols() - 14 - static_cast<int>(right.size()) - 3;
    std::string origin = g.origin;
    if (origin_room < 4) origin.clear();
    if (static_cast<int>(origin.size()) > origin_room && origin_room >= 4) {
        origin.resize(static_cast<std::size_t>(origin_room - 3));
        origin += "...";
    }
    c.text(0, 12, origin, look_plain);
    c.text(0, c.cols() - 1 - static_cast<int>(right.size()), right, look_title);
}

void draw_panel(canvas& c, const layout& l, const game& g, const screen_state& s) {
    int row = l.top;
    int cell = g.cursor;
    std::string where = cell_name(cell);
    if (g.given[cell] != 0) where += " (given)";
    c.text(row++, l.panel, where, look_plain);
    std::string marks;
    for (int v = 1; v <= 9; ++v) {
        if ((g.cells[cell].marks & value_bit[v]) == 0) continue;
        if (!marks.empty()) marks += ' ';
        marks += symbol_of(g, v);
    }
    c.text(row++, l.panel, marks.empty() ? "no marks" : "marks " + marks, look_mark);
    c.text(row++, l.panel, s.pencil ? "PENCIL: symbols mark" : "symbols enter",
           s.pencil ? look_title : look_plain);
    ++row;
    std::string keys = keys_text(g);
    std::size_t at = 0;
    while (at < keys.size() && row < l.message - 1) {
        std::size_t end = keys.find('\n', at);
        c.text(row++, l.panel, keys.substr(at, end - at), look_dim);
        at = end == std::string::npos ? keys.size() : end + 1;
    }
}

void draw_message(canvas& c, const layout& l, const game& g, const screen_state& s) {
    std::vector<std::string> lines;
    auto add = [&](const std::string& text) {
        for (const std::string& line : wrapped(text, c.cols() - 2)) lines.push_back(line);
    };
    if (s.finished) {
        add("Solved in " + clock_text(g.played_ms) + ", rated " +
            (g.rating < 0 ? std::string("...")
                          : rating_text(g.rating) + " (" + level_of(g.rating) + ")") +
            ". q leaves.");
    } else if (s.stage == hint_stage::thinking) {
        add("Thinking of a hint... any key stops it.");
    } else if (s.stage == hint_stage::named && s.shown != nullptr) {
        add("Hint: " + hint_title(g, *s.shown) + ". ? again: in words.");
    } else if (s.stage == hint_stage::worded && s.shown != nullptr) {
        add(hint_words(g, *s.shown) + ". ? again: carry it out.");
    }
    if (!s.message.empty()) add(s.message);
    int room = c.rows() - l.message;
    for (int i = 0; i < static_cast<int>(lines.size()) && i < room; ++i) {
        std::string line = lines[static_cast<std::size_t>(i)];
        if (i == room - 1 && i + 1 < static_cast<int>(lines.size())) line += " ...";
        c.text(l.message + i, 1, line, look_plain);
    }
}

} // namespace

std::string clock_text(long long ms) {
    long long seconds = ms / 1000;
    char text[32];
    if (seconds >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
    }
    return text;
}

std::string keys_text(const game& g) {
    auto symbol = [&](char key) { return value_of_key(g, key) != 0; };
    auto line = [](std::string keys, const char* what) {
        keys.resize(14, ' ');
        return keys + what;
    };
    // a command letter that is a symbol enters it; the command stays on Ctrl
    auto command = [&](char letter, const char* control) {
        return symbol(letter) ? std::string(control) : std::string(1, letter);
    };
    std::string symbols;
    for (int v = 1; v <= 9; ++v) symbols += symbol_of(g, v);
    bool vi = !symbol('h') && !symbol('j') && !symbol('k') && !symbol('l');
    return line(vi ? "arrows hjkl" : "arrows", "move") + "\n" + line(symbols, "enter") + "\n" +
           line("space . del", "clear") + "\n" + line(command('p', "Ctrl-P"), "pencil marks") +
           "\n" + line(command('u', "Ctrl-U"), "undo") + "\n" +
           line(symbol('r') ? "Ctrl-R" : "r Ctrl-R", "redo") + "\n" +
           line(command('c', "Ctrl-E"), "check") + "\n" + line("?", "hint") + "\n" +
           line(symbol('q') ? "Ctrl-C" : "q Ctrl-C", "quit");
}

int cell_at(int rows, int cols, int row, int col) {
    layout l = layout_for(rows, cols);
    if (!l.fits) return -1;
    for (int cell = 0; cell < 81; ++cell) {
        int top = cell_row(l, cell);
        int left = cell_col(l, cell);
        if (row >= top && row < top + l.cell_h && col >= left && col < left + l.cell_w) return cell;
    }
    return -1;
}

void draw_screen(canvas& c, const game& g, const screen_state& s) {
    layout l = layout_for(c.rows(), c.cols());
    if (!l.fits) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "The terminal is %dx%d; the game needs %dx%d at least. Enlarge it, or press "
                      "q to leave.",
                      c.cols(), c.rows(), compact_cols, compact_rows);
        std::vector<std::string> lines = wrapped(text, c.cols() - 1);
        for (int i = 0; i < static_cast<int>(lines.size()) && i < c.rows(); ++i) {
            c.text(i, 0, lines[static_cast<std::size_t>(i)], look_plain);
        }
        return;
    }
    draw_title(c, g);
    draw_frame(c, l);
    for (int cell = 0; cell < 81; ++cell) draw_cell(c, l, g, s, cell);
    draw_panel(c, l, g, s);
    draw_message(c, l, g, s);
}
