// The program the kill test stops: in the folder given, it builds a small
// world (the player at the given cell, the turn given, and an effect on the
// floor when asked), then saves it to slot 1, stopping itself (SIGSTOP)
// after the given step of the grouped commit, where the test kills it.
//
//   save_kill_child <folder> <stop step, 0 for none> <x> <turn> <effect 0|1>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "engine/file/file_system.h"
#include "game/shell/save/save_data.h"
#include "game/shell/save/slot_commit.h"
#include "game/shell/settings.h"
#include "game/world/game_data.h"
#include "game/world/object_effect.h"
#include "game/world/object_player.h"
#include "platform/os/posix_file_system.h"

namespace {

int g_stopAt = 0;
int g_steps = 0;

void stopHere(const char*) {
    if (++g_steps == g_stopAt) ::raise(SIGSTOP);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) return 2;
    qel::FileSystem::install(&qel::PosixFileSystem::instance());
    if (::chdir(argv[1]) != 0) return 3;
    g_stopAt = std::atoi(argv[2]);
    const int x = std::atoi(argv[3]);
    FILE_VERSION = 109;
    GameData& game = GameData::instance();
    game.getDungeon()->setTag("cave");
    game.getDungeon()->setLevel(2);
    game.getWorld()->addTurn(std::atoi(argv[4]) - game.getWorld()->getTurn());
    auto* player = new ObjectPlayer("hero", Point(1, 1), Color::WHITE, Race(), Status());
    player->setPos(x, 5);
    if (std::atoi(argv[5]) != 0) new ObjectEffect("fx", Point(0, 0), Color(0u), Point(40, 20));
    SlotCommit::setStepHook(&stopHere);
    const bool saved = SaveData(1).saveGame();
    game.getObjectManager()->clearAll();
    return saved ? 0 : 1;
}
