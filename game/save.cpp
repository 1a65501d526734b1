// The saved game's text: one field a line, in a fixed order, each line a keyword and its
// values; cells are digits (values, not symbols, so that any alphabet reads back the same) and
// '.' for none. Reading checks every number's range and that the givens and the solution make
// a sudoku, so a game read back can be played whatever the file held.
#include "game/save.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr const char* first_line = "verbagrid game 1";

std::string cells_digits(const int* values) {
    std::string text(81, '.');
    for (int cell = 0; cell < 81; ++cell) {
        if (values[cell] != 0) text[cell] = static_cast<char>('0' + values[cell]);
    }
    return text;
}

// Adds a line of a keyword and its value.
void add_line(std::string& text, const char* keyword, const std::string& value) {
    text += keyword;
    text += ' ';
    text += value;
    text += '\n';
}

void append_moves(std::string& text, const char* name, const std::vector<game_move>& moves) {
    add_line(text, name, std::to_string(moves.size()));
    for (const game_move& m : moves) {
        add_line(text, "move", std::to_string(m.size()));
        for (const cell_change& c : m) {
            char line[80];
            std::snprintf(line, sizeof line, "%d %d %d %d %d\n", c.cell, c.before.entry,
                          c.before.marks, c.after.entry, c.after.marks);
            text += line;
        }
    }
}

// Reads the text a line at a time, each line split into words, and says where it stopped.
class save_reader {
  public:
    explicit save_reader(const std::string& text) : text_(text) {}

    // The next line; false at the end of the text.
    bool next() {
        if (at_ >= text_.size()) return false;
        std::size_t end = text_.find('\n', at_);
        if (end == std::string::npos) end = text_.size();
        line_ = text_.substr(at_, end - at_);
        at_ = end + 1;
        ++number_;
        words_.clear();
        std::size_t i = 0;
        while (i < line_.size()) {
            while (i < line_.size() && line_[i] == ' ') ++i;
            std::size_t start = i;
            while (i < line_.size() && line_[i] != ' ') ++i;
            if (i > start) words_.push_back(line_.substr(start, i - start));
        }
        return true;
    }
    // The next line, which must start with keyword and hold count words after it.
    bool field(const char* keyword, std::size_t count) {
        if (!next()) return fail(std::string("the file ends before '") + keyword + "'");
        if (words_.empty() || words_[0] != keyword) {
            return fail(std::string("'") + keyword + "' expected");
        }
        if (words_.size() != count + 1) return fail(std::string("'") + keyword + "' is damaged");
        return true;
    }
    // The word at i as a whole number from low to high.
    bool number(std::size_t i, long long low, long long high, long long* value) {
        const std::string& w = words_[i];
        char* end = nullptr;
        long long n = std::strtoll(w.c_str(), &end, 10);
        if (w.empty() || *end != '\0' || n < low || n > high) {
            return fail("'" + w + "' is not a number from " + std::to_string(low) + " to " +
                        std::to_string(high));
        }
        *value = n;
        return true;
    }
    // The word at i as 81 cells of digits 1..9 or '.'.
    bool cells(std::size_t i, int* values) {
        const std::string& w = words_[i];
        if (w.size() != 81) return fail("a grid of 81 cells expected");
        for (int cell = 0; cell < 81; ++cell) {
            char c = w[cell];
            if (c != '.' && (c < '1' || c > '9'))
                return fail("a cell holds '" + w.substr(cell, 1) + "'");
            values[cell] = c == '.' ? 0 : c - '0';
        }
        return true;
    }
    bool fail(const std::string& reason) {
        why_ = "line " + std::to_string(number_) + ": " + reason;
        return false;
    }
    const std::string& line() const { return line_; }
    const std::string& why() const { return why_; }

  private:
    const std::string& text_;
    std::size_t at_ = 0;
    int number_ = 0;
    std::string line_;
    std::vector<std::string> words_;
    std::string why_;
};

bool read_state(save_reader& in, std::size_t first, cell_state* state) {
    long long entry = 0;
    long long marks = 0;
    if (!in.number(first, 0, 9, &entry) || !in.number(first + 1, 0, 511, &marks)) return false;
    state->entry = static_cast<int>(entry);
    state->marks = static_cast<int>(marks);
    return true;
}

bool read_moves(save_reader& in, const char* name, const int* givens,
                std::vector<game_move>* moves) {
    long long count = 0;
    if (!in.field(name, 1) || !in.number(1, 0, 100'000'000, &count)) return false;
    for (long long i = 0; i < count; ++i) {
        long long changes = 0;
        if (!in.field("move", 1) || !in.number(1, 1, 81, &changes)) return false;
        game_move m;
        for (long long k = 0; k < changes; ++k) {
            long long cell = 0;
            cell_change c{};
            if (!in.next()) return in.fail("the file ends inside a move");
            if (!in.number(0, 0, 80, &cell) || !read_state(in, 1, &c.before) ||
                !read_state(in, 3, &c.after)) {
                return false;
            }
            c.cell = static_cast<int>(cell);
            if (givens[c.cell] != 0) return in.fail("a move changes a given");
            m.push_back(c);
        }
        moves->push_back(std::move(m));
    }
    return true;
}

} // namespace

