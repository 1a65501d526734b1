// The composer's side of the dialogue: the sentence's statistics line and refusals, the lines
// a composition prints as it goes, the presented starters and the more? question.
#pragma once

#include "composer/compose.h"

// Checks the first length bytes of a lower-cased sentence, up to its line feed, builds the
// alphabet of p, and prints the statistics line (unless a character refused the sentence) and
// the reason of a refusal. The spacing the sentence allows when accepted; -1 when refused, and
// the alphabet may be partly filled.
int check_sentence(puzzle& p, const char* sentence, int length);

// The dialogue's prints and its more? question, for a composition.
class dialogue_news : public composition_news {
  public:
    void started() override;
    void reached(const char* rest) override;
    void progressed(const composition& c) override;
    void improved(const composition& c, int count) override;
    bool unique(const composition& c, const puzzle& p, int difficulty) override;
    void ended(const composition& c) override;

    bool in_reading_order = false; // the presented starter's solution counted the plain way
};

// The more? question: true goes on. An interrupt while it waits ends the composition after the
// answer being typed, unless that answer is a yes.
bool ask_more();
