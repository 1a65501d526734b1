// Words for steps, made from the step's shape: what it sees and why that holds, then what it
// places or removes, so that a person can check it on paper. Values in the puzzle's symbols.
#include "render/steps.h"

#include "core/grid.h"
#include "core/text.h"
#include "logic/chains.h"

#include <cstdio>

namespace {

std::string symbol(const int* letters, int v) {
    char c = letters[v] != 0 ? to_upper(static_cast<char>(letters[v])) : static_cast<char>('0' + v);
    return std::string(1, c);
}

std::string unit_name(int unit) {
    const char* kind = unit < 9 ? "row " : unit < 18 ? "column " : "box ";
    return kind + std::to_string(unit % 9 + 1);
}

// "A", "A and B", "A, B and C" (or "or")
template <class Item> std::string listed(int count, const char* last, Item item) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += item(i);
        if (i + 2 < count) text += ", ";
        if (i + 2 == count) text += std::string(" ") + last + " ";
    }
    return text;
}

std::string values_text(const int* letters, int values, const char* last = "and") {
    int v[9];
    int n = 0;
    for (int value = 1; value <= 9; ++value) {
        if ((values & value_bit[value]) != 0) v[n++] = value;
    }
    return listed(n, last, [&](int i) { return symbol(letters, v[i]); });
}

std::string cells_text(const int* cells, int count, const char* last = "and") {
    return listed(count, last, [&](int i) { return cell_name(cells[i]); });
}

// The cells of a region at a set of positions.
std::string positions_text(int unit, int positions) {
    int cells[9];
    int n = 0;
    for (int i = 0; i < 9; ++i) {
        if ((positions >> i & 1) != 0) cells[n++] = unit_cell[unit][i];
    }
    return cells_text(cells, n);
}

// Lines by number: "rows 1 and 7".
std::string lines_text(bool columns, int lines) {
    int n[9];
    int count = 0;
    for (int i = 0; i < 9; ++i) {
        if ((lines >> i & 1) != 0) n[count++] = i + 1;
    }
    std::string kind = columns ? "column" : "row";
    return kind + (count > 1 ? "s " : " ") +
           listed(count, "and", [&](int i) { return std::to_string(n[i]); });
}

// What a step removes, by cell: "r5c7 cannot be A or S, and r5c8 cannot be B"; one value
// throughout: "r5c7 and r5c8 cannot be S".
std::string removed_words(const int* letters, const step& s) {
    int cells[81];
    int values[81];
    int count = 0;
    s.removed.each([&](int cell, int v) {
        if (count == 0 || cells[count - 1] != cell) {
            cells[count] = cell;
            values[count++] = 0;
        }
        values[count - 1] |= value_bit[v];
    });
    bool one_value = true;
    for (int i = 1; i < count; ++i) one_value = one_value && values[i] == values[0];
    if (one_value && count > 0 && count_of(values[0]) == 1) {
        return cells_text(cells, count) + " cannot be " + values_text(letters, values[0]);
    }
    std::string text;
    for (int k = 0; k < count; ++k) {
        if (k > 0) text += k + 1 == count ? ", and " : ", ";
        text += cell_name(cells[k]) + " cannot be " + values_text(letters, values[k], "or");
    }
    return text;
}

std::string placed_words(const int* letters, const step& s) {
    return cell_name(s.placed_cell) + " is " + symbol(letters, s.placed_value);
}

std::string conclusion(const int* letters, const step& s) {
    return s.placed_cell >= 0 ? placed_words(letters, s) : removed_words(letters, s);
}

std::string node_words(const int* letters, int node) {
    return cell_name(node_cell(node)) + (node_on(node) ? " is " : " is not ") +
           symbol(letters, node_value(node));
}

