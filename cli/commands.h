// The commands beside the dialogue. Each returns the process's exit status: 0 done, 1 a
// puzzle or a search failed, 2 bad usage.
#pragma once

#include "cli/options.h"

int run_command_line(int argc, char** argv); // parses, then runs the command or the dialogue
int run_solve(const options& given);
int run_compose(const options& given);
