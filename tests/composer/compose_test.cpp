#include "composer/compose.h"
#include "composer/generate.h"
#include "composer/sentence.h"
#include "console/composer_dialogue.h"
#include "render/board.h"
#include "tests/support.h"

#include <cstdio>
#include <ctime>
#include <memory>
#include <string>

using ComposeTest = Puzzle;

TEST_F(ComposeTest, GeneratorStartsFromStateOne) {
    random_generator random;
    EXPECT_EQ(random.next(), 41);
    random.seed(1);
    const int expected[5] = {1, 3, 2, 0, 1};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(random.next() % 4, expected[i]) << i;
    random.seed(7);
    int a = random.next();
    random.seed(7);
    EXPECT_EQ(random.next(), a);
}

TEST_F(ComposeTest, GeneratedPuzzlesHaveOneSolutionAndInLettersShowEveryLetter) {
    // a letter no given shows is a letter the player cannot know: without every_value about
    // one puzzle in ten leaves a value out
    random_generator random;
    random.seed(3);
    counter c;
    for (symmetry kind : {symmetry::none, symmetry::rotate180}) {
        generation how;
        how.kind = kind;
        how.every_value = true;
        int missing = 0;
        for (int n = 0; n < 150; ++n) {
            generate_puzzle(p, c, random, how);
            int shown = 0;
            for (int cell = 0; cell < 81; ++cell) {
                if (p.given[cell] != 0) shown |= value_bit[p.grid[cell]];
                // with a symmetry, a given goes with its image
                if (kind == symmetry::rotate180) {
                    EXPECT_EQ(p.given[cell], p.given[80 - cell]);
                }
            }
            missing += shown != all_values ? 1 : 0;
            puzzle counted = p;
            EXPECT_EQ(count_up_to(counted, 1), 1);
        }
        EXPECT_EQ(missing, 0);
    }
}

TEST_F(ComposeTest, RemainderByReciprocalIsExactForEveryDrawAndDist) {
    // every draw the generator can make, every dist a sentence can have (and beyond)
    for (int d = 1; d <= 1000; ++d) {
        std::uint32_t reciprocal = reciprocal_of(d);
        for (int x = 0; x <= 32767; ++x) {
            if (remainder_by(x, d, reciprocal) != x % d) {
                FAIL() << x << " % " << d << " gave " << remainder_by(x, d, reciprocal);
            }
        }
    }
}

TEST_F(ComposeTest, DifficultyIsNineMinusTheFullestUnit) {
    EXPECT_EQ(measure_difficulty(p), 9);
    place_value(p, 0, 1);
    EXPECT_EQ(measure_difficulty(p), 8);
    place_value(p, 40, 1); // another row, column and box: still one per unit
    EXPECT_EQ(measure_difficulty(p), 8);
    place_value(p, 10, 2); // box 0 now holds two
    EXPECT_EQ(measure_difficulty(p), 7);
    for (int col = 3; col < 9; ++col) place_value(p, col, col); // row 0 holds seven
    EXPECT_EQ(measure_difficulty(p), 2);
}

namespace {

// Runs a composition in p with the given answers on stdin and returns what it printed.
std::string compose_with_answers(puzzle& p, composition& composing, const char* sentence,
                                 const char* answers, composition_news* news = nullptr) {
    feed_stdin(answers, std::strlen(answers));
    int length = static_cast<int>(std::strlen(sentence));
    dialogue_news printed;
    testing::internal::CaptureStdout();
    int dist = check_sentence(p, sentence, length);
    if (dist >= 0) composing.run(p, sentence, dist, news != nullptr ? *news : printed);
    return testing::internal::GetCapturedStdout();
}

// Reads the 81 cells of the board printed at text[at], as the printed characters.
std::string board_cells(const std::string& text, std::size_t at) {
    std::string cells;
    for (std::size_t i = at; i < text.size() && cells.size() < 81; ++i) {
        char c = text[i];
        if (c != ' ' && c != '\n') cells += c;
    }
    return cells;
}

} // namespace

