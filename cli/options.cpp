// Options by getopt_long, permuted as GNU tools do: options and files may come in any order
// after the command, and `--` ends the options. Everything about an option is in its row of the
// table below, and --help is written from it. A fault names what was wrong, points to --help
// and leaves standard input unread.
#include "cli/options.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <getopt.h>

namespace {

// The commands an option belongs to, as bits.
constexpr unsigned for_dialogue = 1;
constexpr unsigned for_solve = 2;
constexpr unsigned for_compose = 4;
constexpr unsigned for_generate = 8;
constexpr unsigned for_play = 16;
constexpr unsigned for_commands = for_solve | for_compose | for_generate; // those that write
constexpr unsigned for_every = for_dialogue | for_commands | for_play;

unsigned bit_of(command what) {
    return what == command::solve      ? for_solve
           : what == command::compose  ? for_compose
           : what == command::generate ? for_generate
           : what == command::play     ? for_play
                                       : for_dialogue;
}

// Where an option's line goes in --help.
enum class section { solve, compose, generate, play, rated, common };

// A value's parser: true when the text is a good value, stored into o.
using value_parser = bool (*)(const char* text, options& o);

struct option_row {
    const char* name;         // the long name, without the dashes
    char letter;              // the short name, or 0
    const char* value;        // what the value is called in --help; null: it takes none
    unsigned commands;        // the commands it belongs to
    value_parser parse;       // its value into o; a flag's sets it
    const char* expected;     // what a good value looks like, for a complaint
    const char* conflicts[4]; // options it cannot go with (long names), or nulls
    section where;
    const char* help; // its text in --help; a line feed goes on under the description column
};

// A whole decimal number from low to high, or false.
bool parse_number(const char* text, long long low, long long high, long long* value) {
    if (*text < '0' || *text > '9') return false;
    errno = 0;
    char* end = nullptr;
    long long n = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || n < low || n > high) return false;
    *value = n;
    return true;
}

template <long long low, long long high> bool parse_int(const char* text, int* into) {
    long long n = 0;
    if (!parse_number(text, low, high, &n)) return false;
    *into = static_cast<int>(n);
    return true;
}

// A rating written with at most one decimal, as tenths; false when it is not one.
bool parse_tenths(const char* text, const char* end, int* tenths) {
    int whole = 0;
    int digits = 0;
    for (; text < end && *text >= '0' && *text <= '9'; ++text, ++digits) {
        whole = 10 * whole + (*text - '0');
        if (whole > 200) return false;
    }
    if (digits == 0) return false;
    *tenths = 10 * whole;
    if (text == end) return true;
    if (*text != '.' || end - text != 2 || text[1] < '0' || text[1] > '9') return false;
    *tenths += text[1] - '0';
    return true;
}

// A name among names, its place in the list stored; false when it is none of them.
template <class Choice, std::size_t n>
bool parse_name(const char* text, const char* const (&names)[n], const Choice (&choices)[n],
                Choice* into) {
    for (std::size_t i = 0; i < n; ++i) {
        if (std::strcmp(text, names[i]) == 0) {
            *into = choices[i];
            return true;
        }
    }
    return false;
}

constexpr const char* level_names[] = {"easy", "medium", "hard", "diabolical"};
constexpr level_choice level_choices[] = {level_choice::easy, level_choice::medium,
                                          level_choice::hard, level_choice::diabolical};
// The ratings of each level, in tenths: below 1.5, 2.5, 5.0, and the rest.
constexpr int level_low[] = {0, 10, 15, 25, 50};
constexpr int level_high[] = {0, 14, 24, 49, 200};

