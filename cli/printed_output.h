// Printable output of the commands: an HTML sheet of every puzzle, or SVG grids, one a file.
// The first SVG goes to the output; with -o FILE the others go to files numbered after it
// (card.svg, card-2.svg, ...), and the series appears whole or not at all.
#pragma once

#include "cli/options.h"
#include "cli/output_file.h"
#include "render/svg.h"

#include <vector>

// Writes the puzzles to output in o's printable format and commits every file. what names a
// puzzle in the messages ("starter", "puzzle"). False, with the reason on stderr, when there is
// no puzzle to print or a file could not be written: then none of them is.
bool write_printed(output_file& output, const options& o, const std::vector<printed_puzzle>& pages,
                   caption_kind caption, const char* what);