TEST_F(ComposeTest, EveryPresentedStarterSpellsTheSentenceAndHasOneSolution) {
    // a yes goes on to the next presentation; the last answer ends the composition
    struct Case {
        const char* sentence;
        const char* answers;
    } cases[] = {{"oldsailorsandlionsreadsirenlore\n", "n\n"},
                 {"dearoldsailorslandonislesandreadlions\n", "n\n"},
                 {"mothercatsmashesthreeroses\n", "y\ny\nn\n"}};
    for (const Case& c : cases) {
        const char* sentence = c.sentence;
        SCOPED_TRACE(sentence);
        reset_puzzle(p);
        auto composing = std::make_unique<composition>();
        std::string text = compose_with_answers(p, *composing, sentence, c.answers);
        std::size_t at = text.find("** difficulty:");
        ASSERT_NE(at, std::string::npos);
        int presented = 0;
        while (at != std::string::npos) {
            ++presented;
            std::size_t board = text.find('\n', at);
            std::size_t solution = text.find("-- sol (1)\n", board);
            ASSERT_NE(solution, std::string::npos);
            std::string starter = board_cells(text, board);
            std::string solved = board_cells(text, solution + 11);
            ASSERT_EQ(starter.size(), 81u);
            ASSERT_EQ(solved.size(), 81u);
            std::string spelled;
            puzzle q{};
            testing::internal::CaptureStdout();
            check_sentence(q, sentence, static_cast<int>(std::strlen(sentence)));
            testing::internal::GetCapturedStdout();
            // the givens, read in reading order, spell the sentence and obey the rule
            for (int cell = 0; cell < 81; ++cell) {
                char letter = starter[cell];
                if (letter == '-') continue;
                spelled += static_cast<char>(letter - 'A' + 'a');
                EXPECT_EQ(solved[cell], letter) << cell;
                int v = q.letter_value[static_cast<unsigned char>(spelled.back())];
                ASSERT_TRUE(fits(q, cell, v)) << cell;
                place_value(q, cell, v);
                q.given[cell] = 1;
            }
            EXPECT_EQ(spelled + "\n", sentence);
            // an independent count, in reading order, finds one solution: the printed one
            solution_writer writer(stdout);
            counter recounter;
            recounter.in_reading_order = true;
            recounter.show_solutions = &writer;
            testing::internal::CaptureStdout();
            count_solutions(q, recounter);
            std::string recount = testing::internal::GetCapturedStdout();
            EXPECT_EQ(recounter.solution_count, 1);
            EXPECT_EQ(board_cells(recount, recount.find("-- sol (1)\n") + 11), solved);
            at = text.find("** difficulty:", solution);
        }
        // each presentation asks once, each answer is taken once, and the last one ends it
        int asked = 0;
        for (std::size_t at_more = text.find("more? (y/n) : "); at_more != std::string::npos;
             at_more = text.find("more? (y/n) : ", at_more + 1)) {
            ++asked;
        }
        int answers = 0;
        for (const char* a = c.answers; *a != 0; ++a) answers += *a == '\n';
        EXPECT_EQ(presented, answers);
        EXPECT_EQ(asked, presented);
    }
}

TEST_F(ComposeTest, CompositionLeavesTheGridEmptyAndTheAlphabetFull) {
    const char sentence[] = "oldsailorsandlionsreadsirenlore\n";
    auto composing = std::make_unique<composition>();
    std::uint32_t before = static_cast<std::uint32_t>(std::time(nullptr));
    std::string text = compose_with_answers(p, *composing, sentence, "n\n");
    std::uint32_t after = static_cast<std::uint32_t>(std::time(nullptr));
    EXPECT_NE(text.find("found : best : 1 solution(s) - tries:13183\n"), std::string::npos);
    for (int cell = 0; cell < 81; ++cell) {
        ASSERT_EQ(p.grid[cell], 0) << cell;
        ASSERT_EQ(p.given[cell], 0) << cell;
    }
    EXPECT_TRUE(sets_match_grid(p));
    EXPECT_EQ(p.next_value, 10);
    // reseeded from the clock, so that the next composition of the sentence differs
    EXPECT_GE(composing->random.state, before);
    EXPECT_LE(composing->random.state, after);
}

