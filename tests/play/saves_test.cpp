#include "game/save.h"
#include "play/saves.h"
#include "tests/support.h"

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

// Saves go to a folder of the test's own, named by XDG_STATE_HOME, several levels down.
class SavesTest : public testing::Test {
  protected:
    void SetUp() override {
        char made[] = "/tmp/verbagrid-saves-XXXXXX";
        ASSERT_NE(mkdtemp(made), nullptr);
        root_ = made;
        setenv("XDG_STATE_HOME", (root_ + "/state/deeper").c_str(), 1);
    }
    void TearDown() override {
        std::system(("rm -rf '" + root_ + "'").c_str());
        unsetenv("XDG_STATE_HOME");
    }
    static std::vector<std::string> names(const std::string& folder) {
        std::vector<std::string> found;
        if (DIR* dir = opendir(folder.c_str())) {
            while (dirent* entry = readdir(dir)) {
                std::string name = entry->d_name;
                if (name != "." && name != "..") found.push_back(name);
            }
            closedir(dir);
        }
        return found;
    }
    // A game of its own puzzle: the n-th cell of a solved grid left open.
    static game game_number(int n) {
        const char* rows =
            "123456789456789123789123456214365897365897214897214365531642978642978531978531642";
        int solution[81];
        int givens[81];
        for (int cell = 0; cell < 81; ++cell) {
            solution[cell] = rows[cell] - '0';
            givens[cell] = cell == n ? 0 : solution[cell];
        }
        int letters[10] = {};
        game g;
        start_game(g, givens, solution, letters);
        return g;
    }
    std::string root_;
};

} // namespace

TEST_F(SavesTest, AGameIsWrittenWholeIntoFoldersMadeForItAndReadBack) {
    game g = game_number(5);
    toggle_mark(g, 5, 3);
    g.played_ms = 4242;
    std::string why;
    ASSERT_TRUE(write_game(g, &why)) << why;
    std::string folder = root_ + "/state/deeper/verbagrid";
    EXPECT_EQ(save_folder(), folder);
    EXPECT_EQ(names(folder), std::vector<std::string>{save_name(g)}) << "no temporary file left";
    struct stat about {};
    ASSERT_EQ(stat(folder.c_str(), &about), 0);
    EXPECT_EQ(about.st_mode & 0777, 0700u) << "a player's games are theirs alone";
    game back;
    ASSERT_EQ(read_game_file(save_path(g), back, &why), 0) << why;
    EXPECT_EQ(save_text(back), save_text(g));
    EXPECT_EQ(latest_save(), save_path(g));
    // a second puzzle's game saved later is the one --resume takes; the first stays
    game other = game_number(7);
    ASSERT_TRUE(write_game(other, &why)) << why;
    timespec old_times[2] = {{1000, 0}, {1000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, save_path(g).c_str(), old_times, 0), 0);
    EXPECT_EQ(latest_save(), save_path(other));
    EXPECT_EQ(names(folder).size(), 2u);
    remove_game(other);
    EXPECT_EQ(latest_save(), save_path(g));
}

TEST_F(SavesTest, AMissingFileAndADamagedOneAreToldApart) {
    game g = game_number(0);
    std::string why;
    EXPECT_EQ(read_game_file(save_path(g), g, &why), 1);
    EXPECT_EQ(latest_save(), "") << "no folder yet, so no save";
    ASSERT_TRUE(write_game(g, &why)) << why;
    {
        std::ofstream damaged(save_path(g), std::ios::app);
        damaged << "more\n";
    }
    game back;
    EXPECT_EQ(read_game_file(save_path(g), back, &why), 2);
    EXPECT_NE(why.find(save_path(g)), std::string::npos) << why;
    EXPECT_NE(why.find("line"), std::string::npos) << why;
    struct stat about {};
    EXPECT_EQ(stat(save_path(g).c_str(), &about), 0) << "a damaged save stays where it is";
}

TEST_F(SavesTest, TheFolderFollowsXdgStateHomeElseHome) {
    setenv("XDG_STATE_HOME", "relative/path", 1); // not absolute: to be ignored
    const char* home = std::getenv("HOME");
    std::string was = home != nullptr ? home : "";
    setenv("HOME", "/home/player", 1);
    EXPECT_EQ(save_folder(), "/home/player/.local/state/verbagrid");
    unsetenv("HOME");
    unsetenv("XDG_STATE_HOME");
    EXPECT_EQ(save_folder(), "");
    std::string why;
    EXPECT_FALSE(write_game(game_number(1), &why));
    EXPECT_FALSE(why.empty());
    if (!was.empty()) setenv("HOME", was.c_str(), 1);
}
