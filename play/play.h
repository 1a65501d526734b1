// verbagrid play: the game at the terminal, full screen, until it is solved or the player
// leaves; a game left unfinished is saved, also on SIGINT, SIGTERM and SIGHUP, and the terminal
// is given back as it was on every way out. Returns the exit status.
#pragma once

#include "game/game.h"

int play_game(const play_start& start);
// -1 where the game can be played; else the exit status, with the reason on stderr, before
// anything is made to play.
int play_refusal();
