// The game at the terminal: ncurses draws the view and reads the keys, one key a turn. Work that
// may take a while (the rating of a puzzle read from a file, a hint on a hard grid) runs on a
// thread of its own with a cancel of its own, so the keys are answered meanwhile; any key
// cancels a hint that is still thinking. The game is saved when the player leaves and when a
// signal arrives; the terminal session ends in a destructor, so every way out gives the
// terminal back.
#include "play/play.h"

#include "core/held_signals.h"
#include "core/stop_flag.h"
#include "game/hint.h"
#include "play/saves.h"
#include "play/terminal_type.h"
#include "play/view.h"
#include "render/steps.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <curses.h>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

namespace {

constexpr int ctrl_c = 3;
constexpr int ctrl_e = 5;
constexpr int ctrl_p = 16;
constexpr int ctrl_r = 18;
constexpr int ctrl_u = 21;

enum colour_pair : short { entry_pair = 1, focus_pair, area_pair, wrong_pair, title_pair };

// The terminal, full screen, from construction to destruction: keys one at a time, unechoed,
// no signal keys (Ctrl-C arrives as a key and quits as q does), the cursor hidden.
class curses_session {
  public:
    curses_session() {
        // newterm, not initscr: a terminal type without a description is a message, not an exit
        if (!terminal_described()) return;
        screen_ = newterm(nullptr, stdout, stdin);
        if (screen_ == nullptr) return;
        raw();
        noecho();
        nonl();
        keypad(stdscr, TRUE);
        set_escdelay(25);
        curs_set(0);
        mousemask(BUTTON1_PRESSED | BUTTON1_CLICKED, nullptr);
        colours_ = has_colors();
        if (colours_) {
            start_color();
            use_default_colors();
            init_pair(entry_pair, COLOR_CYAN, -1);
            init_pair(focus_pair, COLOR_BLACK, COLOR_YELLOW);
            init_pair(area_pair, -1, COLOR_BLUE);
            init_pair(wrong_pair, COLOR_RED, -1);
            init_pair(title_pair, COLOR_GREEN, -1);
        }
    }
    ~curses_session() {
        if (screen_ == nullptr) return;
        endwin();
        delscreen(screen_);
    }
    curses_session(const curses_session&) = delete;
    curses_session& operator=(const curses_session&) = delete;

    bool started() const { return screen_ != nullptr; }
    bool colours() const { return colours_; }

  private:
    SCREEN* screen_ = nullptr;
    bool colours_ = false;
};

// The view's looks in ncurses attributes: without colour, bold, reverse, underline and dim
// still tell givens from entries and the cells a hint points at.
attr_t attributes_of(int look, bool colours) {
    attr_t a = A_NORMAL;
    if ((look & (look_title | look_given)) != 0) a |= A_BOLD;
    if ((look & look_cursor) != 0) a |= A_REVERSE;
    if ((look & look_dim) != 0) a |= A_DIM;
    if (!colours) {
        if ((look & (look_focus | look_wrong)) != 0) a |= A_UNDERLINE | A_BOLD;
        if ((look & look_area) != 0 && (look & look_focus) == 0) a |= A_DIM;
        return a;
    }
    if ((look & look_wrong) != 0) return a | A_UNDERLINE | COLOR_PAIR(wrong_pair);
    if ((look & look_focus) != 0) return a | COLOR_PAIR(focus_pair);
    if ((look & look_area) != 0) return a | COLOR_PAIR(area_pair);
    if ((look & look_entry) != 0) return a | COLOR_PAIR(entry_pair);
    if ((look & look_title) != 0) return a | COLOR_PAIR(title_pair);
    return a;
}

class curses_canvas : public canvas {
  public:
    explicit curses_canvas(bool colours) : colours_(colours) {}
    int rows() const override { return LINES; }
    int cols() const override { return COLS; }
    void text(int row, int col, const std::string& s, int look) override {
        if (row < 0 || row >= LINES || col >= COLS) return;
        int room = COLS - col;
        attrset(attributes_of(look, colours_));
        mvaddnstr(row, col, s.c_str(), room < static_cast<int>(s.size()) ? room : -1);
        attrset(A_NORMAL);
    }

  private:
    bool colours_;
};

// A piece of work on a thread of its own, with its own cancel; the program's thread starts it,
// asks whether it is done, and cancels and joins it. Signals stay with the program's thread.
class background {
  public:
    ~background() { stop(); }
    void start(std::function<void(const std::atomic<bool>&)> work) {
        stop();
        cancel_ = false;
        done_ = false;
        signals_held_back held;
        thread_ = std::thread([this, work = std::move(work)] {
            work(cancel_);
            done_ = true;
        });
    }
    bool running() const { return thread_.joinable(); }
    // True once, when the work has ended and its thread is joined.
    bool finished() {
        if (!thread_.joinable() || !done_) return false;
        thread_.join();
        return true;
    }
    void stop() {
        if (!thread_.joinable()) return;
        cancel_ = true;
        thread_.join();
    }

