// The Windows program has no terminal library to play with: it says so, and where to play.
#include "play/play.h"

#include <cstdio>

int play_game(const play_start&) {
    return play_refusal();
}

int play_refusal() {
    std::fputs("verbagrid: play needs the Linux build: this Windows program solves, grades, "
               "composes and generates, but has no full-screen game\n",
               stderr);
    return 2;
}
