// The composer's side of the dialogue: the sentence's statistics line and refusals, the lines
// a composition prints as it goes, the presented starters and the more? question.
#pragma once

#include "composer/compose.h"

// Checks the first length bytes of a lower-cased sentence, up to its line feed, and prints
// the statistics line (unless a character refused the sentence) and the reason of a refusal.
// 1 = accepted; on 0 the alphabet may be partly filled and the caller resets the puzzle.
int check_sentence(const char* sentence, int length);

extern const composition_news dialogue_news; // the dialogue's prints and its more? question

void ask_more(); // leaves the answer in the stop flag: 0 go on, 1 stop
