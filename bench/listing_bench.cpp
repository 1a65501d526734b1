// Listing times, starter by starter, on a generated set of starters built to trap a listing
// that walks in reading order. Four families, each made from a fixed seed:
//   no_solution  a contradiction below blank rows, hidden from single-candidate rules
//                (three cells of one row or box with two values between them);
//   unique       minimal starters from random grids, bands and rows reordered so that the
//                fewest givens come first;
//   few          such starters with givens taken away until they have 2 to 10 solutions;
//   trap         solutions exist, but the first cell's smallest value leads into a hidden
//                contradiction below blank rows.
// The first two motif families are relabelled and their columns permuted, and some get a few
// givens higher up. Each listing is the solver's (bound 9, solutions printed) and is cut off
// at a time cap, so that a listing that would run for hours is still measured.
//
// Usage: listing_bench [--per-family N] [--cap-ms M] [--listings FILE]
// The table goes to stdout; the listings go to FILE (default: nowhere), each between a line
// "## FAMILY INDEX" and a line "## ok" or "## capped", so that two builds' listings can be
// compared.
//
// --starters FILE writes the starters, one a line after their "## FAMILY INDEX" line, for
// bench/compare_listing.sh to list them with an earlier release's dialogue.
#include "core/counter.h"
#include "core/grid.h"
#include "core/stop_flag.h"
#include "render/board.h"
#include "tests/harness.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/time.h>
#include <unistd.h>
#include <vector>

