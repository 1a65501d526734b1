#include "console/line_input.h"
#include "tests/support.h"

#include <string>

namespace {

// A console that ends the read once for each interrupt, as a Windows console does, and then
// delivers the typed line. The handler runs during the read, or only during the wait after it.
struct Console {
    int interrupts = 0;        // reads that an interrupt ends before the line comes
    bool handler_late = false; // the handler runs in the wait, not in the read
    int pending = 0;           // interrupts whose handler has yet to run
    std::size_t at = 0;
};
Console console;
const char typed[] = "abc\n";

int console_byte() {
    if (console.interrupts > 0) {
        --console.interrupts;
        if (console.handler_late) {
            ++console.pending;
        } else {
            on_stop_signal(SIGINT);
        }
        return EOF;
    }
    return console.at < sizeof typed - 1 ? typed[console.at++] : EOF;
}

void console_wait(std::sig_atomic_t) {
    for (; console.pending > 0; --console.pending) on_stop_signal(SIGINT);
}

} // namespace

using LineInputTest = Puzzle;

TEST_F(LineInputTest, AReadEndedByAnInterruptIsReadAgainEveryTime) {
    struct Case {
        int interrupts;
        bool late;
        int flag_before; // a first Ctrl-C has already set the flag: later ones do not change it
    } cases[] = {{1, false, 0}, {2, false, 1}, {2, true, 1}, {3, true, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.interrupts << (c.late ? " late" : ""));
        console = Console{c.interrupts, c.late};
        stop_flag = c.flag_before;
        char line[12];
        EXPECT_EQ(read_line_from(line, sizeof line, console_byte, console_wait), 4);
        EXPECT_EQ(std::string(line), typed);
        EXPECT_EQ(stop_flag, 1);
        // input that ends with no interrupt is the end of input
        EXPECT_EQ(read_line_from(line, sizeof line, console_byte, console_wait), 0);
    }
}

// The handler installs itself again for the signal it caught: every later interrupt is caught.
TEST_F(LineInputTest, TheStopHandlerStaysInstalled) {
    on_stop_signal(SIGINT);
    EXPECT_EQ(std::signal(SIGINT, SIG_DFL), on_stop_signal);
}
