// The game's screen, drawn into a canvas: the title with the rating and the time, the grid,
// the cell under the cursor and its marks, the keys, and a message (a hint, the verdict). The
// canvas is the terminal in the game and memory in the benchmark and the tests; the view knows
// nothing of ncurses. Two lay-outs: compact, for 80 by 24, where the marks of the cell under
// the cursor show beside the grid, and large, where every cell shows its marks.
#pragma once

#include "game/hint.h"

#include <string>

// How a piece of text looks, as bits: a terminal without colour shows them in bold, reverse
// and underline alone.
constexpr int look_plain = 0;
constexpr int look_title = 1;
constexpr int look_given = 2;
constexpr int look_entry = 4;
constexpr int look_mark = 8;
constexpr int look_cursor = 16;
constexpr int look_focus = 32; // a cell a hint uses
constexpr int look_area = 64;  // a region a hint works in
constexpr int look_wrong = 128;
constexpr int look_dim = 256;

class canvas {
  public:
    virtual int rows() const = 0;
    virtual int cols() const = 0;
    // Writes text at row, col in the given style; what falls outside the canvas is cut.
    virtual void text(int row, int col, const std::string& s, int look) = 0;

  protected:
    ~canvas() = default;
};

enum class hint_stage { none, thinking, named, worded };

// What the screen shows besides the game.
struct screen_state {
    bool pencil = false; // symbols toggle marks
    hint_stage stage = hint_stage::none;
    const hint* shown = nullptr; // the hint when named or worded
    bool checked = false;        // c was pressed: wrong entries stand out until the next move
    bool finished = false;       // solved: the verdict shows
    std::string message;         // one line under the grid: what the last key did
};

constexpr int compact_rows = 22; // the smallest screen the game draws on
constexpr int compact_cols = 66;

// Draws the whole screen; a canvas too small gets a line that says how big it must be.
void draw_screen(canvas& c, const game& g, const screen_state& s);
// The cell drawn at row, col of a canvas of this size; -1 for none.
int cell_at(int rows, int cols, int row, int col);
// The time as the title shows it: "4:05", "1:02:03".
std::string clock_text(long long ms);
// The keys, one line each, with the Ctrl form for a command letter that is a symbol.
std::string keys_text(const game& g);