std::string save_text(const game& g) {
    std::string text = first_line;
    text += '\n';
    std::string symbols;
    std::string marks;
    int entries[81];
    for (int v = 1; v <= 9; ++v) {
        if (v > 1) symbols += ' ';
        symbols += std::to_string(g.value_letter[v]);
    }
    for (int cell = 0; cell < 81; ++cell) {
        entries[cell] = g.cells[cell].entry;
        if (cell > 0) marks += ' ';
        marks += std::to_string(g.cells[cell].marks);
    }
    add_line(text, "symbols", symbols);
    add_line(text, "givens", cells_digits(g.given));
    add_line(text, "solution", cells_digits(g.solution));
    add_line(text, "entries", cells_digits(entries));
    add_line(text, "marks", marks);
    add_line(text, "cursor", std::to_string(g.cursor));
    add_line(text, "played", std::to_string(g.played_ms));
    add_line(text, "rating", std::to_string(g.rating));
    // the origin is free text: a line of its own, whatever it holds but a line feed
    std::string origin = g.origin;
    for (char& c : origin) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    add_line(text, "origin", origin);
    append_moves(text, "done", g.done);
    append_moves(text, "undone", g.undone);
    text += "end\n";
    return text;
}

bool read_save(const std::string& text, game& g, std::string* why) {
    save_reader in(text);
    auto read = [&](game& r) {
        if (!in.next() || in.line() != first_line) return in.fail("not a game this version saved");
        int letters[10] = {};
        if (!in.field("symbols", 9)) return false;
        for (int v = 1; v <= 9; ++v) {
            long long letter = 0;
            if (!in.number(static_cast<std::size_t>(v), 0, 255, &letter)) return false;
            letters[v] = static_cast<int>(letter);
        }
        int givens[81];
        int solution[81];
        int entries[81];
        if (!in.field("givens", 1) || !in.cells(1, givens)) return false;
        if (!in.field("solution", 1) || !in.cells(1, solution)) return false;
        if (!start_game(r, givens, solution, letters)) {
            return in.fail("the solution does not solve the givens");
        }
        if (!in.field("entries", 1) || !in.cells(1, entries)) return false;
        if (!in.field("marks", 81)) return false;
        for (int cell = 0; cell < 81; ++cell) {
            long long marks = 0;
            if (!in.number(static_cast<std::size_t>(cell) + 1, 0, 511, &marks)) return false;
            if (givens[cell] != 0 && (entries[cell] != 0 || marks != 0)) {
                return in.fail("a given holds an entry or marks");
            }
            r.cells[cell] = {entries[cell], static_cast<int>(marks)};
        }
        long long n = 0;
        if (!in.field("cursor", 1) || !in.number(1, 0, 80, &n)) return false;
        r.cursor = static_cast<int>(n);
        if (!in.field("played", 1) || !in.number(1, 0, INT64_MAX / 2, &n)) return false;
        r.played_ms = n;
        if (!in.field("rating", 1) || !in.number(1, -1, 200, &n)) return false;
        r.rating = static_cast<int>(n);
        if (!in.next() || in.line().rfind("origin", 0) != 0) return in.fail("'origin' expected");
        r.origin = in.line().size() > 7 ? in.line().substr(7) : "";
        if (!read_moves(in, "done", givens, &r.done)) return false;
        if (!read_moves(in, "undone", givens, &r.undone)) return false;
        if (!in.next() || in.line() != "end") return in.fail("'end' expected");
        if (in.next()) return in.fail("text after 'end'");
        return true;
    };
    game read_game;
    if (!read(read_game)) {
        if (why != nullptr) *why = in.why();
        return false;
    }
    g = std::move(read_game);
    return true;
}

std::string save_name(const game& g) {
    // FNV-1a over the givens and the symbols: a name of the puzzle, not of the game's state
    std::uint64_t hash = 14695981039346656037ULL;
    auto mix = [&](int value) {
        hash ^= static_cast<std::uint64_t>(value & 0xFF);
        hash *= 1099511628211ULL;
    };
    for (int cell = 0; cell < 81; ++cell) mix(g.given[cell]);
    for (int v = 1; v <= 9; ++v) mix(g.value_letter[v]);
    char name[40];
    std::snprintf(name, sizeof name, "game-%016llx.txt", static_cast<unsigned long long>(hash));
    return name;
}
