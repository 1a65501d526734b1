// Golden data: puzzles with the rating and every step the reference rater takes, in its own
// words (tests/logic/data/paths). Each puzzle must rate the same and take the same steps in
// the same order: the same technique, the same placement, the same removals.
#include "logic/rater.h"
#include "render/steps.h"

#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct path_step {
    std::string rating;
    std::string name;
    std::set<int> placed;  // cell * 10 + value
    std::set<int> removed; // likewise
    bool operator==(const path_step&) const = default;
};

struct reference_puzzle {
    std::string cells;
    std::string rating;
    std::vector<path_step> steps;
};

// "r1c2=3" or "r1c2-34 r5c6-7": each value of each cell, as cell * 10 + value.
std::set<int> cells_of(const std::string& text) {
    std::set<int> found;
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        int cell = 9 * (word[1] - '1') + (word[3] - '1');
        for (std::size_t i = 5; i < word.size(); ++i) found.insert(cell * 10 + (word[i] - '0'));
    }
    return found;
}

std::vector<reference_puzzle> read_paths(const std::string& path) {
    std::vector<reference_puzzle> puzzles;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        std::string field;
        while (std::getline(parts, field, '\t')) fields.push_back(field);
        while (fields.size() < 5) fields.emplace_back();
        if (fields[0] == "P") {
            puzzles.push_back({fields[1], fields[2], {}});
        } else if (fields[0] == "S") {
            puzzles.back().steps.push_back(
                {fields[1], fields[2], cells_of(fields[3]), cells_of(fields[4])});
        }
    }
    return puzzles;
}

// The reference's name for a step: its words for the same techniques.
std::string reference_name(const step& s) {
    static const std::map<std::string, std::string> names = {
        {"full house", "Hidden Single"},
        {"hidden single", "Hidden Single"},
        {"direct pointing", "Direct Pointing"},
        {"direct claiming", "Direct Claiming"},
        {"direct hidden pair", "Direct Hidden Pair"},
        {"naked single", "Naked Single"},
        {"direct hidden triple", "Direct Hidden Triplet"},
        {"pointing", "Pointing"},
        {"claiming", "Claiming"},
        {"naked pair", "Naked Pair"},
        {"x-wing", "X-Wing"},
        {"hidden pair", "Hidden Pair"},
        {"naked triple", "Naked Triplet"},
        {"swordfish", "Swordfish"},
        {"hidden triple", "Hidden Triplet"},
        {"xy-wing", "XY-Wing"},
        {"xyz-wing", "XYZ-Wing"},
        {"naked quad", "Naked Quad"},
        {"jellyfish", "Jellyfish"},
        {"hidden quad", "Hidden Quad"},
        {"aligned pair exclusion", "Aligned Pair Exclusion"},
        {"aligned triple exclusion", "Aligned Triplet Exclusion"},
        {"x-cycle", "Bidirectional X-Cycle"},
        {"y-cycle", "Bidirectional Y-Cycle"},
        {"xy-cycle", "Bidirectional Cycle"},
        {"turbot fish", "Turbot Fish"},
        {"forcing x-chain", "Forcing X-Chain"},
        {"forcing chain", "Forcing Chain"},
        {"nishio forcing chain", "Nishio Forcing Chains"},
        {"cell forcing chain", "Cell Forcing Chains"},
        {"region forcing chain", "Region Forcing Chains"},
        {"unique rectangle", "Unique Rectangle"},
        {"unique loop", "Unique Loop"},
        {"bivalue universal grave", "BUG"},
        {"dynamic contradiction forcing chain", "Dynamic Contradiction Forcing Chains"},
        {"dynamic double forcing chain", "Dynamic Double Forcing Chains"},
        {"dynamic cell forcing chain", "Dynamic Cell Forcing Chains"},
        {"dynamic region forcing chain", "Dynamic Region Forcing Chains"},
        {" (+)", " (+)"},
        {" (+ forcing chains)", " (+ Forcing Chains)"},
        {" (+ multiple forcing chains)", " (+ Multiple Forcing Chains)"},
    };
    std::string ours = technique_name(s);
    std::string suffix;
    if (auto type = ours.find(" type "); type != std::string::npos) {
        suffix = ours.substr(type);
        ours.resize(type);
    } else if (auto nested = ours.find(" ("); nested != std::string::npos) {
        suffix = names.at(ours.substr(nested));
        ours.resize(nested);
    }
    auto found = names.find(ours);
    return (found != names.end() ? found->second : ours) + suffix;
}

