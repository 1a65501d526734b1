// The command line: `verbagrid solve [FILE...]`, `verbagrid compose SENTENCE`, `verbagrid
// generate` and `verbagrid play`, each with its options; with no command at all, the dialogue.
// Every option is one row of a table: its names, the commands it belongs to, the parser of its
// value into a typed one, the options it cannot go with, and its line in --help. Parsed with
// getopt_long, GNU style.
#pragma once

#include "composer/generate.h"
#include "render/formats.h"

#include <cstdint>
#include <string>
#include <vector>

enum class command { dialogue, solve, compose, generate, play, help, version };
enum class caption_choice { letters, sentence, none };
enum class level_choice { any, easy, medium, hard, diabolical };

struct options {
    command what = command::dialogue;
    output_format format = output_format::text;
    bool format_given = false;
    std::string output;                     // -o FILE; empty: standard output
    bool count = false;                     // solve: numbers of solutions only
    bool all = false;                       // solve: every solution up to max, not only the first
    bool grade = false;                     // solve: the rating and level of each puzzle
    bool explain = false;                   // solve: the rater's steps in words or csv rows
    bool hint = false;                      // solve: the first of those steps
    int max = 10;                           // solve: solutions counted or listed per puzzle
    std::uint32_t seed = 1;                 // compose, generate, play: the generator's first state
    bool seed_given = false;                // play: without it, a new puzzle each time
    int starters = 0;                       // compose: stop after this many; 0 = no limit
    level_choice level = level_choice::any; // compose, generate: the level kept
    int rating_low = -1; // compose, generate: the ratings kept, in tenths; -1: any
    int rating_high = -1;
    int puzzles = 1;                         // generate: how many
    std::string letters;                     // generate: the nine letters, or digits when empty
    symmetry symmetry_kind = symmetry::none; // generate
    bool quiet = false;                      // compose, generate: no progress line
    int jobs = 0; // counting threads; 0 = one per core the process may use
    caption_choice caption = caption_choice::letters; // svg, html: what goes under a grid
    bool caption_given = false;
    bool solution = false;             // svg: the solution below the puzzle
    std::string sentence;              // play: compose a starter of it
    bool resume = false;               // play: the game saved last
    int number = 1;                    // play: which puzzle of the file
    std::vector<std::string> operands; // solve: the files; compose: the sentence; play: a
                                       // file or a puzzle
};

// Parses argv. Returns -1 when the parse succeeded, else the exit status after printing the
// one-line complaint on stderr.
int parse_options(int argc, char** argv, options* parsed);

void print_help();    // the usage, on stdout, from the table
void print_version(); // the version line, on stdout

// The table's options as a manual page lists them: for each, its names, its value and the
// commands it belongs to, one a line ("--max N: solve"). For the test that holds the manual
// page to the table.
std::vector<std::string> option_summaries();
