// The rater: the techniques are tried in a fixed order on the grid of candidates, the first
// step of the first technique that finds one is applied, and the search starts again from the
// top; the rating is the highest rating of the steps applied, or 20.0 when they cannot finish
// the puzzle.
#pragma once

#include "logic/chains.h"
#include "logic/scale.h"

#include <atomic>

// What a rater needs besides the puzzle: the room its chains search in, made when a puzzle
// first needs a chain. One per thread.
struct rater {
    chain_room room;
    const std::atomic<bool>* cancel = nullptr; // a search stops once it turns true; null: the
                                               // stop flag, which belongs to the program's thread
};

// Where each step goes as the rater takes it, with the candidates it was found in; false stops
// the rating there.
class step_taker {
  public:
    virtual bool take(const step& s, const candidate_grid& before) = 0;

  protected:
    ~step_taker() = default;
};

struct rating_outcome {
    int rating;   // in tenths; scale.unfinished when the techniques ran out
    int steps;    // steps applied
    bool stopped; // a signal or the cancel ended the rating: the rest means nothing
    step hardest; // the step that gave the rating, when steps > 0
};

// The first step the techniques find in g, in s; false when none does, or when the search was
// cut short (see rater_stopped).
bool first_step(const candidate_grid& g, rater& r, step& s);

// Whether the rater's cancel, or without one a signal, has ended its searches.
bool rater_stopped(const rater& r);

// Rates the puzzle whose filled cells are cells (each counts as a given). The stop flag or the
// rater's cancel ends a rating at once, long chains included.
rating_outcome rate_puzzle(const int* cells, rater& r, step_taker* take = nullptr);