class path_recorder : public step_taker {
  public:
    bool take(const step& s, const candidate_grid&) override {
        path_step p{rating_text(tenths_of(s.rating)), reference_name(s), {}, {}};
        if (s.placed_cell >= 0) p.placed.insert(s.placed_cell * 10 + s.placed_value);
        s.removed.each([&](int cell, int v) { p.removed.insert(cell * 10 + v); });
        steps.push_back(p);
        return true;
    }
    std::vector<path_step> steps;
};

std::string words_of(const path_step& s) {
    std::string text = s.rating + " " + s.name;
    for (int c : s.placed)
        text += " r" + std::to_string(c / 90 + 1) + "c" + std::to_string(c / 10 % 9 + 1) + "=" +
                std::to_string(c % 10);
    for (int c : s.removed)
        text += " r" + std::to_string(c / 90 + 1) + "c" + std::to_string(c / 10 % 9 + 1) + "-" +
                std::to_string(c % 10);
    return text;
}

// Rates every puzzle of a file rated below `below` and counts those that part from the
// reference, naming the first step where each parts.
int parted_puzzles(const std::string& file, const std::string& below, int& rated) {
    rater r;
    int parted = 0;
    for (const reference_puzzle& p :
         read_paths(std::string(VERBAGRID_SOURCE_DIR) + "/tests/logic/data/paths/" + file)) {
        if (std::stod(p.rating) >= std::stod(below)) continue;
        int cells[81];
        for (int cell = 0; cell < 81; ++cell) {
            cells[cell] = p.cells[cell] >= '1' && p.cells[cell] <= '9' ? p.cells[cell] - '0' : 0;
        }
        path_recorder path;
        rating_outcome outcome = rate_puzzle(cells, r, &path);
        ++rated;
        std::size_t i = 0;
        while (i < p.steps.size() && i < path.steps.size() && p.steps[i] == path.steps[i]) ++i;
        if (rating_text(outcome.rating) == p.rating && i == p.steps.size() &&
            i == path.steps.size()) {
            continue;
        }
        ++parted;
        ADD_FAILURE() << file << ": " << p.cells << " rated " << rating_text(outcome.rating)
                      << ", the reference " << p.rating << "; step " << i + 1 << ": reference "
                      << (i < p.steps.size() ? words_of(p.steps[i]) : "none") << ", here "
                      << (i < path.steps.size() ? words_of(path.steps[i]) : "none");
    }
    return parted;
}

} // namespace

// Every level, from the newspapers' easiest to the hardest puzzles known that a chain nested
// in a supposition rates below 10: 1,202 puzzles.
TEST(ReferencePaths, EveryPuzzleTakesTheReferencesSteps) {
    const char* files[] = {
        "qq-simple.tsv",  "qq-easy.tsv",  "qq-intermediate.tsv", "qq-expert.tsv", "gen-easy.tsv",
        "gen-medium.tsv", "gen-hard.tsv", "gen-diabolical.tsv",  "gen-diab2.tsv", "hardest.tsv"};
    int rated = 0;
    int parted = 0;
    for (const char* file : files) parted += parted_puzzles(file, "10.0", rated);
    EXPECT_EQ(rated, 1202);
    EXPECT_EQ(parted, 0);
}