const option_row table[] = {
    {"format",
     'f',
     "FORMAT",
     for_commands,
     [](const char* t, options& o) {
         o.format_given = true;
         return format_by_name(t, &o.format);
     },
     "text, line, csv, svg or html",
     {},
     section::common,
     "text (the dialogue's boards), line, csv, svg or html"},
    {"count",
     0,
     nullptr,
     for_solve,
     [](const char*, options& o) { return o.count = true; },
     nullptr,
     {"all", "format"},
     section::solve,
     "print the number of solutions of each puzzle instead, one\na line (no --format, no --all)"},
    {"all",
     0,
     nullptr,
     for_solve,
     [](const char*, options& o) { return o.all = true; },
     nullptr,
     {},
     section::solve,
     "every solution up to --max, not only the first"},
    {"max",
     0,
     "N",
     for_solve,
     [](const char* t, options& o) { return parse_int<1, 1000000>(t, &o.max); },
     "a number from 1 to 1000000",
     {},
     section::solve,
     "solutions counted or listed per puzzle (default 10)"},
    {"grade",
     0,
     nullptr,
     for_solve,
     [](const char*, options& o) { return o.grade = true; },
     nullptr,
     {"explain", "hint", "count", "all"},
     section::solve,
     "rate each puzzle by the techniques a person needs to solve it:\nthe rating (1.0 to 11, "
     "20.0 beyond the techniques known) and\nthe level (easy, medium, hard, diabolical)"},
    {"explain",
     0,
     nullptr,
     for_solve,
     [](const char*, options& o) { return o.explain = true; },
     nullptr,
     {"hint", "count", "all"},
     section::solve,
     "the steps of that rating, one by one, in the puzzle's symbols"},
    {"hint",
     0,
     nullptr,
     for_solve,
     [](const char*, options& o) { return o.hint = true; },
     nullptr,
     {"count", "all"},
     section::solve,
     "only the first of those steps"},
    {"starters",
     0,
     "N",
     for_compose,
     [](const char* t, options& o) { return parse_int<1, 1000000>(t, &o.starters); },
     "a number from 1 to 1000000",
     {},
     section::compose,
     "stop after the N-th starter"},
    {"count",
     0,
     "N",
     for_generate,
     [](const char* t, options& o) { return parse_int<1, 1000000>(t, &o.puzzles); },
     "a number from 1 to 1000000",
     {},
     section::generate,
     "this many puzzles (default 1)"},
    {"letters",
     0,
     "NINE",
     for_generate | for_play,
     [](const char* t, options& o) {
         int seen = 0;
         bool good = std::strlen(t) == 9;
         for (int i = 0; good && i < 9; ++i) {
             char c = t[i] >= 'A' && t[i] <= 'Z' ? static_cast<char>(t[i] + 32) : t[i];
             good = c >= 'a' && c <= 'z' && (seen & (1 << (c - 'a'))) == 0;
             if (good) seen |= 1 << (c - 'a');
         }
         o.letters = t;
         return good;
     },
     "nine different letters",
     {"sentence"},
     section::generate,
     "in these nine letters instead of the digits 1 to 9"},
    {"symmetry",
     0,
     "KIND",
     for_generate | for_play,
     [](const char* t, options& o) {
         static constexpr const char* names[] = {"none", "rotate180", "mirror"};
         static constexpr symmetry kinds[] = {symmetry::none, symmetry::rotate180,
                                              symmetry::mirror};
         return parse_name(t, names, kinds, &o.symmetry_kind);
     },
     "none, rotate180 or mirror",
     {"sentence"},
     section::generate,
     "none (default), rotate180 or mirror; a given goes only\nwith its image, so a puzzle is "
     "minimal in pairs"},
    {"sentence",
     0,
     "TEXT",
     for_play,
     [](const char* t, options& o) {
         o.sentence = t;
         return *t != '\0';
     },
     "a sentence",
     {},
     section::play,
     "play a starter composed from TEXT (as compose does)"},
    {"number",
     0,
     "N",
     for_play,
     [](const char* t, options& o) { return parse_int<1, 1000000>(t, &o.number); },
     "a number from 1 to 1000000",
     {"sentence", "resume"},
     section::play,
     "play the N-th puzzle of FILE (default 1)"},
    {"resume",
     0,
     nullptr,
     for_play,
     [](const char*, options& o) { return o.resume = true; },
     nullptr,
     {"sentence", "letters", "level", "rating"},
     section::play,
     "go on with the game saved last"},
    {"seed",
     0,
     "N",
     for_compose | for_generate | for_play,
     [](const char* t, options& o) {
         long long n = 0;
         if (!parse_number(t, 0, 4294967295LL, &n)) return false;
         o.seed = static_cast<std::uint32_t>(n);
         o.seed_given = true;
         return true;
     },
     "a number from 0 to 4294967295",
     {},
     section::rated,
     "start the generator at N (default 1, where the dialogue's\nfirst composition starts; "
     "play: a new one each time)"},
    {"level",
     0,
     "LEVEL",
     for_compose | for_generate | for_play,
     [](const char* t, options& o) {
         if (!parse_name(t, level_names, level_choices, &o.level)) return false;
         o.rating_low = level_low[static_cast<int>(o.level)];
         o.rating_high = level_high[static_cast<int>(o.level)];
         return true;
     },
     "easy, medium, hard or diabolical",
     {"rating"},
     section::rated,
     "keep the puzzles of a level: easy (below 1.5), medium\n(below 2.5), hard (below 5.0) or "
     "diabolical"},
    {"rating",
     0,
     "MIN-MAX",
     for_compose | for_generate | for_play,
     [](const char* t, options& o) {
         const char* dash = std::strchr(t, '-');
         const char* end = t + std::strlen(t);
         // a range must hold a rating the scale gives: 1.0 and up, 20.0 at most
         return dash != nullptr && parse_tenths(t, dash, &o.rating_low) &&
                parse_tenths(dash + 1, end, &o.rating_high) && o.rating_low <= o.rating_high &&
                o.rating_high >= 10 && o.rating_low <= 200;
     },
     "MIN-MAX, ratings from 1.0 to 20.0 such as 2.5-4.0",
     {},
     section::rated,
     "keep the puzzles rated from MIN to MAX, such as 2.5-4.0"},
    {"quiet",
     'q',
     nullptr,
     for_compose | for_generate | for_play,
     [](const char*, options& o) { return o.quiet = true; },
     nullptr,
     {},
     section::rated,
     "no progress line on standard error"},
    {"output",
     'o',
     "FILE",
     for_commands,
     [](const char* t, options& o) {
         o.output = t;
         return *t != '\0';
     },
     "a file name",
     {},
     section::common,
     "write to FILE, whole or not at all, instead of standard output"},
    {"jobs",
     'j',
     "N",
     for_every,
     [](const char* t, options& o) { return parse_int<1, 256>(t, &o.jobs); },
     "a number from 1 to 256",
     {},
     section::common,
     "counting threads (default: one per core); the same output"},
    {"caption",
     0,
     "WHAT",
     for_commands,
     [](const char* t, options& o) {
         static constexpr const char* names[] = {"letters", "sentence", "none"};
         static constexpr caption_choice choices[] = {
             caption_choice::letters, caption_choice::sentence, caption_choice::none};
         o.caption_given = true;
         return parse_name(t, names, choices, &o.caption);
     },
     "sentence, letters or none",
     {},
     section::common,
     "svg and html: sentence, letters (default) or none under a grid"},
    {"solution",
     0,
     nullptr,
     for_commands,
     [](const char*, options& o) { return o.solution = true; },
     nullptr,
     {},
     section::common,
     "svg: the solution below the puzzle"},
    {"help", 'h', nullptr, for_every, nullptr, nullptr, {}, section::common, "this text"},
    {"version", 'V', nullptr, for_every, nullptr, nullptr, {}, section::common, "the version"},
};
constexpr int row_count = sizeof table / sizeof table[0];

