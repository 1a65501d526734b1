// Words for steps. A step is data; the words are made here from what it holds: its units, its
// values, its cells, what it places and what it removes.
#include "render/steps.h"

#include "core/grid.h"
#include "core/text.h"

#include <bit>
#include <cstdio>

namespace {

std::string symbol(int v) {
    char c = value_letter[v] != 0 ? to_upper(static_cast<char>(value_letter[v]))
                                  : static_cast<char>('0' + v);
    return std::string(1, c);
}

std::string cell_name(int cell) {
    char name[32];
    std::snprintf(name, sizeof name, "r%dc%d", row_of[cell] + 1, col_of[cell] + 1);
    return name;
}

std::string unit_name(int unit) {
    return std::string(unit_kind(unit)) + " " + std::to_string(unit % 9 + 1);
}

// "A", "A or B", "A, B or C"
std::string values_text(int values, const char* last) {
    std::string text;
    int left = std::popcount(static_cast<unsigned>(values));
    for (int v = 1; v <= 9; ++v) {
        if ((values & value_bit[v]) == 0) continue;
        text += symbol(v);
        --left;
        if (left > 1) text += ", ";
        if (left == 1) text += std::string(" ") + last + " ";
    }
    return text;
}

// "r1c1", "r1c1 and r1c2", "r1c1, r1c2 and r1c3"
std::string cells_text(const int* cells, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += cell_name(cells[i]);
        if (i + 2 < count) text += ", ";
        if (i + 2 == count) text += " and ";
    }
    return text;
}

// The removals, by cell: "r5c7 cannot be A or S, and r5c8 cannot be B".
std::string removed_words(const step& s) {
    int cells[729];
    int count = 0;
    for (int i = 0; i < s.removed_count; ++i) {
        bool seen = false;
        for (int k = 0; k < count; ++k) seen |= cells[k] == s.removed_cell[i];
        if (!seen) cells[count++] = s.removed_cell[i];
    }
    // one value throughout: "r5c7 and r5c8 cannot be S"
    bool one_value = true;
    for (int i = 1; i < s.removed_count; ++i) one_value &= s.removed_value[i] == s.removed_value[0];
    if (one_value && s.removed_count > 0) {
        return cells_text(cells, count) + " cannot be " + symbol(s.removed_value[0]);
    }
    std::string text;
    for (int k = 0; k < count; ++k) {
        int values = 0;
        for (int i = 0; i < s.removed_count; ++i) {
            if (s.removed_cell[i] == cells[k]) values |= value_bit[s.removed_value[i]];
        }
        if (k > 0) text += k + 1 == count ? ", and " : ", ";
        text += cell_name(cells[k]) + " cannot be " + values_text(values, "or");
    }
    return text;
}

std::string placed_words(const step& s) {
    std::string text;
    for (int i = 0; i < s.placed_count; ++i) {
        if (i > 0) text += ", and ";
        text += cell_name(s.placed_cell[i]) + " is " + symbol(s.placed_value[i]);
    }
    return text;
}

// A direct step's conclusion: the single its removals leave, in a box or in a line.
std::string leaves_words(const step& s, bool in_box) {
    if (s.placed_count == 0) return "";
    return ", which leaves " + cell_name(s.placed_cell[0]) + " the only place for " +
           symbol(s.placed_value[0]) + " in its " + (in_box ? "box" : "line") + ": " +
           placed_words(s);
}

// The bivalue universal grave: the cells that break the pattern of pairs, and what one
// solution asks of them.
std::string grave_words(const step& s) {
    std::string extra_cells = cells_text(s.cause, s.form == 3 ? 2 : s.cause_count);
    std::string grave =
        "every empty cell but " + extra_cells + " has two candidates, and with one solution ";
    std::string conclusion = s.placed_count > 0 ? placed_words(s) : removed_words(s);
    switch (s.form) {
    case 1:
        return grave + "only " + symbol(s.placed_value[0]) + " can break that pattern there, so " +
               conclusion;
    case 2:
        return grave + (s.cause_count == 1 ? "that cell cannot hold " : "one of them must be ") +
               values_text(s.values, s.cause_count == 1 ? "or" : "and") + ", so " + conclusion;
    case 4:
        return grave + "one of them holds a value beyond its pair; " + values_text(s.values, "or") +
               " has no other place in " + unit_name(s.unit[0]) + ", so " + conclusion;
    default:
        return grave + "one of them holds a value beyond its pair: those values and " +
               cells_text(s.cause + 2, s.cause_count - 2) + " make a naked set of " +
               values_text(s.values, "and") + " in " + unit_name(s.unit[0]) + ", so " + conclusion;
    }
}

