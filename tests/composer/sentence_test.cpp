#include "composer/sentence.h"
#include "console/composer_dialogue.h"
#include "tests/support.h"

#include <string>

using SentenceTest = Puzzle;

namespace {

int dist; // the spacing of the last sentence accepted

// Checks a sentence as the composer loop hands it over; returns what it printed.
std::string check(puzzle& p, const std::string& sentence, int* accepted) {
    reset_puzzle(p);
    testing::internal::CaptureStdout();
    int spacing = check_sentence(p, sentence.data(), static_cast<int>(sentence.size()));
    *accepted = spacing >= 0 ? 1 : 0;
    if (spacing >= 0) dist = spacing;
    return testing::internal::GetCapturedStdout();
}

} // namespace

TEST_F(SentenceTest, SampleIsAcceptedWithItsStatisticsAndValues) {
    int accepted = 0;
    std::string text = check(p, "oldsailorsandlionsreadsirenlore\n", &accepted);
    EXPECT_EQ(accepted, 1);
    EXPECT_EQ(text, "oldsailorsandlionsreadsirenlore\n\t31 letters (9 diff)  dist:4\n");
    EXPECT_EQ(dist, 4);
    const char order[] = "oldsairne";
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(p.letter_value[static_cast<unsigned char>(order[i])], i + 1) << order[i];
    }
}

TEST_F(SentenceTest, EachRejectionPrintsItsMessage) {
    struct Case {
        std::string sentence, output;
    } cases[] = {
        {"oldsailors andlions\n", "* bad letter:  \n"},
        {"oldsailors2andlions\n", "* bad letter: 2\n"},
        {"old-sailors\n", "* bad letter: -\n"},
        {"oldsailors\r\n", "* bad letter: \r\n"},
        {std::string("old\0sailors\n", 12), std::string("* bad letter: \0\n", 16)},
        {"\xe9t\xe9\n", "* bad letter: \xe9\n"},
        {"abcdefghiabcj\n", "* too many letters : j\n"},
        {"abcdefgabcdefg\n", "abcdefgabcdefg\n\t14 letters (7 diff)  dist:10\n"
                             "* not enough different letters  (missing: 2)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sentence);
        int accepted = 1;
        EXPECT_EQ(check(p, c.sentence, &accepted), c.output);
        EXPECT_EQ(accepted, 0);
    }
}

TEST_F(SentenceTest, DistFollowsTheSentenceLength) {
    struct Case {
        int letters, dist;
    } cases[] = {{9, 17}, {19, 7}, {20, 7}, {21, 6}, {23, 6}, {24, 5}, {27, 5}, {28, 4},
                 {32, 4}, {33, 3}, {40, 3}, {41, 2}, {54, 2}, {55, 1}, {79, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.letters);
        std::string sentence;
        for (int i = 0; i < c.letters; ++i) sentence += "abcdefghi"[i % 9];
        if (c.letters < 79) sentence += '\n'; // 79 letters fill the buffer: no line feed
        int accepted = 0;
        check(p, sentence, &accepted);
        EXPECT_EQ(accepted, 1);
        EXPECT_EQ(dist, c.dist);
    }
}

TEST_F(SentenceTest, SentenceCutAtTheBufferPrintsItsStatisticsOnTheSameLine) {
    std::string sentence;
    for (int i = 0; i < 79; ++i) sentence += "abcdefghi"[i % 9];
    int accepted = 0;
    std::string text = check(p, sentence, &accepted);
    EXPECT_EQ(text, sentence + "\t79 letters (9 diff)  dist:1\n");
    EXPECT_EQ(accepted, 1);
}