// getopt_long's tables, one per command, made from the rows that belong to it: an option's
// code is its row's index, past the short names.
constexpr int code_base = 256;
struct getopt_table {
    option longs[row_count + 1];
    char shorts[3 * row_count + 2];
};

getopt_table table_for(command what) {
    getopt_table t{};
    int n = 0;
    int s = 0;
    t.shorts[s++] = ':';
    for (int i = 0; i < row_count; ++i) {
        const option_row& row = table[i];
        if ((row.commands & bit_of(what)) == 0 && row.letter != 'h' && row.letter != 'V') continue;
        t.longs[n++] = {row.name, row.value != nullptr ? required_argument : no_argument, nullptr,
                        code_base + i};
        if (row.letter != 0) {
            t.shorts[s++] = row.letter;
            if (row.value != nullptr) t.shorts[s++] = ':';
        }
    }
    t.longs[n] = {nullptr, 0, nullptr, 0};
    t.shorts[s] = '\0';
    return t;
}

// The row of a short name, for any command; -1 when there is none.
int row_of_letter(char letter, command what) {
    for (int i = 0; i < row_count; ++i) {
        if (table[i].letter == letter &&
            ((table[i].commands & bit_of(what)) != 0 || letter == 'h' || letter == 'V')) {
            return i;
        }
    }
    return -1;
}