// Where a supposition's contradiction shows.
std::string clash_words(const step& s) {
    switch (s.clash[0]) {
    case 1:
        return "make " + cell_name(s.clash[1]) + " both " + symbol(s.clash[2]) + " and not " +
               symbol(s.clash[2]);
    case 2:
        return "leave " + cell_name(s.clash[1]) + " no value";
    case 3:
        return "leave " + symbol(s.clash[2]) + " no place in " + unit_name(s.clash[1]);
    default:
        return "end in a contradiction";
    }
}

// A dynamic chain: what is supposed, what follows it, and where that ends.
std::string dynamic_words(const step& s, bool nested) {
    std::string supposed = symbol(std::countr_zero(static_cast<unsigned>(s.values >> 9)) + 1);
    std::string cell = cell_name(s.cause[0]);
    std::string what = nested ? "the singles and the simpler techniques" : "the singles";
    std::string nodes = " (" + std::to_string(s.unit[0]) + " nodes)";
    std::string conclusion = s.placed_count > 0 ? placed_words(s) : removed_words(s);
    switch (s.form) {
    case on_fails:
        return "if " + cell + " were " + supposed + ", " + what + " that follow" + nodes +
               " would " + clash_words(s) + ", so " + conclusion;
    case off_fails:
        return "if " + cell + " were not " + supposed + ", " + what + " that follow" + nodes +
               " would " + clash_words(s) + ", so " + conclusion;
    case both_ways:
        return "whether " + cell + " is " + supposed + " or not, " + what + " that follow" + nodes +
               " lead to the same end, so " + conclusion;
    case every_value:
        return "whichever value " + cell + " holds, " + what + " that follow" + nodes +
               " lead to the same end, so " + conclusion;
    default:
        return "wherever " + supposed + " goes in " + unit_name(s.unit[1]) + ", " + what +
               " that follow" + nodes + " lead to the same end, so " + conclusion;
    }
}

} // namespace

