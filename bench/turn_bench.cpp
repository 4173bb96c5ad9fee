// One full turn of play through the real boot and the sample content's
// scripts: monsters that each search for the player and step or strike
// (the content's ProgressTurn), the turn change, and one cast of the
// player's sight. The player only waits and never falls (a turn that does
// not move on, the game having ended, is an error, not a time).
//
// BM_Turn: a generated floor with 50 monsters. Goal: under 2 ms a turn in a
// release build on one core.
//
// BM_TurnMonsters/<count>: the same turn on an open hall (the generated
// floor with its walls inside knocked down, 48 x 28 cells) holding 10 to
// 1000 monsters. BM_TurnMonstersRatio times turns of 100 and of 1000
// monsters on the hall in alternating blocks and prints
// thousand_over_hundred. Goal: at most 3. monster_turns counts the monster
// turns the content plays in a turn.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <lua.hpp>
#include <memory>
#include <string>
#include <vector>

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

// After the boot: a player who waits, on a generated floor (opened into a
// hall when HALL is true), and PlaceMonsters(count), which takes the
// monsters and the items off the floor and places count new monsters one
// to a cell where they may stand.
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
    -- Sturdy enough that no turn's blows, a thousand monsters' included,
    -- end the game (the life is also filled before each frame).
    player:setBaseStatus(C.STATUS.LIFE, 1000000)
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
    if HALL then
        for x = 1, 48 do for y = 1, 28 do d:setTile(x, y, d:getDefRoom()) end end
    end
    player:setPos(d:getRoomRandomPos())
    -- Counts the monsters' turns the content plays.
    local monsterTurn = MonsterTurn
    MONSTER_TURNS = 0
    function MonsterTurn(npc)
        MONSTER_TURNS = MONSTER_TURNS + 1
        return monsterTurn(npc)
    end
    function PlaceMonsters(count)
        for _, kind in ipairs({1, 2}) do  -- the monsters and what they carried
            local node = C_GetObjectLinkType(kind)
            while node do
                node:getObj():kill()
                node = node:next()
            end
        end
        C_GetObjectManager():exeRemove()
        -- A cell is tried with a probe first, so no monster is made in vain.
        local probe = C_CreateNpc(1)
        local placed, tries = 0, 0
        while placed < count do
            tries = tries + 1
            if tries > 100000 then error("only " .. placed .. " monsters found room") end
            local x, y = C_GetRandI_0toN(50), C_GetRandI_0toN(30)
            if C_CheckMove(probe, x, y) then
                local npc = C_CreateNpc(1 + placed % 4)
                if not npc then error("no monster after " .. placed) end
                npc:setPos(x, y)
                placed = placed + 1
            end
        end
        probe:kill()
        C_GetObjectManager():exeRemove()
    end
)lua";

class TurnFrame {
public:
    explicit TurnFrame(int monsters, bool hall = false) {
        qel::FileSystem::install(&qel::PosixFileSystem::instance());
        content_ = std::make_unique<qel::test::SampleContent>();
        if (!content_->boot()) {
            error_ = content_->failure();
            return;
        }
        qel::SysRand::instance().seed(11);
        qel::SysLua& lua = qel::SysLua::instance();
        const std::string chunk =
            std::string("HALL = ") + (hall ? "true" : "false") + "\n" + kFloor;
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
        place(monsters);
    }
    // Takes the monsters off the floor and places count new ones.
    void place(int count) {
        if (!error_.empty()) return;
        qel::SysLua& lua = qel::SysLua::instance();
        const std::string chunk = "PlaceMonsters(" + std::to_string(count) + ")";
        if (!lua.runBuffer(chunk.c_str(), 0, "place")) {
            error_ = lua.lastError() ? lua.lastError() : "placing the monsters failed";
        }
    }
    ~TurnFrame() { delete turns_; }
    const std::string& error() const { return error_; }
    // How many monster turns the content has played.
    double monsterTurns() const {
        lua_State* L = qel::SysLua::instance().state();
        lua_getglobal(L, "MONSTER_TURNS");
        const double n = lua_tonumber(L, -1);
        lua_pop(L, 1);
        return n;
    }

