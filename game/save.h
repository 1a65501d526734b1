// A game as text, to be saved between sessions and read back whole: the puzzle, the solution,
// the symbols, every entry and mark, the undo and redo history, the time played. The first
// line names the format and its version; the last is "end", so a file cut short is refused.
#pragma once

#include "game/game.h"

#include <string>

std::string save_text(const game& g);
// Reads a saved game into g. False, with the line and the reason in why and g unchanged, when
// the text is not a saved game this version can read, or holds anything out of range.
bool read_save(const std::string& text, game& g, std::string* why);
// A name for the puzzle's save file: the same puzzle in the same symbols gives the same name.
std::string save_name(const game& g);