std::string rating_text(int tenths) {
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string step_words(const step& s) {
    const std::string name = technique_table[s.technique].name;
    std::string values = values_text(s.values, "and");
    if (name == "full house") {
        return cell_name(s.placed_cell[0]) + " is the last empty cell of " + unit_name(s.unit[0]) +
               ": " + symbol(s.placed_value[0]);
    }
    if (name == "hidden single") {
        return "in " + unit_name(s.unit[0]) + " only " + cell_name(s.placed_cell[0]) + " can be " +
               symbol(s.placed_value[0]);
    }
    if (name == "naked single") {
        return cell_name(s.placed_cell[0]) + " can only be " + symbol(s.placed_value[0]);
    }
    if (name.find("pointing") != std::string::npos || name.find("claiming") != std::string::npos) {
        return "in " + unit_name(s.unit[0]) + " every " + values + " lies in " +
               unit_name(s.unit[1]) + ", so " + removed_words(s) +
               leaves_words(s, name.find("pointing") != std::string::npos);
    }
    if (name.find("naked") != std::string::npos) {
        return "in " + unit_name(s.unit[0]) + " " + cells_text(s.cause, s.cause_count) +
               " hold only " + values_text(s.values, "and") + ", so " + removed_words(s);
    }
    if (name.find("hidden") != std::string::npos) {
        std::string words = "in " + unit_name(s.unit[0]) + " " + values + " fit only " +
                            cells_text(s.cause, s.cause_count) + ", so " + removed_words(s);
        if (s.placed_count > 0) {
            words += "; that leaves " + cell_name(s.placed_cell[0]) + " the only place for " +
                     symbol(s.placed_value[0]) + " in " + unit_name(s.unit[0]) + ": " +
                     placed_words(s);
        }
        return words;
    }
    if (name == "x-wing" || name == "swordfish" || name == "jellyfish") {
        const char* base = s.unit[0] == 9 ? "columns" : "rows";
        const char* cover = s.unit[0] == 9 ? "rows" : "columns";
        return "every " + values + " of the " + base + " through " +
               cells_text(s.cause, s.cause_count) + " lies in the " + cover + " through them, so " +
               removed_words(s);
    }
    if (name == "unique rectangle") {
        std::string pattern = (s.form == 4 ? "the rectangle " : "the loop ") +
                              cells_text(s.cause, s.form) + " must not come down to " +
                              values_text(s.unit[0] == 3 ? s.values >> 9 : s.values, "and") +
                              " in all its cells";
        if (s.unit[0] == 3) {
            return pattern + ": its extra values and " +
                   cells_text(s.cause + s.form, s.cause_count - s.form) + " make a naked set of " +
                   values_text(s.values & all_values, "and") + " in " + unit_name(s.unit[1]) +
                   ", so " + removed_words(s);
        }
        return pattern + ", or the puzzle would have two solutions, so " + removed_words(s);
    }
    if (name == "bivalue universal grave") {
        return grave_words(s);
    }
    if (name == "cell or region forcing chain") {
        std::string whichever =
            s.unit[1] < 0
                ? "whichever value " + cell_name(s.cause[0]) + " holds"
                : "wherever " + symbol(std::countr_zero(static_cast<unsigned>(s.values >> 9)) + 1) +
                      " goes in " + unit_name(s.unit[1]);
        return whichever + ", chains of " + std::to_string(s.unit[0]) +
               " nodes in all lead to the same end, so " +
               (s.placed_count > 0 ? placed_words(s) : removed_words(s));
    }
    if (name == "nishio") {
        return "if " + cell_name(s.removed_cell[0]) + " were " + symbol(s.removed_value[0]) +
               ", the places left for " + symbol(s.removed_value[0]) +
               ", followed as far as they go (" + std::to_string(s.unit[0]) + " nodes), would " +
               clash_words(s) + ", so " + removed_words(s);
    }
    if (name.find("dynamic") != std::string::npos || name.find("nested") != std::string::npos) {
        return dynamic_words(s, name.find("+") != std::string::npos ||
                                    name.find("nested") != std::string::npos);
    }
    if (name.find("cycle") != std::string::npos) {
        return cells_text(s.cause, s.cause_count) + " make a loop of " + std::to_string(s.unit[0]) +
               " nodes whose links alternate between strong and weak, so each weak link holds "
               "as a strong one, and " +
               removed_words(s);
    }
    if (name == "aligned pair exclusion") {
        return cell_name(s.cause[0]) + " and " + cell_name(s.cause[1]) +
               " see each other, and every way to fill them that leaves each cell they both see "
               "a candidate rules out some values, so " +
               removed_words(s);
    }
    if (name == "aligned triple exclusion") {
        return cells_text(s.cause, 3) +
               " are joined by sight, and every way to fill them that leaves each cell they see "
               "a candidate rules out some values, so " +
               removed_words(s);
    }
    if (name.find("chain") != std::string::npos) {
        int cell = s.placed_count > 0 ? s.placed_cell[0] : s.removed_cell[0];
        int v = s.placed_count > 0 ? s.placed_value[0] : s.removed_value[0];
        std::string supposed =
            cell_name(cell) + (s.placed_count > 0 ? " were not " : " were ") + symbol(v);
        return "if " + supposed + ", a chain of " + std::to_string(s.unit[0] - 1) +
               " links through " + cells_text(s.cause, s.cause_count) +
               " would lead to the opposite, so " +
               (s.placed_count > 0 ? placed_words(s) : removed_words(s));
    }
    // the wings: pivot, then the two pincers
    std::string pivot = cell_name(s.cause[0]);
    return pivot + " and the cells it sees " + cell_name(s.cause[1]) + " and " +
           cell_name(s.cause[2]) + " leave " + values + " in one of the pincers whatever " + pivot +
           " holds, so " + removed_words(s);
}

std::string placements_text(const step& s) {
    std::string text;
    for (int i = 0; i < s.placed_count; ++i) {
        if (i > 0) text += ' ';
        text += cell_name(s.placed_cell[i]) + "=" + symbol(s.placed_value[i]);
    }
    return text;
}

std::string removals_text(const step& s) {
    std::string text;
    for (int i = 0; i < s.removed_count; ++i) {
        if (i > 0) text += ' ';
        text += cell_name(s.removed_cell[i]) + "-" + symbol(s.removed_value[i]);
    }
    return text;
}