// Text from the command line as a message may show it: control bytes as \xHH.
std::string shown(const std::string& text) {
    std::string out;
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

int usage_error(const std::string& what) {
    std::fprintf(stderr, "verbagrid: %s (try 'verbagrid --help')\n", what.c_str());
    return 2;
}

const char* command_name(command what) {
    return what == command::solve      ? "solve"
           : what == command::compose  ? "compose"
           : what == command::generate ? "generate"
           : what == command::play     ? "play"
                                       : "verbagrid";
}

// The row an option of any command has under this name, for a complaint; -1 when none has.
int row_named(const std::string& name) {
    for (int i = 0; i < row_count; ++i) {
        if (name == table[i].name) return i;
    }
    return -1;
}

// What is wrong with an option getopt_long refused, named as the user wrote it.
std::string complaint_about(const char* written, command what) {
    std::string arg = written;
    if (arg.rfind("--", 0) == 0) {
        std::string name = arg.substr(0, arg.find('='));
        int row = row_named(name.substr(2));
        if (row >= 0 && (table[row].commands & bit_of(what)) == 0) {
            return "option '" + name + "' does not apply to " + command_name(what);
        }
        if (row >= 0) return "option '" + name + "' takes no value";
        return "unknown option '" + shown(name) + "'";
    }
    if (optopt > ' ' && optopt <= '~') {
        int row = row_of_letter(static_cast<char>(optopt), command::dialogue);
        for (int i = 0; row < 0 && i < row_count; ++i) {
            if (table[i].letter == optopt) row = i;
        }
        if (row >= 0) {
            return "option '-" + std::string(1, static_cast<char>(optopt)) +
                   "' does not apply to " + command_name(what);
        }
        return "unknown option '-" + std::string(1, static_cast<char>(optopt)) + "'";
    }
    return "unknown option '" + shown(arg) + "'";
}

// The option named so, as the user would write it.
std::string written(int row) {
    return std::string("--") + table[row].name;
}

} // namespace