    // Frames until the world's turn moves on, then the player's sight; false
    // when it did not move on (the game ended: nothing left to time).
    bool turn() {
        World* world = GameData::instance().getWorld();
        const auto start = world->getTurn();
        for (int frame = 0; frame < 1000 && world->getTurn() == start; ++frame) {
            player_->setLife(player_->getStatus(Status::LIFE));  // never falls
            turns_->update();
        }
        const Point p = player_->getPos();
        GameData::instance().getFieldView()->putLight(p.x, p.y, 2, 10);
        return world->getTurn() != start;
    }

private:
    std::unique_ptr<qel::test::SampleContent> content_;
    std::string error_;
    ObjectPlayer* player_ = nullptr;
    TurnManager* turns_ = nullptr;
};

void BM_Turn(benchmark::State& state) {
    TurnFrame frame(kMonsters);
    if (!frame.error().empty()) {
        state.SkipWithError(frame.error().c_str());
        return;
    }
    for (auto _ : state) {
        if (!frame.turn()) {
            state.SkipWithError("the turn did not move on");
            break;
        }
    }
}
BENCHMARK(BM_Turn)->Unit(benchmark::kMicrosecond);

void BM_TurnMonsters(benchmark::State& state) {
    TurnFrame frame(static_cast<int>(state.range(0)), true);
    if (!frame.error().empty()) {
        state.SkipWithError(frame.error().c_str());
        return;
    }
    const double before = frame.monsterTurns();
    for (auto _ : state) {
        if (!frame.turn()) {
            state.SkipWithError("the turn did not move on");
            break;
        }
    }
    state.counters["monster_turns"] =
        benchmark::Counter(frame.monsterTurns() - before, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_TurnMonsters)
    ->Arg(10)
    ->Arg(30)
    ->Arg(100)
    ->Arg(300)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond);

// Blocks of turns of 100 and of 1000 monsters, alternating on one boot: the
// floor is repopulated before each block (seeded alike), so both sizes play
// the same opening turns of a fresh crowd. The median block of each size
// gives the ratio, in the thread's CPU time (a shared machine's waits left
// out).
void BM_TurnMonstersRatio(benchmark::State& state) {
    constexpr int kBlocks = 5;
    constexpr int kTurns = 20;
    TurnFrame frame(100, true);
    if (!frame.error().empty()) {
        state.SkipWithError(frame.error().c_str());
        return;
    }
    auto cpuMicros = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return 1e6 * static_cast<double>(t.tv_sec) + 1e-3 * static_cast<double>(t.tv_nsec);
    };
    bool moved = true;
    auto block = [&frame, &cpuMicros, &moved](int count) {
        qel::SysRand::instance().seed(17);
        frame.place(count);
        moved = frame.turn() && moved;  // the first turn wakes the crowd
        const double start = cpuMicros();
        for (int t = 0; t < kTurns; ++t) moved = frame.turn() && moved;
        return (cpuMicros() - start) / kTurns;
    };
    std::vector<double> hundred;
    std::vector<double> thousand;
    for (auto _ : state) {
        for (int b = 0; b < kBlocks; ++b) {
            hundred.push_back(block(100));
            thousand.push_back(block(1000));
        }
        if (!frame.error().empty() || !moved) {
            state.SkipWithError(moved ? frame.error().c_str() : "the turn did not move on");
            return;
        }
        state.SetIterationTime(1e-6 * (hundred.back() + thousand.back()));
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double h = median(hundred);
    const double k = median(thousand);
    state.counters["hundred_us"] = h;
    state.counters["thousand_us"] = k;
    state.counters["thousand_over_hundred"] = k / h;
}
BENCHMARK(BM_TurnMonstersRatio)->Iterations(1)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