// A static chain, node by node from its start: "r1c1 is A, then r1c5 is not A, r3c5 is A and
// r3c1 is not A"; one too long to follow is given by its ends.
std::string chain_words(const int* letters, const chain_shape& c) {
    if (c.length > max_chain_nodes) {
        return node_words(letters, c.nodes[0]) + ", then through " + std::to_string(c.length - 2) +
               " more links " + node_words(letters, c.nodes[max_chain_nodes - 1]);
    }
    std::string text = node_words(letters, c.nodes[0]) + ", then ";
    for (int i = 1; i < c.length; ++i) {
        if (i > 1) text += i + 1 == c.length ? " and " : ", ";
        text += node_words(letters, c.nodes[i]);
    }
    return text;
}

std::string loop_words(const int* letters, const step& s, const loop_shape& l) {
    int cells[32];
    int n = l.size < 32 ? l.size : 32;
    for (int i = 0; i < n; ++i) cells[i] = l.cells[i];
    std::string pattern = (l.size == 4 ? "the rectangle " : "the loop ") + cells_text(cells, n) +
                          " must not come down to " +
                          values_text(letters, value_bit[l.v1] | value_bit[l.v2]) +
                          " alone, or the two could swap and the puzzle would have two solutions";
    switch (l.type) {
    case 1:
        return pattern + "; only one of its cells holds more, so that cell is neither: " +
               removed_words(letters, s);
    case 2:
        return pattern + "; every cell of it that holds more holds " + symbol(letters, l.extra) +
               ", so one of them is " + symbol(letters, l.extra) + ", and " +
               removed_words(letters, s);
    case 4:
        return pattern + "; in " + unit_name(l.unit) + " " + symbol(letters, l.extra) +
               " has no place but its two cells with more, so one of them is " +
               symbol(letters, l.extra) +
               " and neither can be the other value: " + removed_words(letters, s);
    default:
        if (l.hidden) {
            return pattern +
                   "; so one of its cells with more holds a value beyond the pair, and in " +
                   unit_name(l.unit) + " " + values_text(letters, l.values) + " then fit only " +
                   positions_text(l.unit, l.positions) + " besides it, so " +
                   removed_words(letters, s);
        }
        return pattern + "; so one of its cells with more holds " +
               values_text(letters, l.values & ~value_bit[l.v1] & ~value_bit[l.v2] & all_values,
                           "or") +
               ", which with " + positions_text(l.unit, l.positions) + " makes a naked set of " +
               values_text(letters, l.values) + " in " + unit_name(l.unit) + ", so " +
               removed_words(letters, s);
    }
}

std::string grave_words(const int* letters, const step& s, const grave_shape& b) {
    std::string grave = "every empty cell but " + cells_text(b.cells, b.count) +
                        " has two candidates, and every value two places or none in each region; "
                        "with one solution that cannot be all, so ";
    switch (b.type) {
    case 1:
        return grave + cell_name(b.cells[0]) + " is " + values_text(letters, b.values, "or") +
               ": " + removed_words(letters, s);
    case 2:
        return grave + "one of them is " + symbol(letters, b.extra) + ", and " +
               removed_words(letters, s);
    case 4:
        return grave + "one of them is " + values_text(letters, b.values, "or") +
               "; the two share " + unit_name(b.unit) + " and only " + symbol(letters, b.extra) +
               " besides, so each keeps only that and its own: " + removed_words(letters, s);
    default:
        return grave + "one of them is " + values_text(letters, b.values, "or") + ", which with " +
               positions_text(b.unit, b.positions) + " makes a naked set of " +
               values_text(letters, b.extra) + " in " + unit_name(b.unit) + ", so " +
               removed_words(letters, s);
    }
}

std::string clash_words(const int* letters, const dynamic_shape& d) {
    if (d.clash_cell < 0) return "a contradiction";
    return cell_name(d.clash_cell) + " both " + symbol(letters, d.clash_v) + " and not " +
           symbol(letters, d.clash_v);
}

