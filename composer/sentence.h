// Sentence intake: checks a lower-cased sentence, gives its letters the values 1..9 in order
// of first appearance, fixes the spacing bound dist and prints the statistics line.
#pragma once

extern int dist; // attempts per letter and range of its random offset; set by check_sentence

// Checks the first length bytes of sentence, up to its line feed. 1 = accepted; on 0 the
// alphabet may be partly filled and the caller resets the puzzle.
int check_sentence(const char* sentence, int length);
