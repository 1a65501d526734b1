// Verbagrid: letter sudoku at the console. With no arguments, the dialogue; with a command
// (solve, compose, generate) or an option, the command line; play, the game, once the command
// line has found its puzzle. This is the one place that knows all three.
#include "cli/commands.h"
#include "console/modes.h"
#include "play/play.h"

#include <cstdio>

int main(int argc, char** argv) {
    options parsed;
    int status = parse_options(argc, argv, &parsed);
    if (status >= 0) return status;
    if (parsed.what == command::play) {
        play_start start;
        status = play_refusal();
        if (status < 0) status = prepare_play(parsed, &start);
        return status >= 0 ? status : play_game(start);
    }
    if (parsed.what != command::dialogue) return run_command(parsed);
    dialogue_settings settings;
    settings.jobs = jobs_wanted(parsed);
    status = run_program(settings);
    // the dialogue's stdout is unbuffered: a failed write has set the error flag by now
    if (std::ferror(stdout)) {
        std::fputs("verbagrid: standard output: a write failed\n", stderr);
        return 1;
    }
    return status;
}
