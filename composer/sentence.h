// Sentence intake: checks a lower-cased sentence, gives its letters the values 1..9 in order
// of first appearance, fixes the spacing bound dist and prints the statistics line.
#pragma once

#include <cstdio>

extern int dist;             // attempts per letter and range of its random offset; set by the scan
extern int sentence_letters; // letters in the sentence last scanned, repeats counted

// Checks the first length bytes of sentence, up to its line feed. 1 = accepted; on 0 the
// alphabet may be partly filled and the caller resets the puzzle. Prints the statistics line
// (unless a character refused the sentence) and the reason of a refusal.
int check_sentence(const char* sentence, int length);

// The check alone, printing nothing: builds the alphabet, sets dist and sentence_letters, and
// returns one of the outcomes below, with the character that refused the sentence.
constexpr int sentence_accepted = 0;
constexpr int sentence_bad_letter = 1;
constexpr int sentence_too_many_letters = 2;
constexpr int sentence_too_few_letters = 3;
int scan_sentence(const char* sentence, int length, char* offending);
void write_sentence_refusal(std::FILE* out, int verdict, char offending); // the dialogue's line