namespace {

// Stops the walk at its first lay-out and keeps the cells of its first five letters.
class first_letters : public layout_watcher {
  public:
    void made(const composition& c) override {
        char text[82];
        c.write_layout(text);
        for (int cell = 0, k = 0; cell < 81 && k < 5; ++cell) {
            if (text[cell] != '0') cells[k++] = cell;
        }
        stop_flag = 1;
    }
    int cells[5] = {};
};

// Sets the stop flag, as Ctrl-C would, just before the first lay-out from the 200th on that
// has to be counted, and keeps that lay-out.
class cut_short_count : public layout_watcher {
  public:
    void made(const composition& c) override {
        if (c.tries() >= 200 && stop_flag == 0 &&
            c.memo().recall(c.layout_cells(), c.best_count()) < 0) {
            stopped_at = c.tries();
            cells[0] = c.layout_cells()[0];
            cells[1] = c.layout_cells()[1];
            stop_flag = 1;
        }
    }
    int stopped_at = -1;
    std::uint64_t cells[2] = {};
};

} // namespace

TEST_F(ComposeTest, FirstLettersLandWhereTheFirstDrawsPutThem) {
    const char sentence[] = "oldsailorsandlionsreadsirenlore\n";
    auto composing = std::make_unique<composition>();
    first_letters watching;
    composing->watcher = &watching;
    compose_with_answers(p, *composing, sentence, "");
    const int expected[5] = {1, 5, 8, 9, 11};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(watching.cells[k], expected[k]) << k;
}

TEST_F(ComposeTest, MemoServesACountAtItsOwnBoundOrBelow) {
    // counts of one lay-out, kept at one bound and recalled at another
    struct Case {
        int stored, stored_bound, recall_bound, recalled;
    } cases[] = {
        {3, 9, 9, 3},   // exact, same bound
        {3, 9, 1, 2},   // exact, cut off again at the lower bound
        {10, 9, 5, 6},  // cut off at 9, then at 5
        {10, 9, 9, 10}, // cut off, same bound
        {0, 9, 1, 0},   // no solution stays none
    };
    auto memo = std::make_unique<count_memo>();
    const std::uint64_t key[2] = {0x0123456789ABCDEFu, 0x1FFFF};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stored << " at " << c.stored_bound);
        memo->clear();
        memo->remember(key, c.stored, c.stored_bound);
        EXPECT_EQ(memo->recall(key, c.recall_bound), c.recalled);
    }
    // lay-outs that share the first key's slot and differ from it only in cells 64..80, or
    // only in cells 0..63: each is a stranger to the other, and displaces it
    const std::uint64_t same_slot[2][2] = {{0x0123456789ABCDEFu, 0x172B0},
                                           {0x0123456789AB18CFu, 0x1FFFF}};
    for (const auto& other : same_slot) {
        SCOPED_TRACE(testing::Message() << std::hex << other[0] << " " << other[1]);
        memo->clear();
        memo->remember(key, 3, 9);
        EXPECT_EQ(memo->recall(other, 9), -1);
        memo->remember(other, 5, 9);
        EXPECT_EQ(memo->recall(other, 9), 5);
        EXPECT_EQ(memo->recall(key, 9), -1); // displaced: the two keys do share a slot
    }
    memo->clear();
    EXPECT_EQ(memo->recall(key, 9), -1); // a new composition starts with nothing known

    // a count that Ctrl-C cuts short is partial: it is neither kept nor reported
    const char sentence[] = "oldsailorsandlionsreadsirenlore\n";
    auto composing = std::make_unique<composition>();
    cut_short_count watching;
    composing->watcher = &watching;
    std::string text = compose_with_answers(p, *composing, sentence, "");
    EXPECT_EQ(composing->tries(), watching.stopped_at);
    EXPECT_EQ(composing->memo().recall(watching.cells, composing->best_count()), -1);
    EXPECT_EQ(text.find("tries:" + std::to_string(watching.stopped_at) + "\n"), std::string::npos);
}
