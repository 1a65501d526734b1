// The rater's steps in words a person can follow, in the puzzle's own symbols (upper case),
// cells named r5c4 (row 5, column 4), boxes numbered 1 to 9 in reading order.
#pragma once

#include "logic/scale.h"

#include <string>

std::string rating_text(int tenths);       // "2.6"
std::string cell_name(int cell);           // "r5c4"
std::string technique_name(const step& s); // "unique rectangle type 2", "turbot fish"
// The name and where to look, without giving the step away: "hidden single in box 4".
std::string step_title(const step& s);
// The rest in the symbols of an alphabet (a puzzle's value_letter; digits where it has none).
std::string step_words(const step& s, const int* letters);      // what it sees and concludes
std::string placements_text(const step& s, const int* letters); // "r1c2=A"
std::string removals_text(const step& s, const int* letters);   // "r1c2-A r3c4-B"