int parse_options(int argc, char** argv, options* parsed) {
    // the command comes first; without one, only the program's own options may follow
    int first = 1;
    if (argc > 1 && std::strcmp(argv[1], "solve") == 0) parsed->what = command::solve;
    if (argc > 1 && std::strcmp(argv[1], "compose") == 0) parsed->what = command::compose;
    if (argc > 1 && std::strcmp(argv[1], "generate") == 0) parsed->what = command::generate;
    if (argc > 1 && std::strcmp(argv[1], "play") == 0) parsed->what = command::play;
    command what = parsed->what;
    if (what != command::dialogue) first = 2;
    getopt_table t = table_for(what);
    bool given[row_count] = {};
    opterr = 0; // the complaints are this program's own, one line each
    optind = 1;
    // argv from the command on: getopt_long takes its first entry as the program's name
    int count = argc - first + 1;
    char** args = argv + first - 1;
    for (;;) {
        int index = -1;
        int code = getopt_long(count, args, t.shorts, t.longs, &index);
        if (code == -1) break;
        if (code == '?') return usage_error(complaint_about(args[optind - 1], what));
        if (code == ':') {
            // some C libraries say a value is missing for --count=3
            const char* text = args[optind - 1];
            if (std::strncmp(text, "--", 2) == 0 && std::strchr(text, '=') != nullptr) {
                return usage_error(complaint_about(text, what));
            }
            int row = optopt >= code_base ? optopt - code_base
                                          : row_of_letter(static_cast<char>(optopt), what);
            return usage_error(
                "option '" +
                (row >= 0 ? written(row) : std::string("-") + static_cast<char>(optopt)) +
                "' needs a value");
        }
        int row =
            code >= code_base ? code - code_base : row_of_letter(static_cast<char>(code), what);
        if (row < 0) return usage_error(complaint_about(args[optind - 1], what));
        const option_row& o = table[row];
        if ((o.commands & bit_of(what)) == 0) {
            return usage_error("option '" + written(row) + "' does not apply to " +
                               command_name(what));
        }
        given[row] = true;
        if (o.parse != nullptr && !o.parse(optarg, *parsed)) {
            return usage_error("bad value '" + std::string(optarg) + "' for '" + written(row) +
                               "': " + o.expected);
        }
    }
    for (int i = optind; i < count; ++i) parsed->operands.emplace_back(args[i]);
    if (given[row_named("help")]) {
        parsed->what = command::help;
        return -1;
    }
    if (given[row_named("version")]) {
        parsed->what = command::version;
        return -1;
    }
    // the conflicts the table names, each pair once
    for (int i = 0; i < row_count; ++i) {
        for (const char* other : table[i].conflicts) {
            if (other == nullptr || !given[i]) continue;
            for (int k = 0; k < row_count; ++k) {
                if (given[k] && k != i && std::strcmp(table[k].name, other) == 0) {
                    return usage_error("option '" + written(i) + "' cannot go with '" + written(k) +
                                       "'");
                }
            }
        }
    }
    if (what == command::dialogue && !parsed->operands.empty()) {
        return usage_error("unknown command '" + parsed->operands[0] + "'");
    }
    if (what == command::generate && !parsed->operands.empty()) {
        return usage_error("generate takes no operand, not '" + parsed->operands[0] + "'");
    }
    if (what == command::play && parsed->operands.size() > 1) {
        return usage_error("play takes one file or puzzle, not also '" + parsed->operands[1] + "'");
    }
    if (what == command::play && given[row_named("number")] && parsed->operands.empty()) {
        return usage_error("option '--number' goes with a FILE");
    }
    if (what == command::play && !parsed->operands.empty()) {
        for (const char* generated :
             {"sentence", "letters", "level", "rating", "symmetry", "resume"}) {
            if (given[row_named(generated)]) {
                return usage_error("option '--" + std::string(generated) +
                                   "' makes a new puzzle: it cannot go with a file or a puzzle");
            }
        }
    }
    if (what == command::compose && parsed->operands.size() != 1) {
        if (parsed->operands.empty()) return usage_error("compose needs a sentence");
        return usage_error("compose takes one sentence, not also '" + parsed->operands[1] + "'");
    }
    // what a format does not print is refused, not passed over in silence
    bool rated = parsed->grade || parsed->explain || parsed->hint;
    if (rated && (parsed->format == output_format::svg || parsed->format == output_format::html ||
                  (parsed->format == output_format::line && !parsed->grade))) {
        return usage_error(parsed->grade ? "'--grade' writes text, line or csv"
                                         : "'--explain' and '--hint' write text or csv");
    }
    if (parsed->caption == caption_choice::sentence && what != command::compose) {
        return usage_error(
            "'--caption sentence' goes with compose: only a composed puzzle has one");
    }
    bool printable = parsed->format == output_format::svg || parsed->format == output_format::html;
    if (parsed->caption_given && !printable) {
        return usage_error("option '--caption' goes with '--format svg' or '--format html'");
    }
    if (parsed->solution && parsed->format != output_format::svg) {
        return usage_error("option '--solution' goes with '--format svg'");
    }
    return -1;
}