namespace {

using Starter = std::string; // 81 characters, '1'..'9' or '.'

puzzle p{}; // the puzzle every starter is made, counted and listed in

std::uint64_t random_bits = 0x9E3779B97F4A7C15u;

int draw(int n) { // 0..n-1
    random_bits ^= random_bits << 13;
    random_bits ^= random_bits >> 7;
    random_bits ^= random_bits << 17;
    return static_cast<int>(random_bits % static_cast<std::uint64_t>(n));
}

template <typename T> void shuffle(T* items, int n) {
    for (int i = n - 1; i > 0; --i) std::swap(items[i], items[draw(i + 1)]);
}

void clear_grid() {
    for (int cell = 0; cell < 81; ++cell) {
        if (p.grid[cell] != 0) remove_value(p, cell);
        p.given[cell] = 0;
    }
}

bool load(const Starter& s) {
    clear_grid();
    return load_starter(p, s.c_str());
}

Starter current() {
    Starter s(81, '.');
    for (int cell = 0; cell < 81; ++cell) {
        if (p.grid[cell] != 0) s[cell] = static_cast<char>('0' + p.grid[cell]);
    }
    return s;
}

// Solutions of the grid, silently, up to bound + 1.
int count(int bound) {
    counter c;
    c.best_count = bound;
    return count_solutions(p, c);
}

// Fills naked and hidden singles until none is left, on the loaded grid (the caller loads it
// again afterwards). False when they meet a cell or a value with no place left: such a
// contradiction is in plain sight, not hidden.
bool singles_see_no_contradiction() {
    for (bool changed = true; changed;) {
        changed = false;
        for (int cell = 0; cell < 81; ++cell) {
            if (p.grid[cell] != 0) continue;
            int mask = candidates(p, cell);
            if (mask == 0) return false;
            if ((mask & (mask - 1)) != 0) continue;
            int v = 1;
            while (value_bit[v] != mask) ++v;
            place_value(p, cell, v);
            changed = true;
        }
        for (int unit = 0; unit < 27; ++unit) {
            for (int v = 1; v <= 9; ++v) {
                int places = 0;
                int place = -1;
                bool present = false;
                for (int cell : unit_cell[unit]) {
                    present = present || p.grid[cell] == v;
                    if (p.grid[cell] == 0 && fits(p, cell, v)) {
                        ++places;
                        place = cell;
                    }
                }
                if (present) continue;
                if (places == 0) return false;
                if (places == 1) {
                    place_value(p, place, v);
                    changed = true;
                }
            }
        }
    }
    return true;
}

// Relabels the digits and permutes the columns (stacks, and columns within each stack).
Starter transform(const Starter& s) {
    int label[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    shuffle(label + 1, 9);
    int stack[3] = {0, 1, 2};
    shuffle(stack, 3);
    int within[3][3] = {{0, 1, 2}, {0, 1, 2}, {0, 1, 2}};
    for (auto& w : within) shuffle(w, 3);
    Starter t(81, '.');
    for (int cell = 0; cell < 81; ++cell) {
        if (s[cell] == '.') continue;
        int col = cell % 9;
        int to = 3 * stack[col / 3] + within[col / 3][col % 3];
        t[cell / 9 * 9 + to] = static_cast<char>('0' + label[s[cell] - '0']);
    }
    return t;
}

// Adds up to n givens in rows 1 to 6 wherever they fit.
Starter add_givens_above(const Starter& s, int n) {
    load(s);
    for (int added = 0, tries = 0; added < n && tries < 200; ++tries) {
        int cell = draw(54);
        int v = 1 + draw(9);
        if (p.grid[cell] != 0 || !fits(p, cell, v)) continue;
        place_value(p, cell, v);
        ++added;
    }
    return current();
}

// Bottom bands whose last rows hide a pigeonhole: three cells, two values between them.
const char* const dead_bands[] = {
    "789------------12----3456--", // three cells of one row and one box
    "78-9-------9-78----3-4-5-6-", // three cells of one row, in two boxes
    "--378-9--45---9-786--------", // three cells of one box, in two rows
};
// A bottom band where the first cell may not hold its smallest value.
const char trap_band[] = "-75-----------624---389---";

Starter with_bottom_band(const char* band) {
    Starter s(54, '.');
    for (const char* c = band; *c != 0; ++c) s += *c == '-' ? '.' : *c;
    s.resize(81, '.');
    return s;
}

std::vector<Starter> no_solution_family(int n) {
    std::vector<Starter> set;
    while (static_cast<int>(set.size()) < n) {
        Starter s = transform(with_bottom_band(dead_bands[draw(3)]));
        if (draw(2) == 0) s = add_givens_above(s, 1 + draw(4));
        load(s);
        if (count(0) == 0 && singles_see_no_contradiction()) set.push_back(s);
    }
    return set;
}

// Whether the first empty cell's smallest candidate leaves no solution, and single-candidate
// rules do not see it.
bool first_value_is_dead() {
    int cell = 0;
    while (p.grid[cell] != 0) ++cell;
    int v = 1;
    while (v <= 9 && !fits(p, cell, v)) ++v;
    if (v > 9) return false;
    place_value(p, cell, v);
    return count(0) == 0 && singles_see_no_contradiction();
}

std::vector<Starter> trap_family(int n) {
    std::vector<Starter> set;
    while (static_cast<int>(set.size()) < n) {
        Starter s = transform(with_bottom_band(trap_band));
        if (draw(2) == 0) s = add_givens_above(s, 1 + draw(3));
        load(s);
        if (count(0) == 1 && first_value_is_dead()) set.push_back(s);
    }
    return set;
}

// A random complete grid: each cell, in random order, takes a random value that still leaves
// a solution.
Starter random_grid() {
    clear_grid();
    int order[81];
    for (int i = 0; i < 81; ++i) order[i] = i;
    shuffle(order, 81);
    for (int cell : order) {
        if (p.grid[cell] != 0) continue;
        int values[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
        shuffle(values, 9);
        for (int v : values) {
            if (!fits(p, cell, v)) continue;
            place_value(p, cell, v);
            if (count(0) == 1) break;
            remove_value(p, cell);
        }
    }
    return current();
}

// Takes givens away, in random order, while one solution remains.
Starter minimal(const Starter& full) {
    load(full);
    int order[81];
    for (int i = 0; i < 81; ++i) order[i] = i;
    shuffle(order, 81);
    for (int cell : order) {
        int v = p.grid[cell];
        remove_value(p, cell);
        if (count(1) != 1) place_value(p, cell, v);
    }
    return current();
}

// Reorders bands, and rows within each band, so that the fewest givens come first.
Starter fewest_first(const Starter& s) {
    auto givens = [&](int row) {
        return static_cast<int>(std::count_if(s.begin() + 9 * row, s.begin() + 9 * row + 9,
                                              [](char c) { return c != '.'; }));
    };
    int bands[3] = {0, 1, 2};
    std::stable_sort(bands, bands + 3, [&](int a, int b) {
        return givens(3 * a) + givens(3 * a + 1) + givens(3 * a + 2) <
               givens(3 * b) + givens(3 * b + 1) + givens(3 * b + 2);
    });
    Starter t;
    for (int band : bands) {
        int rows[3] = {3 * band, 3 * band + 1, 3 * band + 2};
        std::stable_sort(rows, rows + 3, [&](int a, int b) { return givens(a) < givens(b); });
        for (int row : rows) t += s.substr(9 * static_cast<std::size_t>(row), 9);
    }
    return t;
}

std::vector<Starter> unique_family(int n) {
    std::vector<Starter> set;
    for (int i = 0; i < n; ++i) set.push_back(fewest_first(minimal(random_grid())));
    return set;
}

std::vector<Starter> few_family(const std::vector<Starter>& unique, int n) {
    std::vector<Starter> set;
    for (int i = 0; static_cast<int>(set.size()) < n; ++i) {
        Starter s = unique[static_cast<std::size_t>(i) % unique.size()];
        for (int taken = 0; taken < 3; ++taken) {
            int cell = draw(81);
            while (s[cell] == '.') cell = (cell + 1) % 81;
            s[cell] = '.';
            load(s);
            int found = count(10);
            if (found > 10) break;
            if (found >= 2) {
                set.push_back(s);
                break;
            }
        }
    }
    return set;
}

void on_alarm(int) {
    stop_flag = 1;
}

struct Timing {
    double micros;
    bool capped;
};

// Lists the starter as the solver does, output to the listings stream, cut off at cap_ms.
Timing list(const Starter& s, int cap_ms) {
    static solution_writer writer(stdout);
    load(s);
    counter c;
    c.show_solutions = &writer;
    stop_flag = 0;
    itimerval timer = {};
    timer.it_value.tv_sec = cap_ms / 1000;
    timer.it_value.tv_usec = cap_ms % 1000 * 1000;
    setitimer(ITIMER_REAL, &timer, nullptr);
    auto start = std::chrono::steady_clock::now();
    count_solutions(p, c);
    auto end = std::chrono::steady_clock::now();
    timer = {};
    setitimer(ITIMER_REAL, &timer, nullptr);
    bool capped = stop_flag != 0;
    stop_flag = 0;
    return {std::chrono::duration<double, std::micro>(end - start).count(), capped};
}

std::string milliseconds(double micros) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", micros / 1000.0);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    int per_family = 50;
    int cap_ms = 1000;
    const char* listings = "/dev/null";
    const char* starters = nullptr;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--per-family") == 0) per_family = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--cap-ms") == 0) cap_ms = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--listings") == 0) listings = argv[i + 1];
        if (std::strcmp(argv[i], "--starters") == 0) starters = argv[i + 1];
    }
    std::signal(SIGALRM, on_alarm);

    struct Family {
        const char* name;
        std::vector<Starter> starters;
    } families[4];
    families[0] = {"no_solution", no_solution_family(per_family)};
    families[1] = {"unique", unique_family(per_family)};
    families[2] = {"few", few_family(families[1].starters, per_family)};
    families[3] = {"trap", trap_family(per_family)};
    if (starters != nullptr) {
        std::FILE* out = std::fopen(starters, "w");
        if (out == nullptr) {
            std::perror(starters);
            return 1;
        }
        for (const Family& family : families) {
            for (std::size_t i = 0; i < family.starters.size(); ++i) {
                std::fprintf(out, "## %s %zu\n%s\n", family.name, i, family.starters[i].c_str());
            }
        }
        std::fclose(out);
    }

    // the table stays on the terminal; the listings go to their file, fully buffered so that
    // the times are the counter's and not the writes'
    std::fflush(stdout);
    int table_fd = dup(1);
    int listing_fd = open(listings, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (table_fd < 0 || listing_fd < 0 || dup2(listing_fd, 1) < 0) {
        std::perror(listings);
        return 1;
    }
    close(listing_fd);
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    std::FILE* table = fdopen(table_fd, "w");

    std::fprintf(table, "%-12s %8s %12s %12s %8s  (cap %d ms)\n", "family", "starters", "median ms",
                 "max ms", "capped", cap_ms);
    for (const Family& family : families) {
        std::vector<double> times;
        int capped = 0;
        for (std::size_t i = 0; i < family.starters.size(); ++i) {
            std::printf("## %s %zu\n", family.name, i);
            Timing t = list(family.starters[i], cap_ms);
            std::printf("## %s\n", t.capped ? "capped" : "ok");
            times.push_back(t.micros);
            capped += t.capped;
        }
        std::sort(times.begin(), times.end());
        std::fprintf(table, "%-12s %8zu %12s %12s %8d\n", family.name, times.size(),
                     milliseconds(times[times.size() / 2]).c_str(),
                     milliseconds(times.back()).c_str(), capped);
    }
    std::fflush(stdout);
    std::fclose(table);
    return 0;
}
