// The composition search: lays a sentence's letters into the grid at random offsets, measures
// each complete lay-out with the solution counter, reports new lowest counts and presents
// unique starters, then prints a verdict and reseeds the generator.
#pragma once

#include <cstdint>

constexpr int max_tries = 10'000'000; // the search stops once tries exceeds this

extern int tries;             // complete lay-outs measured in this composition
extern int solved_tries;      // measured lay-outs with at least one solution (count not cut short)
extern int best_difficulty;   // highest difficulty presented in this composition; -1 = none
extern int deepest_letter;    // highest sentence position reached; each new depth is printed
extern int tries_report_step; // interval of the progress line: 10, 100, ... up to 100000
extern std::uint32_t random_state; // the generator; 1 at start-up, reseeded after a composition
extern void (*layout_probe)();     // called on each complete lay-out before it is measured; null in
                                   // the program, set by tests and benchmarks to collect candidates

int next_random(); // 0..32767

// x % d for x and d below 2^16, by a multiplication with the reciprocal instead of a division:
// the composer takes a remainder for every attempt of every letter.
constexpr std::uint32_t reciprocal_of(int d) {
    return 0xFFFFFFFFu / static_cast<std::uint32_t>(d) + 1;
}
inline int remainder_by(int x, int d, std::uint32_t reciprocal) {
    std::uint32_t fraction = reciprocal * static_cast<std::uint32_t>(x);
    return static_cast<int>(
        (static_cast<std::uint64_t>(fraction) * static_cast<std::uint32_t>(d)) >> 32);
}
void seed_random(std::uint32_t seed);

// The memo: counts of the lay-outs measured in this composition. A lay-out is fixed by its set
// of occupied cells, since the letters go in sentence order into increasing cells, so the key
// is exact. A count is kept with the bound it was taken under: best_count only falls during a
// composition, and a count cut off at a higher bound, cut off again at this one, is this
// bound's count.
constexpr int memo_bits = 16;
constexpr int memo_size = 1 << memo_bits;
// the occupied cells of the lay-out being built: cells 0..63, then 64..80
extern std::uint64_t layout_cells[2];
extern int memo_hits;           // lay-outs of this composition answered from the memo
void clear_memo();              // every composition starts with an empty memo
int recall_count();             // the lay-out's count at this bound; -1 when not known
void remember_count(int count); // a count of the lay-out, taken at this bound, not cut short

void run_composition(const char* sentence);         // the whole composition of an accepted sentence
void compose(const char* sentence, int pos, int k); // lays letter k at pos or later
void evaluate_placement();                          // measures one complete lay-out
int measure_difficulty(); // 9 minus the fullest row, column or box of the grid
void ask_more();          // leaves the answer in the stop flag: 0 go on, 1 stop
const char* verdict();    // the closing line of a composition, or null when there is none

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
};
extern const composition_news dialogue_news; // the dialogue's prints and its more? question
extern const composition_news* news;         // where the news goes: the dialogue's, unless a
                                             // command sets its own before composing