namespace {

// One option's lines in --help: its names and value in a column of 21, then its text.
void print_option(const option_row& o) {
    char names[64];
    std::snprintf(names, sizeof names, "%s%c%s--%s%s%s", o.letter != 0 ? "-" : " ",
                  o.letter != 0 ? o.letter : ' ', o.letter != 0 ? ", " : "  ", o.name,
                  o.value != nullptr ? " " : "", o.value != nullptr ? o.value : "");
    std::printf("  %-21s", names);
    for (const char* line = o.help; line != nullptr;) {
        const char* end = std::strchr(line, '\n');
        int length =
            end != nullptr ? static_cast<int>(end - line) : static_cast<int>(std::strlen(line));
        std::printf("%s%.*s\n", line == o.help ? "" : "                       ", length, line);
        line = end != nullptr ? end + 1 : nullptr;
    }
}

void print_section(section where) {
    for (const option_row& o : table) {
        if (o.where == where) print_option(o);
    }
}

} // namespace

void print_help() {
    std::fputs(
        "Usage: verbagrid [--jobs N]             the dialogue: compose or solve at the console\n"
        "       verbagrid solve [OPTION]... [FILE]...\n"
        "       verbagrid compose [OPTION]... SENTENCE\n"
        "       verbagrid generate [OPTION]...\n"
        "       verbagrid play [OPTION]... [FILE | PUZZLE]\n"
        "\n"
        "solve reads puzzles from the FILEs, or from standard input when there are none or a\n"
        "FILE is '-': one line of 81 cells, or nine lines of nine. A cell is a digit 1 to 9, a\n"
        "letter, or '.', '0', '-' or '_' when empty. Blank lines and lines starting with '#'\n"
        "go between puzzles, not inside a group of nine rows. It prints the first solution\n"
        "of each puzzle, under it.\n",
        stdout);
    print_section(section::solve);
    std::fputs(
        "\ncompose turns SENTENCE (about thirty letters, exactly nine distinct) into starters\n"
        "that spell it, as the dialogue does when every 'more?' is answered yes.\n",
        stdout);
    print_section(section::compose);
    std::fputs("\ngenerate makes random puzzles with one solution and no given too many.\n",
               stdout);
    print_section(section::generate);
    std::fputs(
        "\nplay is a game at the terminal: the first puzzle of FILE, or PUZZLE written as 81\n"
        "cells, or a new puzzle (--level, --letters), or a starter of --sentence. A game left\n"
        "unfinished is saved, and goes on when the same puzzle is played again or with\n"
        "--resume. Keys: arrows, or h j k l, move; a symbol enters it; space, backspace,\n"
        "delete or '.' clears; p pencil marks on and off, where a symbol marks or unmarks;\n"
        "u undo; r or Ctrl-R redo; c marks entries that differ from the solution; ? a hint\n"
        "(again: the step in words; again: it is carried out); q or Ctrl-C quits. Where a\n"
        "letter of these is a symbol of the puzzle, it enters the symbol, and the command is\n"
        "on Ctrl with it (Ctrl-P, Ctrl-U, Ctrl-R, Ctrl-E for c, Ctrl-C for q; the arrows\n"
        "for h j k l). The mouse selects a cell where the terminal reports it.\n",
        stdout);
    print_section(section::play);
    std::fputs("\ncompose, generate and play:\n", stdout);
    print_section(section::rated);
    std::fputs("\nsolve, compose and generate (--jobs, --help and --version: play too):\n", stdout);
    print_section(section::common);
    std::fputs(
        "\nExit status: 0 done, 1 a puzzle was malformed or had no solution, no starter was\n"
        "found, a game could not be saved, or a signal stopped the run, 2 bad usage (or\n"
        "play without a terminal).\n",
        stdout);
}

void print_version() {
    std::fputs("verbagrid 1.5\n", stdout);
}

std::vector<std::string> option_summaries() {
    std::vector<std::string> lines;
    for (const option_row& o : table) {
        std::string line = std::string("--") + o.name;
        if (o.value != nullptr) line += std::string(" ") + o.value;
        line += ":";
        for (command what : {command::solve, command::compose, command::generate, command::play}) {
            if ((o.commands & bit_of(what)) != 0) line += std::string(" ") + command_name(what);
        }
        lines.push_back(line);
    }
    return lines;
}
