// A game of one puzzle as a person plays it: the givens and the solution, the values entered
// and the pencil marks, the history that undo and redo walk, and the time played. Every change
// of an entry or a mark is part of a move in the history, so undo reaches each one, and a move
// that changes nothing is not made.
#pragma once

#include <string>
#include <vector>

struct cell_state {
    int entry = 0; // the value entered, 1..9; 0 for none
    int marks = 0; // the values pencilled in, as value bits

    bool operator==(const cell_state&) const = default;
};

// One cell's change; a move is one or more of them, undone and redone together.
struct cell_change {
    int cell;
    cell_state before;
    cell_state after;
};
using game_move = std::vector<cell_change>;

struct game {
    int given[81] = {};            // the givens' values, 0 for an open cell
    int solution[81] = {};         // the one solution
    cell_state cells[81];          // the player's entries and marks; none on a given
    int value_letter[10] = {};     // the symbol byte of each value; 0: the value's digit
    std::vector<game_move> done;   // undo takes back the last
    std::vector<game_move> undone; // redo makes the last again; a new move forgets them
    long long played_ms = 0;       // time played, over every session
    int rating = -1;               // in tenths; -1 until the rater has said
    int cursor = 40;               // the cell the player is at, kept across sessions
    std::string origin;            // where the puzzle came from, for the title: a file's name,
                                   // "generated", a sentence
};

// What a game starts from: a new game of a puzzle, or the last game saved.
struct play_start {
    bool resume = false;
    game fresh; // when not resuming: the puzzle, its solution, symbols and origin
};

// Sets up a new game: the givens (0 for open cells), their solution, and the symbols. False,
// with nothing changed, when the solution does not complete the givens as a sudoku.
bool start_game(game& g, const int* givens, const int* solution, const int* letters);

// The value a cell shows: its given or its entry, 0 for none.
inline int value_at(const game& g, int cell) {
    return g.given[cell] != 0 ? g.given[cell] : g.cells[cell].entry;
}

// The moves a player makes. Each returns false, and changes nothing, where it would change
// nothing (a given, the value already there, nothing to undo).
bool enter_value(game& g, int cell, int v);  // replaces the cell's marks
bool clear_cell(game& g, int cell);          // its entry, or else its marks
bool toggle_mark(game& g, int cell, int v);  // only where nothing is entered
bool make_move(game& g, const game_move& m); // several cells at once, as one move
bool undo(game& g);
bool redo(game& g);

// The entries that differ from the solution, in cells (81 at most); returns their number.
int wrong_entries(const game& g, int* cells);
// The open cells whose marks leave out the solution's value, though they have some.
int wrong_marks(const game& g, int* cells);
bool solved(const game& g); // every cell holds the solution's value

// The symbol a value shows as: its letter, upper case, or its digit.
char symbol_of(const game& g, int v);
// The value a typed key enters, 0 for none: a letter of the alphabet in either case, or a
// digit when the puzzle is in digits.
int value_of_key(const game& g, int key);
