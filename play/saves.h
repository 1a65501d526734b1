// Games saved between sessions: one file a puzzle, in $XDG_STATE_HOME/verbagrid (by default
// ~/.local/state/verbagrid), written under a temporary name beside it and renamed over it, so
// that a file is always a whole game, the old one or the new.
#pragma once

#include "game/game.h"

#include <string>

// The folder, or empty when neither XDG_STATE_HOME (an absolute path) nor HOME is set.
std::string save_folder();
std::string save_path(const game& g); // the puzzle's file in the folder; empty without one
// Writes the game to its file, making the folder where it is missing. False, with the reason
// in why, when it cannot: the old file, if any, is then as it was.
bool write_game(const game& g, std::string* why);
// Reads a saved game: 0 read into g, 1 there is no such file, 2 it cannot be read or is
// damaged (why says how; the file is left where it is).
int read_game_file(const std::string& path, game& g, std::string* why);
// The file of the game saved last; empty when there is none.
std::string latest_save();
void remove_game(const game& g); // a solved game's file, which nothing will resume
