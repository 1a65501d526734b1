#include "cli/options.h"

#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>

namespace {

// The options the manual page lists, as "--name: commands" or "--name VALUE: commands", the
// value written N whatever its name, the commands those its entry names in brackets.
std::set<std::string> manual_options() {
    std::ifstream file(std::string(VERBAGRID_SOURCE_DIR) + "/doc/verbagrid.6");
    std::string line;
    std::string previous;
    bool in_options = false;
    std::set<std::string> found;
    std::string entry;
    auto finish = [&](const std::string& commands) {
        if (!entry.empty()) found.insert(entry + ":" + commands);
        entry.clear();
    };
    while (std::getline(file, line)) {
        if (line.rfind(".SH", 0) == 0) {
            finish("");
            in_options = line == ".SH OPTIONS";
        } else if (in_options && previous == ".TP") {
            finish("");
            std::size_t at = line.find("\\-\\-");
            std::size_t end = line.find_first_of(" \"", at);
            entry = "--" + line.substr(at + 4, end - at - 4);
            if (line.find("\\fI", end) != std::string::npos) entry += " N";
        } else if (in_options && !entry.empty() && line.rfind(".RB (", 0) == 0) {
            std::string commands;
            for (const char* name : {"solve", "compose", "generate", "play"}) {
                if (line.find(name) != std::string::npos) commands += std::string(" ") + name;
            }
            finish(commands);
        }
        previous = line;
    }
    finish("");
    return found;
}

} // namespace

// Every option of the table is in the manual page with the commands it belongs to, and the
// manual lists no option the table does not have: the one table decides both.
TEST(Options, TheManualListsTheTablesOptions) {
    std::set<std::string> table;
    for (std::string summary : option_summaries()) {
        // a value of any name is N; --help and --version belong to no command
        std::size_t space = summary.find(' ');
        std::size_t colon = summary.find(':');
        if (space < colon) summary = summary.substr(0, space) + " N" + summary.substr(colon);
        if (summary.rfind("--help", 0) == 0 || summary.rfind("--version", 0) == 0) {
            summary = summary.substr(0, summary.find(':') + 1);
        }
        table.insert(summary);
    }
    EXPECT_EQ(manual_options(), table);
}

// A typed value from its parser; a conflict the table names is refused.
TEST(Options, ValuesAreTypedAndConflictsRefused) {
    const char* level[] = {"verbagrid", "generate", "--level", "hard", "--symmetry", "mirror"};
    options o;
    ASSERT_EQ(parse_options(6, const_cast<char**>(level), &o), -1);
    EXPECT_EQ(o.level, level_choice::hard);
    EXPECT_EQ(o.rating_low, 25);
    EXPECT_EQ(o.rating_high, 49);
    EXPECT_EQ(o.symmetry_kind, symmetry::mirror);
    const char* play[] = {"verbagrid", "play", "--sentence", "oldsailors", "--level", "easy"};
    options p;
    ASSERT_EQ(parse_options(6, const_cast<char**>(play), &p), -1);
    EXPECT_EQ(p.what, command::play);
    EXPECT_EQ(p.sentence, "oldsailors");
    EXPECT_EQ(p.rating_high, 14);
    EXPECT_FALSE(p.seed_given) << "a game's puzzle is new each time unless --seed is given";
    const char* caption[] = {"verbagrid", "compose", "-f", "svg", "--caption", "sentence", "x"};
    options c;
    ASSERT_EQ(parse_options(7, const_cast<char**>(caption), &c), -1);
    EXPECT_EQ(c.caption, caption_choice::sentence);
    const struct {
        int argc;
        const char* argv[6];
    } refused[] = {
        {5, {"verbagrid", "solve", "--grade", "--explain", "f"}},
        {6, {"verbagrid", "generate", "--level", "easy", "--rating", "2-3"}},
        {4, {"verbagrid", "generate", "--rating", "20.1-30"}},
        {4, {"verbagrid", "compose", "--count", "3"}},
        // play: a new puzzle's options go with no file, --number with one, --resume alone
        {5, {"verbagrid", "play", "--level", "hard", "puzzles.txt"}},
        {4, {"verbagrid", "play", "--number", "2"}},
        {5, {"verbagrid", "play", "--resume", "--sentence", "oldsailors"}},
        {4, {"verbagrid", "play", "a.txt", "b.txt"}},
        {4, {"verbagrid", "play", "--format", "line"}},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(std::string(r.argv[1]) + " " + r.argv[2]);
        options refused_options;
        testing::internal::CaptureStderr();
        EXPECT_EQ(parse_options(r.argc, const_cast<char**>(r.argv), &refused_options), 2);
        EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    }
}
