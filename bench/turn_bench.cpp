// One full turn of play through the real boot and the sample content's
// scripts: a generated floor with 50 monsters that each search for the
// player and step or strike (the content's ProgressTurn), the turn change,
// and one cast of the player's sight. The player only waits and never
// falls. Goal: under 2 ms a turn in a release build on one core.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "engine/core/sys_rand.h"
#include "engine/file/file_system.h"
#include "engine/script/sys_lua.h"
#include "game/shell/turn_manager.h"
#include "game/world/field_view.h"
#include "game/world/game_data.h"
#include "game/world/object_player.h"
#include "game/world/world.h"
#include "platform/os/posix_file_system.h"
#include "tests/support/sample_content.h"

namespace {

constexpr int kMonsters = 50;

// After the boot: a player who waits, on a generated floor, and the
// monsters placed one to a cell where they may stand.
constexpr const char* kFloor = R"lua(
    floor = 2
    function InputPlayer(command, player)
        command:setType(C.Command.WAIT)
        return true
    end
    local opening = C.OpeningParam()
    opening:loadRaceFile()
    opening:loadClassFile()
    local player = opening:createPlayer("bench", 1, 0, 0)
    local d = C_GetDungeon()
    d:setDefRoom(C.Tile("floor", 1, 0, C.Color.WHITE, 25))
    d:setDefPass(C.Tile("floor", 1, 0, C.Color.WHITE, 25))
    d:setDefWall(C.Tile("wall", 0, 0, C.Color.WHITE, 26))
    -- A generated floor roomy enough for the crowd (the generator makes
    -- floors of a few rooms; the bench takes the first of 300 cells or more).
    local probe = C_CreateNpc(1)
    local function openCells()
        local n = 0
        for x = 0, 49 do for y = 0, 29 do if C_CheckMove(probe, x, y) then n = n + 1 end end end
        return n
    end
    for attempt = 1, 200 do
        C.CreateDungeon(d, 3, 4):create()
        if openCells() >= 300 then break end
    end
    probe:kill()
    C_GetObjectManager():exeRemove()
    player:setPos(d:getRoomRandomPos())
    local placed, tries = 0, 0
    while placed < MONSTERS do
        tries = tries + 1
        if tries > 100000 then error("only " .. placed .. " monsters found room") end
        local x, y = C_GetRandI_0toN(50), C_GetRandI_0toN(30)
        local npc = C_CreateNpc(1 + placed % 4)
        if npc and C_CheckMove(npc, x, y) then
            npc:setPos(x, y)
            placed = placed + 1
        elseif npc then
            npc:kill()
            C_GetObjectManager():exeRemove()
        end
    end
)lua";

class TurnFrame {
public:
    TurnFrame() {
        qel::FileSystem::install(&qel::PosixFileSystem::instance());
        content_ = std::make_unique<qel::test::SampleContent>();
        if (!content_->boot()) {
            error_ = content_->failure();
            return;
        }
        qel::SysRand::instance().seed(11);
        qel::SysLua& lua = qel::SysLua::instance();
        const std::string chunk = "MONSTERS = " + std::to_string(kMonsters) + "\n" + kFloor;
        if (!lua.runBuffer(chunk.c_str(), 0, "floor")) {
            error_ = lua.lastError() ? lua.lastError() : "the floor script failed";
            return;
        }
        player_ = GameData::instance().getPlayer();
        if (!player_) {
            error_ = "no player";
            return;
        }
        turns_ = new TurnManager(GameData::instance().getObjectManager(), nullptr);
    }
    ~TurnFrame() { delete turns_; }
    const std::string& error() const { return error_; }

    // Frames until the world's turn moves on, then the player's sight.
    void turn() {
        World* world = GameData::instance().getWorld();
        const auto start = world->getTurn();
        for (int frame = 0; frame < 1000 && world->getTurn() == start; ++frame) {
            player_->setLife(player_->getStatus(Status::LIFE));  // never falls
            turns_->update();
        }
        const Point p = player_->getPos();
        GameData::instance().getFieldView()->putLight(p.x, p.y, 2, 10);
    }

private:
    std::unique_ptr<qel::test::SampleContent> content_;
    std::string error_;
    ObjectPlayer* player_ = nullptr;
    TurnManager* turns_ = nullptr;
};

void BM_Turn(benchmark::State& state) {
    TurnFrame frame;
    if (!frame.error().empty()) {
        state.SkipWithError(frame.error().c_str());
        return;
    }
    for (auto _ : state) frame.turn();
}
BENCHMARK(BM_Turn)->Unit(benchmark::kMicrosecond);

}  // namespace
