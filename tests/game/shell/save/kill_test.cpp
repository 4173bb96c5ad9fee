// A save killed at every step of its grouped commit: a child program saves
// a changed world over an old one and stops itself after each step in turn;
// the test kills it there. Before the commit record exists the old save
// loads whole, after it the new one, never a mix of the two; the other
// slot and the global record are never touched.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/game/shell/save/save_fixture.h"

namespace {

class KillTest : public SaveFixture {
protected:
    // Runs the child until it stops after `step` (0: to its end) and kills
    // it there; whether it stopped.
    bool runChild(int step, int x, int turn, bool effect) {
        const std::string folder = scratch_.path().string();
        const std::string args[] = {std::to_string(step), std::to_string(x), std::to_string(turn),
                                    effect ? "1" : "0"};
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::execl(QEL_SAVE_KILL_CHILD, QEL_SAVE_KILL_CHILD, folder.c_str(), args[0].c_str(),
                    args[1].c_str(), args[2].c_str(), args[3].c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        int status = 0;
        EXPECT_EQ(::waitpid(pid, &status, WUNTRACED), pid);
        const bool stopped = WIFSTOPPED(status);
        if (stopped) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
        } else {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        }
        return stopped;
    }

    // Which save the slot holds: "old", "new", or what else it shows.
    std::string loaded() {
        std::string message;
        if (!SaveData(1).loadGame(message)) return "refused";
        ObjectPlayer* player = GameData::instance().getPlayer();
        const int x = player ? player->getPos().x : -1;
        const bool effect = manager_->getLinkTypeRoot(ObjectBase::LINK_OTHER)->next != nullptr;
        const int turn = world().getTurn();
        if (x == 5 && !effect && turn == 10) return "old";
        if (x == 8 && effect && turn == 20) return "new";
        return "mixed: x " + std::to_string(x) + " effect " + std::to_string(effect) + " turn " +
               std::to_string(turn);
    }
};

TEST_F(KillTest, AKilledSaveLeavesTheOldOrTheNewPairNeverAMix) {
    // Another slot and the global record, which no step may touch.
    auto* other = new ObjectPlayer("other", Point(1, 1), Color::WHITE, Race(), Status());
    other->setPos(2, 2);
    ASSERT_TRUE(SaveData(2).saveGame());
    ASSERT_TRUE(SaveData::saveGlobal());
    manager_->clearAll();

    // The steps: two files staged, the record, two renames, the record gone.
    const char* const expected[] = {"old", "old", "new", "new", "new", "new"};
    for (int step = 1; step <= 7; ++step) {
        std::filesystem::remove_all("save/data01");
        ASSERT_FALSE(runChild(0, 5, 10, false)) << "the old save";
        const auto others = saveTree();
        const bool stopped = runChild(step, 8, 20, true);
        EXPECT_EQ(stopped, step <= 6) << "step " << step;
        auto after = saveTree();
        for (auto it = after.begin(); it != after.end();) {
            it = it->first.starts_with("save/data01") ? after.erase(it) : std::next(it);
        }
        auto before = others;
        for (auto it = before.begin(); it != before.end();) {
            it = it->first.starts_with("save/data01") ? before.erase(it) : std::next(it);
        }
        EXPECT_EQ(after, before) << "step " << step;
        EXPECT_EQ(loaded(), step <= 6 ? expected[step - 1] : "new") << "killed after step " << step;
        // The access finished or cleared the commit.
        EXPECT_FALSE(std::filesystem::exists("save/data01/commit.lst"));
        EXPECT_FALSE(std::filesystem::exists("save/data01/player.dat.new"));
        manager_->clearAll();
    }
}

}  // namespace
