// Every file of a series is written under its temporary name first; only when all of them are
// written are they renamed into place, the first last, so that a full disk leaves no series
// without its head.
#include "cli/printed_output.h"

#include <cstdio>
#include <memory>

bool write_printed(output_file& output, const options& o, const std::vector<printed_puzzle>& pages,
                   caption_kind caption, const char* what) {
    // nothing to print leaves a file named with -o as it was: no empty sheet in its place
    if (pages.empty()) {
        std::fprintf(stderr, "verbagrid: no %s to print\n", what);
        return false;
    }
    if (o.format == output_format::html) {
        std::fputs(html_sheet(pages, caption).c_str(), output.stream());
        return output.commit();
    }
    std::fputs(svg_document(pages[0], caption, o.solution).c_str(), output.stream());
    if (pages.size() > 1 && !output.is_file()) {
        std::fprintf(stderr, "verbagrid: an SVG holds one %s; -o FILE writes all %zu\n", what,
                     pages.size());
    }
    std::vector<std::unique_ptr<output_file>> rest;
    for (std::size_t i = 1; i < pages.size() && output.is_file(); ++i) {
        rest.push_back(std::make_unique<output_file>());
        output_file& file = *rest.back();
        if (!file.open(numbered_name(o.output, static_cast<int>(i) + 1))) return false;
        std::fputs(svg_document(pages[i], caption, o.solution).c_str(), file.stream());
        if (!file.written()) return false;
    }
    if (!output.written()) return false;
    for (auto& file : rest) {
        if (!file->commit()) return false;
    }
    return output.commit();
}
