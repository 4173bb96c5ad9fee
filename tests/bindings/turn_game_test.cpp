// A hundred turns of the sample content through the real boot and bindings:
// the player's keys reach InputPlayer through the input layer, ProgressTurn
// moves the player and walks the monsters through the queue with their
// searches, ProgressTurnChange gives act points. The same seed twice, with
// the pools disturbed between, plays the same game, and every search answer
// the scripts took is given back.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "bindings/script_bindings.h"
#include "engine/core/memory_allocator.h"
#include "engine/core/sys_rand.h"
#include "engine/input/input_source.h"
#include "engine/input/key_code.h"
#include "engine/input/sys_input.h"
#include "engine/script/sys_lua.h"
#include "game/shell/boot_loader.h"
#include "game/shell/settings.h"
#include "game/shell/turn_manager.h"
#include "game/world/game_data.h"
#include "game/world/object_manager.h"
#include "game/world/object_npc.h"
#include "game/world/object_player.h"
#include "game/world/world.h"
#include "tests/support/message_box_recorder.h"
#include "tests/support/sample_content.h"

namespace {

// A sturdy player who walks where the keys say, on a generated floor with a dozen
// monsters placed one to a cell.
constexpr const char* kFloor = R"lua(
    NewGameStarts()
    floor = 2
    local opening = C.OpeningParam()
    opening:loadRaceFile()
    opening:loadClassFile()
    local player = opening:createPlayer("walker", 1, 0, 0)
    -- Sturdy enough that no turn's blows end the walk.
    player:setBaseStatus(C.STATUS.LIFE, 1000)
    local d = C_GetDungeon()
    d:setDefRoom(C.Tile("floor", 1, 0, C.Color.WHITE, 25))
    d:setDefPass(C.Tile("floor", 1, 0, C.Color.WHITE, 25))
    d:setDefWall(C.Tile("wall", 0, 0, C.Color.WHITE, 26))
    C.CreateDungeon(d, 3, 4):create()
    player:setPos(d:getRoomRandomPos())
    local placed, tries = 0, 0
    while placed < 12 and tries < 100000 do
        tries = tries + 1
        local npc = C_CreateNpc(1 + placed % 4)
        local x, y = C_GetRandI_0toN(50), C_GetRandI_0toN(30)
        if npc and C_CheckMove(npc, x, y) then
            npc:setPos(x, y)
            placed = placed + 1
        elseif npc then
            npc:kill()
            C_GetObjectManager():exeRemove()
        end
    end
)lua";

struct KeySource : qel::InputSource {
    qel::InputSnapshot next;
    void readInput(qel::InputSnapshot& out) override { out = next; }
};

class TurnGame : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(content_.boot()) << content_.failure();
        source_.next.foreground = true;
        input().readFrom(&source_);
        input().setFrameRate(60);
        ASSERT_TRUE(input().init());
    }
    void TearDown() override {
        GameData::instance().getObjectManager()->clearAll();
        input().term();
        input().readFrom(nullptr);
    }
    static qel::SysInput& input() { return qel::SysInput::instance(); }

    // One frame with the key down (0: none).
    void frame(TurnManager& turns, int key) {
        for (auto& byte : source_.next.keys) byte = 0;
        if (key) source_.next.keys[key] = 0x80;
        input().update();
        turns.update();
    }

    // Plays `turns` turns from a seed; each turn's line: the turn, the
    // player's cell and life, every monster's cell and life.
    std::string play(std::uint32_t seed, int count) {
        GameData& game = GameData::instance();
        game.getObjectManager()->clearAll();
        qel::SysRand::instance().seed(seed);
        EXPECT_TRUE(qel::SysLua::instance().runBuffer(kFloor, 0, "floor"))
            << qel::SysLua::instance().lastError();
        ObjectPlayer* player = game.getPlayer();
        if (!player) return "no player";
        TurnManager turns(game.getObjectManager(), nullptr);
        // Arrow keys in a fixed round, a key held for one frame, then let go.
        const int keys[] = {qel::KEY_RIGHT, qel::KEY_DOWN,  qel::KEY_LEFT, qel::KEY_UP,
                            qel::KEY_RIGHT, qel::KEY_RIGHT, qel::KEY_DOWN, qel::KEY_DOWN};
        std::ostringstream log;
        World& world = *game.getWorld();
        const auto first = world.getTurn();
        for (int turn = 0; turn < count; ++turn) {
            const auto start = world.getTurn();
            for (int f = 0; f < 600 && world.getTurn() == start; ++f) {
                player->setLife(player->getStatus(Status::LIFE));  // the walk goes on
                frame(turns, f % 2 == 0 ? keys[turn % 8] : 0);
            }
            log << world.getTurn() - first << " " << player->getPos().x << ","
                << player->getPos().y;
            for (ObjectBase* object : *game.getObjectManager()->getLinkAllRoot()) {
                if (auto* npc = dynamic_cast<ObjectNpc*>(object))
                    log << " " << npc->getPos().x << "," << npc->getPos().y << ":"
                        << npc->getLife();
            }
            log << "\n";
        }
        return log.str();
    }

    qel::test::SampleContent content_;
    KeySource source_;
    qel::test::MessageBoxRecorder boxes_;
};

TEST_F(TurnGame, AHundredTurnsReplayFromTheirSeedAndGiveEveryAnswerBack) {
    const auto general = [] {
        GameData::instance().getObjectManager()->clearAll();
        qel::SysLua::instance().runBuffer("collectgarbage() collectgarbage()", 0, "gc");
        return qel::poolById(qel::Pool::General)->stats().usedBlocks;
    };
    const std::string first = play(2026, 100);
    // What the floor keeps (its room list) stays; the searches' answers go.
    const std::size_t afterFirst = general();
    ASSERT_NE(first, "no player");
    // The turns went by and the player walked.
    std::istringstream lines(first);
    std::string line, firstLine, lastLine;
    int count = 0;
    while (std::getline(lines, line)) {
        if (count++ == 0) firstLine = line;
        lastLine = line;
    }
    EXPECT_EQ(count, 100);
    EXPECT_NE(firstLine.substr(firstLine.find(' ')), lastLine.substr(lastLine.find(' ')));

    // Disturb the pools, then the same seed plays the same game.
    std::vector<void*> ballast;
    for (int i = 0; i < 50; ++i) ballast.push_back(qel::allocFromPool<qel::Pool::General>(24 + i));
    const std::string second = play(2026, 100);
    for (void* block : ballast) qel::poolFree(block);
    EXPECT_EQ(first, second);

    EXPECT_EQ(general(), afterFirst) << "every search answer given back";
    EXPECT_TRUE(boxes_.boxes().empty()) << boxes_.boxes().front().text;
}

}  // namespace
