// The rater's steps in words a person can follow, in the puzzle's own symbols (upper case),
// cells named r5c4 (row 5, column 4), boxes numbered 1 to 9 in reading order.
#pragma once

#include "logic/rating.h"

#include <string>

std::string rating_text(int tenths);        // "2.6"
std::string step_words(const step& s);      // what the step sees and what it concludes
std::string placements_text(const step& s); // "r1c2=A r3c4=B"
std::string removals_text(const step& s);   // "r1c2-A r3c4-B"