std::string dynamic_words(const int* letters, const step& s, const dynamic_shape& d) {
    std::string what =
        d.level > 0 ? "the singles and the simpler techniques that follow"
        : d.nishio  ? "the places left for " + symbol(letters, d.v) + ", followed as far as they go"
        : d.unit >= 0 || s.id == technique::cell_forcing_chain ||
                s.id == technique::dynamic_cell_chain || s.id == technique::region_forcing_chain ||
                s.id == technique::double_chain
            ? "the chains that follow"
            : "the singles that follow";
    std::string nodes = " (" + std::to_string(d.nodes) + " nodes)";
    switch (s.id) {
    case technique::nishio:
    case technique::contradiction_chain:
        return "if " + cell_name(d.cell) + (d.on ? " were " : " were not ") + symbol(letters, d.v) +
               ", " + what + nodes + " would make " + clash_words(letters, d) + ", so " +
               conclusion(letters, s);
    case technique::double_chain:
        return "whether " + cell_name(d.cell) + " is " + symbol(letters, d.v) + " or not, " + what +
               nodes + " lead to the same end, so " + conclusion(letters, s);
    case technique::cell_forcing_chain:
    case technique::dynamic_cell_chain:
        return "whichever value " + cell_name(d.cell) + " holds, " + what + nodes +
               " lead to the same end, so " + conclusion(letters, s);
    default:
        return "wherever " + symbol(letters, d.v) + " goes in " + unit_name(d.unit) + ", " + what +
               nodes + " lead to the same end, so " + conclusion(letters, s);
    }
}

struct words_of {
    const step& s;
    const int* letters;

    std::string operator()(const single_shape& p) const {
        if (s.id == technique::naked_single) {
            return cell_name(s.placed_cell) + " can only be " + symbol(letters, s.placed_value);
        }
        if (s.id == technique::full_house) {
            return cell_name(s.placed_cell) + " is the last empty cell of " + unit_name(p.unit) +
                   ": " + symbol(letters, s.placed_value);
        }
        return "in " + unit_name(p.unit) + " only " + cell_name(s.placed_cell) + " can be " +
               symbol(letters, s.placed_value);
    }
    std::string operator()(const intersection_shape& p) const {
        std::string confined = "in " + unit_name(p.from) + " every " + symbol(letters, p.v) +
                               " lies in " + unit_name(p.to);
        if (p.single < 0) return confined + ", so " + removed_words(letters, s);
        return confined + ", so " + symbol(letters, p.v) + " cannot go elsewhere in " +
               unit_name(p.to) + ", which leaves " + cell_name(s.placed_cell) +
               " the only place for " + symbol(letters, p.v) + " in " + unit_name(p.single) + ": " +
               placed_words(letters, s);
    }
    std::string operator()(const subset_shape& p) const {
        std::string cells = positions_text(p.unit, p.positions);
        bool naked = s.id == technique::naked_pair || s.id == technique::naked_triple ||
                     s.id == technique::naked_quad;
        if (naked) {
            return "in " + unit_name(p.unit) + " " + cells + " hold only " +
                   values_text(letters, p.values) + ", so " + removed_words(letters, s);
        }
        std::string fit =
            "in " + unit_name(p.unit) + " " + values_text(letters, p.values) + " fit only " + cells;
        if (s.placed_cell < 0) return fit + ", so " + removed_words(letters, s);
        return fit + ", which leaves " + cell_name(s.placed_cell) + " the only place for " +
               symbol(letters, s.placed_value) + " in " + unit_name(p.unit) + ": " +
               placed_words(letters, s);
    }
    std::string operator()(const fish_shape& p) const {
        return "in " + lines_text(p.columns, p.base) + " every " + symbol(letters, p.v) +
               " lies in " + lines_text(!p.columns, p.cover) + ", so " + removed_words(letters, s);
    }
    std::string operator()(const wing_shape& p) const {
        int pincers[2] = {p.pincer[0], p.pincer[1]};
        std::string which = s.id == technique::xyz_wing ? "one of the three" : "one of them";
        return cell_name(p.pivot) + " sees " + cells_text(pincers, 2) + ": whatever it holds, " +
               which + " is " + symbol(letters, p.v) + ", so " + removed_words(letters, s);
    }
    std::string operator()(const loop_shape& p) const { return loop_words(letters, s, p); }
    std::string operator()(const grave_shape& p) const { return grave_words(letters, s, p); }
    std::string operator()(const exclusion_shape& p) const {
        return cells_text(p.cells, p.count) + " cannot be filled in a way that leaves " +
               cells_text(p.excluders, p.excluder_count, "or") +
               ", which they all see, no candidate, or that puts one value twice in a region; no "
               "way left needs the values removed, so " +
               removed_words(letters, s);
    }
    std::string operator()(const chain_shape& p) const {
        bool cycle =
            s.id == technique::x_cycle || s.id == technique::y_cycle || s.id == technique::xy_cycle;
        if (cycle) {
            return "the links of the loop " + chain_words(letters, p) +
                   " hold both ways round, so " + removed_words(letters, s);
        }
        return "if " + chain_words(letters, p) + ", so " + conclusion(letters, s);
    }
    std::string operator()(const dynamic_shape& p) const { return dynamic_words(letters, s, p); }
};

} // namespace

