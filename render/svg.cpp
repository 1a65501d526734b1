// Grids for paper. Lengths are millimetres throughout: the SVG's user unit is one millimetre
// (its viewBox matches its size in mm), so a cell of 15 units prints 15 mm wide, room for a
// letter written by hand. Lines are drawn thin for cells and thick for boxes, over a white
// ground; nothing depends on a font's metrics but the baseline offset of a capital.
#include "render/svg.h"

#include "logic/rater.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr double margin = 10;

std::string number(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", x);
    std::string s = text;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s;
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// The symbol of a value: its letter, or its digit where no letter holds it.
char shown_symbol(const printed_puzzle& p, int v) {
    return p.value_letter[v] != 0 ? static_cast<char>(p.value_letter[v])
                                  : static_cast<char>('0' + v);
}

// One grid at (x, y) with cells of size mm: lines, then the symbols. Givens are bold and
// black; with solved, the other cells of the solution are filled in a lighter weight and grey.
std::string grid_elements(const printed_puzzle& p, double x, double y, double size, bool solved) {
    double font = size * 0.6;
    std::string g = "<g font-size=\"" + number(font) + "\">\n";
    const int* cells = solved ? p.solution : p.cells;
    double side = 9 * size;
    for (int i = 0; i <= 9; ++i) {
        if (i % 3 == 0) continue; // box lines go on top, below
        double at = i * size;
        g += "<line x1=\"" + number(x + at) + "\" y1=\"" + number(y) + "\" x2=\"" + number(x + at) +
             "\" y2=\"" + number(y + side) + "\" stroke=\"#555\" stroke-width=\"0.3\"/>\n";
        g += "<line x1=\"" + number(x) + "\" y1=\"" + number(y + at) + "\" x2=\"" +
             number(x + side) + "\" y2=\"" + number(y + at) +
             "\" stroke=\"#555\" stroke-width=\"0.3\"/>\n";
    }
    for (int i = 0; i <= 9; i += 3) {
        double at = i * size;
        g += "<line x1=\"" + number(x + at) + "\" y1=\"" + number(y - 0.5) + "\" x2=\"" +
             number(x + at) + "\" y2=\"" + number(y + side + 0.5) +
             "\" stroke=\"#000\" stroke-width=\"1\"/>\n";
        g += "<line x1=\"" + number(x - 0.5) + "\" y1=\"" + number(y + at) + "\" x2=\"" +
             number(x + side + 0.5) + "\" y2=\"" + number(y + at) +
             "\" stroke=\"#000\" stroke-width=\"1\"/>\n";
    }
    for (int cell = 0; cell < 81; ++cell) {
        int v = cells[cell];
        if (v == 0) continue;
        bool is_given = p.givens[cell] != 0;
        double cx = x + (cell % 9 + 0.5) * size;
        // a capital's middle sits about 0.36 em above its baseline
        double baseline = y + (cell / 9 + 0.5) * size + 0.36 * font;
        g += "<text x=\"" + number(cx) + "\" y=\"" + number(baseline) + "\"" +
             (is_given ? " font-weight=\"bold\" fill=\"#000\""
                       : " font-weight=\"normal\" fill=\"#777\"") +
             ">" + xml_escaped(std::string(1, upper(shown_symbol(p, v)))) + "</text>\n";
    }
    return g + "</g>\n";
}

std::string caption_element(const std::string& caption, double x, double y, double size) {
    if (caption.empty()) return "";
    return "<text x=\"" + number(x) + "\" y=\"" + number(y) + "\" font-size=\"" + number(size) +
           "\" font-weight=\"normal\">" + xml_escaped(caption) + "</text>\n";
}

constexpr const char* font_family = "DejaVu Sans, Liberation Sans, Arial, Helvetica, sans-serif";

// A whole <svg> element, standalone or inline in HTML.
std::string svg_element(const printed_puzzle& p, caption_kind kind, bool with_solution, double cell,
                        bool standalone) {
    double side = 9 * cell;
    double width = side + 2 * margin;
    double caption_y = margin + side + 10;
    double height = caption_y + 6;
    double solution_cell = cell * 0.6;
    if (with_solution) height += 4 + 9 * solution_cell + 4;
    std::string svg;
    if (standalone) svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + number(width) +
           "mm\" height=\"" + number(height) + "mm\" viewBox=\"0 0 " + number(width) + " " +
           number(height) + "\" font-family=\"" + font_family + "\" text-anchor=\"middle\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
    svg += grid_elements(p, margin, margin, cell, false);
    svg += caption_element(caption_of(p, kind), width / 2, caption_y, 5);
    if (with_solution) {
        double x = (width - 9 * solution_cell) / 2;
        svg += grid_elements(p, x, caption_y + 6, solution_cell, true);
    }
    return svg + "</svg>\n";
}

} // namespace

