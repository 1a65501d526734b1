// Sentence intake: checks a lower-cased sentence, gives its letters the values 1..9 in order
// of first appearance and fixes the spacing bound dist. The words for a refusal are the
// front ends' own.
#pragma once

extern int dist;             // attempts per letter and range of its random offset; set by the scan
extern int sentence_letters; // letters in the sentence last scanned, repeats counted

// Checks the first length bytes of sentence, up to its line feed: builds the alphabet, sets
// dist and sentence_letters, and returns one of the outcomes below, with the character that
// refused the sentence. On a refusal the alphabet may be partly filled.
constexpr int sentence_accepted = 0;
constexpr int sentence_bad_letter = 1;
constexpr int sentence_too_many_letters = 2;
constexpr int sentence_too_few_letters = 3;
constexpr int sentence_letter_too_often = 4; // no lay-out can hold a letter ten times
int scan_sentence(const char* sentence, int length, char* offending);
