// The composition search: lays a sentence's letters into the grid at random offsets, measures
// each complete lay-out with the solution counter, tells its caller of new lowest counts and
// of unique starters, then of its end, and reseeds the generator. It prints nothing.
#pragma once

#include <cstdint>

constexpr int max_tries = 10'000'000; // the search stops once tries exceeds this

extern int tries;                  // complete lay-outs measured in this composition
extern int best_difficulty;        // highest difficulty presented in this composition; -1 = none
extern std::uint32_t random_state; // the generator; 1 at start-up, reseeded after a composition
extern int counting_jobs;          // threads that count a composition's lay-outs; 1: the walk's own
                                   // thread counts each as it comes. Set before composing.

void seed_random(std::uint32_t seed);

const char* verdict(); // the closing line of a composition, or null when there is none

// What a composition tells as it goes. The dialogue prints it; the compose command turns it
// into progress and starters. Each is called on the composing thread, in walk order.
struct composition_news {
    void (*started)();                 // the search begins
    void (*reached)(const char* rest); // a new depth: the sentence from the letter reached on
    void (*progressed)();              // tries reached a report point
    void (*improved)(int count);       // a new lowest count, at tries
    // A unique starter worth showing, in the grid with its givens flagged. Leaves the answer
    // in the stop flag, as the more? question does: 0 goes on, 1 stops.
    void (*unique)(int difficulty);
    void (*ended)(); // the search is over: the verdict
    // Every unique starter the walk meets, in the grid as above, before it is judged worth
    // showing; null where no one asks.
    void (*every_unique)(int difficulty);
};

// The whole composition of an accepted sentence, told to news as it goes.
void run_composition(const char* sentence, const composition_news& news);