  private:
    std::thread thread_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> done_{false};
};

enum class ending { left, signalled, solved, no_terminal };

class session {
  public:
    session(game& g, const char* greeting) : g_(g) { s_.message = greeting; }
    ending run();

  private:
    void key(int k);
    void changed(); // a move was made
    void ask_hint();
    void start_rating();
    bool command(int k, char letter, int control) const {
        return k == control || (k == letter && value_of_key(g_, letter) == 0);
    }

    game& g_;
    screen_state s_;
    hint hint_;
    hint found_;                        // the hint thread's, copied to hint_ once it is done
    std::unique_ptr<game> thinking_on_; // the grid the hint thread looks at
    bool found_any_ = false;
    rater hint_rater_;
    rater rating_rater_;
    std::atomic<int> rating_{-1};
    background hint_work_;
    background rating_work_;
    bool quit_ = false;
};

void session::start_rating() {
    int givens[81];
    for (int cell = 0; cell < 81; ++cell) givens[cell] = g_.given[cell];
    rating_work_.start([this, cells = std::to_array(givens)](const std::atomic<bool>& cancel) {
        rating_rater_.cancel = &cancel;
        rating_outcome outcome = rate_puzzle(cells.data(), rating_rater_);
        if (!outcome.stopped) rating_ = outcome.rating;
    });
}

void session::changed() {
    s_.stage = hint_stage::none;
    s_.checked = false;
    if (solved(g_)) {
        s_.finished = true;
        remove_game(g_);
    }
}

void session::ask_hint() {
    switch (s_.stage) {
    case hint_stage::none:
        if (check_grid(g_, hint_)) {
            s_.stage = hint_stage::named;
            s_.shown = &hint_;
            return;
        }
        thinking_on_ = std::make_unique<game>(g_);
        s_.stage = hint_stage::thinking;
        hint_work_.start([this](const std::atomic<bool>& cancel) {
            hint_rater_.cancel = &cancel;
            found_any_ = find_step(*thinking_on_, hint_rater_, found_);
        });
        return;
    case hint_stage::named:
        s_.stage = hint_stage::worded;
        return;
    case hint_stage::worded:
    case hint_stage::thinking:
        break;
    }
    // the third press carries it out: the step, or clearing what is wrong
    game_move m = hint_move(g_, hint_);
    if (hint_.kind == hint_kind::wrong_entries || hint_.kind == hint_kind::wrong_marks) {
        for (int i = 0; i < hint_.cell_count; ++i) {
            int cell = hint_.cells[i];
            m.push_back({cell, g_.cells[cell], {0, 0}});
        }
    }
    std::string done = hint_.kind == hint_kind::step
                           ? placements_text(hint_.found, g_.value_letter) +
                                 removals_text(hint_.found, g_.value_letter)
                           : "";
    s_.stage = hint_stage::none;
    if (make_move(g_, m)) {
        changed();
        s_.message = done.empty() ? "Done." : "Done: " + done;
    }
}

void session::key(int k) {
    s_.message.clear();
    if (command(k, 'q', ctrl_c)) {
        quit_ = true;
        return;
    }
    if (LINES < compact_rows || COLS < compact_cols) return; // only q, until it is bigger
    bool vi = value_of_key(g_, 'h') == 0 && value_of_key(g_, 'j') == 0 &&
              value_of_key(g_, 'k') == 0 && value_of_key(g_, 'l') == 0;
    int row = g_.cursor / 9;
    int col = g_.cursor % 9;
    if (k == KEY_UP || (vi && k == 'k')) row = (row + 8) % 9;
    if (k == KEY_DOWN || (vi && k == 'j')) row = (row + 1) % 9;
    if (k == KEY_LEFT || (vi && k == 'h')) col = (col + 8) % 9;
    if (k == KEY_RIGHT || (vi && k == 'l')) col = (col + 1) % 9;
    if (9 * row + col != g_.cursor) {
        g_.cursor = 9 * row + col;
        return;
    }
    if (k == KEY_MOUSE) {
        MEVENT event;
        if (getmouse(&event) == OK) {
            int cell = cell_at(LINES, COLS, event.y, event.x);
            if (cell >= 0) g_.cursor = cell;
        }
        return;
    }
    if (s_.finished) return;
    int cell = g_.cursor;
    int v = k > 0 && k < 128 ? value_of_key(g_, k) : 0;
    bool moved = false;
    if (v != 0) {
        moved = s_.pencil ? toggle_mark(g_, cell, v) : enter_value(g_, cell, v);
        if (!moved && g_.given[cell] != 0) s_.message = "A given stays as it is.";
        if (!moved && s_.pencil && g_.cells[cell].entry != 0) {
            s_.message = "Clear the entry to pencil marks in.";
        }
    } else if (k == ' ' || k == '.' || k == KEY_BACKSPACE || k == 127 || k == 8 || k == KEY_DC) {
        moved = clear_cell(g_, cell);
    } else if (command(k, 'p', ctrl_p)) {
        s_.pencil = !s_.pencil;
    } else if (command(k, 'u', ctrl_u)) {
        moved = undo(g_);
        if (!moved) s_.message = "Nothing to undo.";
    } else if (command(k, 'r', ctrl_r)) {
        moved = redo(g_);
        if (!moved) s_.message = "Nothing to redo.";
    } else if (command(k, 'c', ctrl_e)) {
        int wrong[81];
        int n = wrong_entries(g_, wrong);
        s_.checked = true;
        s_.message = n == 0 ? "No entry differs from the solution."
                            : std::to_string(n) + (n == 1 ? " entry differs" : " entries differ") +
                                  " from the solution.";
    } else if (k == '?') {
        ask_hint();
    }
    if (moved) changed();
}

ending session::run() {
    curses_session terminal;
    if (!terminal.started()) return ending::no_terminal;
    curses_canvas screen(terminal.colours());
    if (g_.rating < 0) start_rating();
    s_.finished = solved(g_);
    auto last = std::chrono::steady_clock::now();
    while (!quit_ && stop_flag == 0) {
        auto now = std::chrono::steady_clock::now();
        if (!s_.finished) {
            g_.played_ms +=
                std::chrono::duration_cast<std::chrono::milliseconds>(now - last).count();
        }
        last = now;
        if (rating_work_.finished() && rating_ >= 0) g_.rating = rating_;
        if (hint_work_.finished()) {
            if (found_any_) {
                hint_ = found_;
                s_.stage = hint_stage::named;
                s_.shown = &hint_;
            } else {
                s_.stage = hint_stage::none;
            }
        }
        erase();
        draw_screen(screen, g_, s_);
        refresh();
        // short waits while a hint thinks, so that it shows as soon as it is found; else the
        // clock's second
        timeout(s_.stage == hint_stage::thinking ? 20 : 250);
        int k = getch();
        if (k == ERR) continue;
        if (s_.stage == hint_stage::thinking) {
            hint_work_.stop();
            s_.stage = hint_stage::none;
            s_.message = "Hint stopped.";
            continue;
        }
        key(k);
    }
    hint_work_.stop();
    rating_work_.stop();
    if (s_.finished) return ending::solved;
    return quit_ ? ending::left : ending::signalled;
}

// The game to play: the one saved last, or a new one, or the saved game of the same puzzle.
// -1 when g holds it; else the exit status, with the reason on stderr.
int game_to_play(const play_start& start, game& g, bool* resumed) {
    std::string why;
    std::string path;
    if (start.resume) {
        path = latest_save();
        if (path.empty()) {
            std::fputs("verbagrid: no saved game to resume\n", stderr);
            return 1;
        }
    } else {
        g = start.fresh;
        path = save_path(g);
        if (path.empty()) return -1;
    }
    int read = read_game_file(path, g, &why);
    if (read == 2) {
        std::fprintf(stderr, "verbagrid: %s; the file is left as it is\n", why.c_str());
        return 1;
    }
    *resumed = read == 0;
    return -1;
}

// The game from start to its end, the saving included.
int run_game(const play_start& start) {
    auto g = std::make_unique<game>();
    bool resumed = false;
    int status = game_to_play(start, *g, &resumed);
    if (status >= 0) return status;
    const char* greeting = resumed ? "The saved game goes on where it was left." : "";
    ending end = std::make_unique<session>(*g, greeting)->run();
    if (end == ending::no_terminal) {
        const char* type = std::getenv("TERM");
        std::fprintf(stderr, "verbagrid: the terminal type '%s' has no description to play on\n",
                     type != nullptr ? type : "");
        return 2;
    }
    if (end == ending::solved) {
        remove_game(*g);
        std::printf("Solved in %s.\n", clock_text(g->played_ms).c_str());
        return 0;
    }
    std::string why;
    if (!write_game(*g, &why)) {
        std::fprintf(stderr, "verbagrid: the game could not be saved: %s\n", why.c_str());
        return 1;
    }
    if (end == ending::signalled) {
        std::fputs("verbagrid: interrupted; the game is saved: 'verbagrid play --resume' goes on "
                   "with it\n",
                   stderr);
        return 1;
    }
    std::puts("The game is saved: 'verbagrid play --resume' goes on with it.");
    return 0;
}

} // namespace

int play_refusal() {
    return -1;
}

int play_game(const play_start& start) {
    // out of memory, the one exception that can come: the session's destructor has given the
    // terminal back by the time it is caught here
    try {
        return run_game(start);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "verbagrid: play: %s\n", e.what());
        return 1;
    }
}
