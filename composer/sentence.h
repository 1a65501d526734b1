// Sentence intake: checks a lower-cased sentence, gives its letters the values 1..9 in order
// of first appearance and fixes the spacing bound dist. The words for a refusal are the
// front ends' own.
#pragma once

#include "core/grid.h"

constexpr int sentence_accepted = 0;
constexpr int sentence_bad_letter = 1;
constexpr int sentence_too_many_letters = 2;
constexpr int sentence_too_few_letters = 3;
constexpr int sentence_letter_too_often = 4; // no lay-out can hold a letter ten times

struct sentence_scan {
    int verdict;    // one of the outcomes above
    char offending; // the character that refused the sentence
    int letters;    // letters in the sentence, repeats counted
    int dist;       // attempts per letter and range of its random offset
};

// Checks the first length bytes of sentence, up to its line feed, and builds the alphabet of
// p from it. On a refusal the alphabet may be partly filled.
sentence_scan scan_sentence(puzzle& p, const char* sentence, int length);
