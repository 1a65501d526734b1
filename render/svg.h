// Printable puzzles: a grid as a standalone SVG document sized in millimetres, and a sheet of
// grids as one self-contained HTML file for a browser to print on A4. Text from the user goes
// in escaped.
#pragma once

#include <string>
#include <vector>

// One puzzle as printed: its cells, givens and solution, with the symbol of each value as it
// was when the puzzle was read or composed (each puzzle of a file has its own letters).
struct printed_puzzle {
    int cells[81];
    int givens[81];
    int solution[81];     // all zero when the puzzle has no solution
    int value_letter[10]; // the letter of each value, as the puzzle's alphabet had it; 0: none
    int difficulty;
    int rating = -1;      // the rater's, in tenths; -1 when not rated
    std::string sentence; // empty for a puzzle that was read
};

enum class caption_kind { sentence, letters, none };

// &, <, >, " and ' as XML entities; control bytes and bytes outside ASCII as '?'.
std::string xml_escaped(const std::string& text);

// The caption under a grid: the sentence in capitals, or the puzzle's letters in alphabetical
// order (so that their order gives nothing away), or nothing.
std::string caption_of(const printed_puzzle& p, caption_kind kind);

// A standalone SVG document: the grid, givens as centred bold capitals, cells of 15 mm, the
// caption under it, and with the solution the solution grid below, solved cells lighter.
std::string svg_document(const printed_puzzle& p, caption_kind kind, bool with_solution);

// An HTML sheet: one puzzle a page with its difficulty and caption, then the solutions
// together on the last pages, four a page.
std::string html_sheet(const std::vector<printed_puzzle>& puzzles, caption_kind kind);