std::string xml_escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c >= ' ' && c <= '~' ? c : '?';
        }
    }
    return out;
}

std::string caption_of(const printed_puzzle& p, caption_kind kind) {
    if (kind == caption_kind::none) return "";
    if (kind == caption_kind::sentence && !p.sentence.empty()) {
        std::string words;
        for (char c : p.sentence) words += upper(c);
        return words;
    }
    std::string symbols;
    for (int v = 1; v <= 9; ++v) symbols += upper(shown_symbol(p, v));
    std::sort(symbols.begin(), symbols.end());
    std::string caption;
    for (char c : symbols) {
        if (!caption.empty()) caption += ' ';
        caption += c;
    }
    return caption;
}

std::string svg_document(const printed_puzzle& p, caption_kind kind, bool with_solution) {
    return svg_element(p, kind, with_solution, 15, true);
}

std::string html_sheet(const std::vector<printed_puzzle>& puzzles, caption_kind kind) {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>Verbagrid puzzles</title>\n<style>\n"
        "@page { size: A4; margin: 15mm; }\n"
        "body { margin: 0; font-family: 'DejaVu Sans', 'Liberation Sans', Arial, sans-serif; }\n"
        ".page { break-after: page; page-break-after: always; text-align: center; }\n"
        ".page:last-child { break-after: auto; page-break-after: auto; }\n"
        "h1 { font-size: 14pt; margin: 0 0 6mm; }\n"
        "p { font-size: 12pt; margin: 2mm 0; }\n"
        ".solutions { display: grid; grid-template-columns: 1fr 1fr; gap: 4mm; }\n"
        "svg { display: block; margin: 0 auto; }\n"
        "</style>\n</head>\n<body>\n";
    int number_of = 0;
    for (const printed_puzzle& p : puzzles) {
        ++number_of;
        html += "<section class=\"page\">\n<h1>Puzzle " + std::to_string(number_of) + "</h1>\n";
        html += svg_element(p, caption_kind::none, false, 15, false);
        html += "<p>difficulty " + std::to_string(p.difficulty);
        if (p.rating >= 0) {
            html += ", rating " + std::to_string(p.rating / 10) + "." +
                    std::to_string(p.rating % 10) + " (" + level_of(p.rating) + ")";
        }
        html += "</p>\n";
        std::string caption = caption_of(p, kind);
        if (!caption.empty()) html += "<p>" + xml_escaped(caption) + "</p>\n";
        html += "</section>\n";
    }
    for (std::size_t first = 0; first < puzzles.size(); first += 4) {
        html += "<section class=\"page\">\n<h1>Solutions</h1>\n<div class=\"solutions\">\n";
        for (std::size_t i = first; i < puzzles.size() && i < first + 4; ++i) {
            printed_puzzle solved = puzzles[i];
            std::copy(solved.solution, solved.solution + 81, solved.cells);
            html += "<div>\n<p>Puzzle " + std::to_string(i + 1) + "</p>\n";
            // two grids of 87.5 mm and the gap fit the 180 mm that A4 leaves inside its
            // margins: wider, and the browser would shrink every page to fit
            html += svg_element(solved, caption_kind::none, false, 7.5, false);
            html += "</div>\n";
        }
        html += "</div>\n</section>\n";
    }
    return html + "</body>\n</html>\n";
}
