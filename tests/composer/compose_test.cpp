#include "composer/compose_internal.h"
#include "composer/sentence.h"
#include "console/composer_dialogue.h"
#include "tests/support.h"

#include <cstdio>
#include <ctime>
#include <string>

using ComposeTest = Puzzle;

TEST_F(ComposeTest, GeneratorStartsFromStateOne) {
    EXPECT_EQ(next_random(), 41);
    random_state = 1;
    const int expected[5] = {1, 3, 2, 0, 1};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(next_random() % 4, expected[i]) << i;
    seed_random(7);
    int a = next_random();
    seed_random(7);
    EXPECT_EQ(next_random(), a);
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
    EXPECT_EQ(measure_difficulty(), 9);
    place_value(0, 1);
    EXPECT_EQ(measure_difficulty(), 8);
    place_value(40, 1); // another row, column and box: still one per unit
    EXPECT_EQ(measure_difficulty(), 8);
    place_value(10, 2); // box 0 now holds two
    EXPECT_EQ(measure_difficulty(), 7);
    for (int col = 3; col < 9; ++col) place_value(col, col); // row 0 holds seven
    EXPECT_EQ(measure_difficulty(), 2);
}

namespace {

// Runs a composition with the given answers on stdin and returns what it printed.
std::string compose_with_answers(const char* sentence, const char* answers) {
    feed_stdin(answers, std::strlen(answers));
    int length = static_cast<int>(std::strlen(sentence));
    testing::internal::CaptureStdout();
    if (check_sentence(sentence, length) == 1) run_composition(sentence, dialogue_news);
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
        reset_all();
        std::string text = compose_with_answers(sentence, c.answers);
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
            reset_puzzle();
            testing::internal::CaptureStdout();
            check_sentence(sentence, static_cast<int>(std::strlen(sentence)));
            testing::internal::GetCapturedStdout();
            // the givens, read in reading order, spell the sentence and obey the rule
            for (int cell = 0; cell < 81; ++cell) {
                char letter = starter[cell];
                if (letter == '-') continue;
                spelled += static_cast<char>(letter - 'A' + 'a');
                EXPECT_EQ(solved[cell], letter) << cell;
                int v = letter_value[static_cast<unsigned char>(spelled.back())];
                ASSERT_TRUE(fits(cell, v)) << cell;
                place_value(cell, v);
                given[cell] = 1;
            }
            EXPECT_EQ(spelled + "\n", sentence);
            // an independent count, in reading order, finds one solution: the printed one
            fast_counting = false;
            stop_flag = 0;
            best_count = 9;
            show_solutions = 1;
            solution_count = 0;
            testing::internal::CaptureStdout();
            count_solutions(0);
            std::string recount = testing::internal::GetCapturedStdout();
            EXPECT_EQ(solution_count, 1);
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
    std::uint32_t before = static_cast<std::uint32_t>(std::time(nullptr));
    std::string text = compose_with_answers(sentence, "n\n");
    std::uint32_t after = static_cast<std::uint32_t>(std::time(nullptr));
    EXPECT_NE(text.find("found : best : 1 solution(s) - tries:13183\n"), std::string::npos);
    for (int cell = 0; cell < 81; ++cell) {
        ASSERT_EQ(grid[cell], 0) << cell;
        ASSERT_EQ(given[cell], 0) << cell;
    }
    EXPECT_TRUE(sets_match_grid());
    EXPECT_EQ(next_value, 10);
    // reseeded from the clock, so that the next composition of the sentence differs
    EXPECT_GE(random_state, before);
    EXPECT_LE(random_state, after);
}

TEST_F(ComposeTest, FirstLettersLandWhereTheFirstDrawsPutThem) {
    const char sentence[] = "oldsailorsandlionsreadsirenlore\n";
    check_sentence(sentence, static_cast<int>(std::strlen(sentence)));
    int first[5] = {};
    static int* record;
    record = first;
    layout_probe = [] {
        char text[82];
        write_layout(text);
        for (int cell = 0, k = 0; cell < 81 && k < 5; ++cell) {
            if (text[cell] != '0') record[k++] = cell;
        }
        stop_flag = 1;
    };
    testing::internal::CaptureStdout();
    run_composition(sentence, dialogue_news);
    testing::internal::GetCapturedStdout();
    const int expected[5] = {1, 5, 8, 9, 11};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(first[k], expected[k]) << k;
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
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stored << " at " << c.stored_bound);
        clear_memo();
        layout_cells[0] = 0x0123456789ABCDEFu;
        layout_cells[1] = 0x1FFFF;
        best_count = c.stored_bound;
        remember_count(c.stored);
        best_count = c.recall_bound;
        EXPECT_EQ(recall_count(), c.recalled);
    }
    // lay-outs that share the first key's slot and differ from it only in cells 64..80, or
    // only in cells 0..63: each is a stranger to the other, and displaces it
    const std::uint64_t same_slot[2][2] = {{0x0123456789ABCDEFu, 0x172B0},
                                           {0x0123456789AB18CFu, 0x1FFFF}};
    for (const auto& other : same_slot) {
        SCOPED_TRACE(testing::Message() << std::hex << other[0] << " " << other[1]);
        clear_memo();
        best_count = 9;
        layout_cells[0] = 0x0123456789ABCDEFu;
        layout_cells[1] = 0x1FFFF;
        remember_count(3);
        layout_cells[0] = other[0];
        layout_cells[1] = other[1];
        EXPECT_EQ(recall_count(), -1);
        remember_count(5);
        EXPECT_EQ(recall_count(), 5);
        layout_cells[0] = 0x0123456789ABCDEFu;
        layout_cells[1] = 0x1FFFF;
        EXPECT_EQ(recall_count(), -1); // displaced: the two keys do share a slot
    }
    clear_memo();
    EXPECT_EQ(recall_count(), -1); // a new composition starts with nothing known

    // a count that Ctrl-C cuts short is partial: it is neither kept nor reported
    static std::uint64_t cut_short[2];
    static int stopped_at;
    layout_probe = [] {
        if (tries >= 200 && stop_flag == 0 && recall_count() < 0) { // a lay-out to be counted
            stopped_at = tries;
            cut_short[0] = layout_cells[0];
            cut_short[1] = layout_cells[1];
            stop_flag = 1;
        }
    };
    const char sentence[] = "oldsailorsandlionsreadsirenlore\n";
    check_sentence(sentence, static_cast<int>(std::strlen(sentence)));
    testing::internal::CaptureStdout();
    run_composition(sentence, dialogue_news);
    std::string text = testing::internal::GetCapturedStdout();
    EXPECT_EQ(tries, stopped_at);
    layout_cells[0] = cut_short[0];
    layout_cells[1] = cut_short[1];
    EXPECT_EQ(recall_count(), -1);
    EXPECT_EQ(text.find("tries:" + std::to_string(stopped_at) + "\n"), std::string::npos);
}
