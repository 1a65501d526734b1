// Fuzz entry for files of puzzles: the input bytes are a file that `verbagrid solve` reads
// from standard input. The first byte picks the output (line, csv, text, counts, every
// solution), so that each path of the command meets every input. Nothing may crash or report.
#include "cli/commands.h"
#include "core/stop_flag.h"
#include "tests/harness.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    options o;
    o.jobs = 1;
    if (size > 0) {
        int pick = data[0] % 5;
        o.format = pick == 0   ? output_format::csv
                   : pick == 1 ? output_format::text
                               : output_format::line;
        o.count = pick == 3;
        o.all = pick == 4;
        o.max = 1 + data[0] / 5 % 12;
    }
    feed_stdin(data, size);
    int saved = divert_stdout();
    stop_flag = 0;
    run_solve(o);
    restore_stdout(saved);
    return 0;
}
