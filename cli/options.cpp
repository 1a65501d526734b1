// Options by getopt_long, permuted as GNU tools do: options and files may come in any order
// after the command, and `--` ends the options. A fault names what was wrong, points to
// --help and leaves standard input unread.
#include "cli/options.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <getopt.h>

namespace {

enum : int {
    opt_count = 256,
    opt_all,
    opt_max,
    opt_seed,
    opt_starters,
    opt_caption,
    opt_solution,
    opt_grade,
    opt_explain,
    opt_hint,
    opt_level,
    opt_rating,
    opt_puzzles,
    opt_letters,
    opt_symmetry,
};

const option long_options[] = {
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {"format", required_argument, nullptr, 'f'},
    {"output", required_argument, nullptr, 'o'},
    {"quiet", no_argument, nullptr, 'q'},
    {"jobs", required_argument, nullptr, 'j'},
    {"count", no_argument, nullptr, opt_count},
    {"all", no_argument, nullptr, opt_all},
    {"max", required_argument, nullptr, opt_max},
    {"seed", required_argument, nullptr, opt_seed},
    {"starters", required_argument, nullptr, opt_starters},
    {"caption", required_argument, nullptr, opt_caption},
    {"solution", no_argument, nullptr, opt_solution},
    {"grade", no_argument, nullptr, opt_grade},
    {"explain", no_argument, nullptr, opt_explain},
    {"hint", no_argument, nullptr, opt_hint},
    {"level", required_argument, nullptr, opt_level},
    {"rating", required_argument, nullptr, opt_rating},
    {"letters", required_argument, nullptr, opt_letters},
    {"symmetry", required_argument, nullptr, opt_symmetry},
    {nullptr, 0, nullptr, 0},
};

// generate counts puzzles, not solutions: there --count takes the number wanted
option generate_options[sizeof long_options / sizeof long_options[0]];
const option* table = long_options; // the table of the command being parsed

void choose_table(command what) {
    table = long_options;
    if (what != command::generate) return;
    int i = 0;
    for (const option& o : long_options) {
        generate_options[i] = o;
        if (o.name != nullptr && std::strcmp(o.name, "count") == 0) {
            generate_options[i] = {"count", required_argument, nullptr, opt_puzzles};
        }
        ++i;
    }
    table = generate_options;
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

// The name of an option as the user would write it.
std::string option_name(int code) {
    for (const option* o = table; o->name != nullptr; ++o) {
        if (o->val == code) return std::string("--") + o->name;
    }
    return std::string("-") + static_cast<char>(code);
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

// Which command each option belongs to; the dialogue takes --jobs alone.
bool applies(int code, command what) {
    switch (code) {
    case 'h':
    case 'V':
        return true;
    case 'j':
        return true;
    case 'f':
    case 'o':
    case opt_caption:
    case opt_solution:
        return what != command::dialogue;
    case 'q':
    case opt_seed:
    case opt_level:
    case opt_rating:
        return what == command::compose || what == command::generate;
    case opt_starters:
        return what == command::compose;
    case opt_puzzles:
    case opt_letters:
    case opt_symmetry:
        return what == command::generate;
    case opt_count:
    case opt_all:
    case opt_max:
    case opt_grade:
    case opt_explain:
    case opt_hint:
        return what == command::solve;
    default:
        return false;
    }
}

// What is wrong with an option getopt_long refused, named as the user wrote it.
std::string complaint_about(const char* written) {
    std::string arg = written;
    if (arg.rfind("--", 0) == 0) {
        std::string name = arg.substr(0, arg.find('='));
        for (const option* o = table; o->name != nullptr; ++o) {
            if (name == std::string("--") + o->name) return "option '" + name + "' takes no value";
        }
        return "unknown option '" + shown(name) + "'";
    }
    if (optopt > ' ' && optopt <= '~') {
        return "unknown option '-" + std::string(1, static_cast<char>(optopt)) + "'";
    }
    return "unknown option '" + shown(arg) + "'";
}

const char* command_name(command what) {
    return what == command::solve      ? "solve"
           : what == command::compose  ? "compose"
           : what == command::generate ? "generate"
                                       : "verbagrid";
}

} // namespace

int parse_options(int argc, char** argv, options* parsed) {
    // the command comes first; without one, only the program's own options may follow
    int first = 1;
    if (argc > 1 && std::strcmp(argv[1], "solve") == 0) parsed->what = command::solve;
    if (argc > 1 && std::strcmp(argv[1], "compose") == 0) parsed->what = command::compose;
    if (argc > 1 && std::strcmp(argv[1], "generate") == 0) parsed->what = command::generate;
    choose_table(parsed->what);
    if (parsed->what != command::dialogue) first = 2;
    bool help = false;
    bool version = false;
    opterr = 0; // the complaints are this program's own, one line each
    optind = 1;
    // argv from the command on: getopt_long takes its first entry as the program's name
    int count = argc - first + 1;
    char** args = argv + first - 1;
    for (;;) {
        int index = -1;
        int code = getopt_long(count, args, ":hVf:o:qj:", table, &index);
        if (code == -1) break;
        if (code == '?') return usage_error(complaint_about(args[optind - 1]));
        if (code == ':') {
            // some C libraries say a value is missing for --count=3
            const char* written = args[optind - 1];
            if (std::strncmp(written, "--", 2) == 0 && std::strchr(written, '=') != nullptr) {
                return usage_error(complaint_about(written));
            }
            return usage_error("option '" + option_name(optopt) + "' needs a value");
        }
        if (!applies(code, parsed->what)) {
            return usage_error("option '" + option_name(code) + "' does not apply to " +
                               command_name(parsed->what));
        }
        auto bad_value = [&](const char* expected) {
            return usage_error("bad value '" + std::string(optarg) + "' for '" + option_name(code) +
                               "': " + expected);
        };
        long long n = 0;
        switch (code) {
        case 'h':
            help = true;
            break;
        case 'V':
            version = true;
            break;
        case 'f':
            if (!format_by_name(optarg, &parsed->format)) {
                return bad_value("text, line, csv, svg or html");
            }
            parsed->format_given = true;
            break;
        case 'o':
            if (*optarg == '\0') return bad_value("a file name");
            parsed->output = optarg;
            break;
        case 'q':
            parsed->quiet = true;
            break;
        case 'j':
            if (!parse_number(optarg, 1, 256, &n)) return bad_value("a number from 1 to 256");
            parsed->jobs = static_cast<int>(n);
            break;
        case opt_count:
            parsed->count = true;
            break;
        case opt_grade:
            parsed->grade = true;
            break;
        case opt_explain:
            parsed->explain = true;
            break;
        case opt_hint:
            parsed->hint = true;
            break;
        case opt_level: {
            static const struct {
                const char* name;
                int low, high;
            } levels[] = {
                {"easy", 10, 14}, {"medium", 15, 24}, {"hard", 25, 49}, {"diabolical", 50, 200}};
            bool known = false;
            for (const auto& l : levels) {
                if (std::strcmp(optarg, l.name) != 0) continue;
                parsed->rating_low = l.low;
                parsed->rating_high = l.high;
                known = true;
            }
            if (!known) return bad_value("easy, medium, hard or diabolical");
            break;
        }
        case opt_rating: {
            const char* dash = std::strchr(optarg, '-');
            const char* end = optarg + std::strlen(optarg);
            if (dash == nullptr || !parse_tenths(optarg, dash, &parsed->rating_low) ||
                !parse_tenths(dash + 1, end, &parsed->rating_high) ||
                parsed->rating_low > parsed->rating_high) {
                return bad_value("MIN-MAX, ratings such as 2.5-4.0");
            }
            break;
        }
        case opt_puzzles:
            if (!parse_number(optarg, 1, 1000000, &n)) {
                return bad_value("a number from 1 to 1000000");
            }
            parsed->puzzles = static_cast<int>(n);
            break;
        case opt_letters: {
            int seen = 0;
            bool good = std::strlen(optarg) == 9;
            for (int i = 0; good && i < 9; ++i) {
                char c = optarg[i];
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
                good = c >= 'a' && c <= 'z' && (seen & (1 << (c - 'a'))) == 0;
                if (good) seen |= 1 << (c - 'a');
            }
            if (!good) return bad_value("nine different letters");
            parsed->letters = optarg;
            break;
        }
        case opt_symmetry:
            if (std::strcmp(optarg, "none") != 0 && std::strcmp(optarg, "rotate180") != 0 &&
                std::strcmp(optarg, "mirror") != 0) {
                return bad_value("none, rotate180 or mirror");
            }
            parsed->symmetry_kind = optarg;
            break;
        case opt_all:
            parsed->all = true;
            break;
        case opt_max:
            if (!parse_number(optarg, 1, 1000000, &n)) {
                return bad_value("a number from 1 to 1000000");
            }
            parsed->max = static_cast<int>(n);
            break;
        case opt_seed:
            if (!parse_number(optarg, 0, 4294967295LL, &n)) {
                return bad_value("a number from 0 to 4294967295");
            }
            parsed->seed = static_cast<std::uint32_t>(n);
            break;
        case opt_starters:
            if (!parse_number(optarg, 1, 1000000, &n)) {
                return bad_value("a number from 1 to 1000000");
            }
            parsed->starters = static_cast<int>(n);
            break;
        case opt_caption:
            if (std::strcmp(optarg, "sentence") != 0 && std::strcmp(optarg, "letters") != 0 &&
                std::strcmp(optarg, "none") != 0) {
                return bad_value("sentence, letters or none");
            }
            parsed->caption = optarg;
            parsed->caption_given = true;
            break;
        case opt_solution:
            parsed->solution = true;
            break;
        default:
            break;
        }
    }
    for (int i = optind; i < count; ++i) parsed->operands.emplace_back(args[i]);
    if (help) {
        parsed->what = command::help;
        return -1;
    }
    if (version) {
        parsed->what = command::version;
        return -1;
    }
    if (parsed->what == command::dialogue && !parsed->operands.empty()) {
        return usage_error("unknown command '" + parsed->operands[0] + "'");
    }
    if (parsed->what == command::generate && !parsed->operands.empty()) {
        return usage_error("generate takes no operand, not '" + parsed->operands[0] + "'");
    }
    if (parsed->what == command::compose && parsed->operands.size() != 1) {
        if (parsed->operands.empty()) return usage_error("compose needs a sentence");
        return usage_error("compose takes one sentence, not also '" + parsed->operands[1] + "'");
    }
    if (parsed->count && (parsed->all || parsed->format_given)) {
        return usage_error(std::string("option '--count' cannot go with '") +
                           (parsed->all ? "--all" : "--format") + "'");
    }
    // a rating, its steps or the first of them: one at a time, and in words or rows only
    int rated = (parsed->grade ? 1 : 0) + (parsed->explain ? 1 : 0) + (parsed->hint ? 1 : 0);
    if (rated > 1) return usage_error("options '--grade', '--explain' and '--hint' go alone");
    if (rated == 1 && (parsed->count || parsed->all)) {
        return usage_error(std::string("option '") + (parsed->count ? "--count" : "--all") +
                           "' cannot go with '--grade', '--explain' or '--hint'");
    }
    if (rated == 1 &&
        (parsed->format == output_format::svg || parsed->format == output_format::html ||
         (parsed->format == output_format::line && !parsed->grade))) {
        return usage_error(parsed->grade ? "'--grade' writes text, line or csv"
                                         : "'--explain' and '--hint' write text or csv");
    }
    // what a format does not print is refused, not passed over in silence
    bool printable = parsed->format == output_format::svg || parsed->format == output_format::html;
    if (parsed->caption_given && !printable) {
        return usage_error("option '--caption' goes with '--format svg' or '--format html'");
    }
    if (parsed->solution && parsed->format != output_format::svg) {
        return usage_error("option '--solution' goes with '--format svg'");
    }
    return -1;
}

void print_help() {
    std::fputs(
        "Usage: verbagrid [--jobs N]             the dialogue: compose or solve at the console\n"
        "       verbagrid solve [OPTION]... [FILE]...\n"
        "       verbagrid compose [OPTION]... SENTENCE\n"
        "       verbagrid generate [OPTION]...\n"
        "\n"
        "solve reads puzzles from the FILEs, or from standard input when there are none or a\n"
        "FILE is '-': one line of 81 cells, or nine lines of nine. A cell is a digit 1 to 9, a\n"
        "letter, or '.', '0', '-' or '_' when empty. Blank lines and lines starting with '#'\n"
        "go between puzzles, not inside a group of nine rows. It prints the first solution\n"
        "of each puzzle, under it.\n"
        "  -f, --format FORMAT  text (the dialogue's boards), line, csv, svg or html\n"
        "      --count          print the number of solutions of each puzzle instead, one\n"
        "                       a line (no --format, no --all)\n"
        "      --all            every solution up to --max, not only the first\n"
        "      --max N          solutions counted or listed per puzzle (default 10)\n"
        "      --grade          rate each puzzle by the techniques a person needs to solve it:\n"
        "                       the rating (1.0 to 11, 20.0 beyond the techniques known) and\n"
        "                       the level (easy, medium, hard, diabolical)\n"
        "      --explain        the steps of that rating, one by one, in the puzzle's symbols\n"
        "      --hint           only the first of those steps\n"
        "\n"
        "compose turns SENTENCE (about thirty letters, exactly nine distinct) into starters\n"
        "that spell it, as the dialogue does when every 'more?' is answered yes.\n"
        "  -f, --format FORMAT  text (the dialogue's boards), line, csv, svg or html\n"
        "      --starters N     stop after the N-th starter\n"
        "      --seed N         start the generator at N (default 1, as the dialogue does)\n"
        "  -q, --quiet          no progress line on standard error\n"
        "\n"
        "generate makes random puzzles with one solution and no given too many.\n"
        "      --count N        this many puzzles (default 1)\n"
        "      --letters NINE   in these nine letters instead of the digits 1 to 9\n"
        "      --symmetry KIND  none (default), rotate180 or mirror\n"
        "      --seed N         start the generator at N (default 1)\n"
        "\n"
        "compose and generate keep only the puzzles of a level or a range of ratings:\n"
        "      --level LEVEL    easy (below 1.5), medium (below 2.5), hard (below 5.0) or\n"
        "                       diabolical\n"
        "      --rating MIN-MAX ratings from MIN to MAX, such as 2.5-4.0\n"
        "\n"
        "For all of them:\n"
        "  -o, --output FILE    write to FILE, whole or not at all, instead of standard output\n"
        "  -j, --jobs N         counting threads (default: one per core); the same output\n"
        "      --caption WHAT   svg and html: sentence, letters (default) or none under a grid\n"
        "      --solution       svg: the solution below the puzzle\n"
        "  -h, --help           this text\n"
        "  -V, --version        the version\n"
        "\n"
        "Exit status: 0 done, 1 a puzzle was malformed or had no solution, or no starter was\n"
        "found, 2 bad usage.\n",
        stdout);
}

void print_version() {
    std::fputs("verbagrid 1.4\n", stdout);
}