std::string cell_name(int cell) {
    char name[32];
    std::snprintf(name, sizeof name, "r%dc%d", row_of[cell] + 1, col_of[cell] + 1);
    return name;
}

std::string rating_text(int tenths) {
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string technique_name(const step& s) {
    std::string name = row_of_technique(s.id).name;
    if (const auto* loop = std::get_if<loop_shape>(&s.shape)) {
        name += " type " + std::to_string(loop->type);
    } else if (const auto* grave = std::get_if<grave_shape>(&s.shape)) {
        name += " type " + std::to_string(grave->type);
    } else if (const auto* chain = std::get_if<chain_shape>(&s.shape)) {
        if (s.id == technique::forcing_x_chain && length_steps(chain->length) == 0) {
            name = "turbot fish"; // as people name the shortest x-chains
        }
    } else if (const auto* dynamic = std::get_if<dynamic_shape>(&s.shape)) {
        name += scale.nesting[dynamic->level].suffix;
    }
    return name;
}

namespace {

// Where a step's shape sits, in a few words; empty where the shape is its cells all over.
struct place_of {
    const step& s;

    std::string operator()(const single_shape& p) const {
        return p.unit >= 0 ? "in " + unit_name(p.unit) : "in " + cell_name(s.placed_cell);
    }
    std::string operator()(const intersection_shape& p) const {
        return "in " + unit_name(p.from) + " and " + unit_name(p.to);
    }
    std::string operator()(const subset_shape& p) const { return "in " + unit_name(p.unit); }
    std::string operator()(const fish_shape& p) const {
        return "in " + lines_text(p.columns, p.base);
    }
    std::string operator()(const wing_shape& p) const { return "around " + cell_name(p.pivot); }
    std::string operator()(const loop_shape&) const { return ""; }
    std::string operator()(const grave_shape&) const { return ""; }
    std::string operator()(const exclusion_shape& p) const {
        return "on " + cells_text(p.cells, p.count);
    }
    std::string operator()(const chain_shape&) const { return ""; }
    std::string operator()(const dynamic_shape& p) const {
        if (p.unit >= 0) return "from " + unit_name(p.unit);
        return "from " + cell_name(p.cell);
    }
};

} // namespace

std::string step_title(const step& s) {
    std::string place = std::visit(place_of{s}, s.shape);
    return place.empty() ? technique_name(s) : technique_name(s) + " " + place;
}

std::string step_words(const step& s, const int* letters) {
    return std::visit(words_of{s, letters}, s.shape);
}

std::string placements_text(const step& s, const int* letters) {
    if (s.placed_cell < 0) return "";
    return cell_name(s.placed_cell) + "=" + symbol(letters, s.placed_value);
}

std::string removals_text(const step& s, const int* letters) {
    std::string text;
    s.removed.each([&](int cell, int v) {
        if (!text.empty()) text += ' ';
        text += cell_name(cell) + "-" + symbol(letters, v);
    });
    return text;
}
