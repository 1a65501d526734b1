// The commands beside the dialogue. Each returns the process's exit status: 0 done, 1 a
// puzzle or a search failed, 2 bad usage.
#pragma once

#include "cli/options.h"
#include "game/game.h"
#include "render/svg.h"

int run_command(const options& parsed); // help, version, solve or compose
int run_solve(const options& given);
int run_compose(const options& given);
int run_generate(const options& given);
bool rating_wanted(const options& o, int rating); // in --level or --rating, if given
// The first starter of o.sentence rated as o asks: -1 when found, else the exit status, with
// the reason on stderr.
int compose_first(const options& o, printed_puzzle* found);
// What play starts from, made from its options: -1 when the game can start, else the exit
// status, with the reason on stderr. The game itself is above the command line.
int prepare_play(const options& o, play_start* start);

int jobs_wanted(const options& parsed); // --jobs, or one per core the process may use
// A signal stopped the command: says so on stderr and returns its exit status, 1. What the
// command finished is written to standard output; a file named with -o is left as it was.
int interrupted();
// Flushes stdout; false, with the reason on stderr, when a write to it has failed.
bool stdout_written();
