// Runs the real program headless (SDL's dummy drivers) for a few frames, in
// a scratch folder holding a copy of the sample content's data/.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/image/image_loader.h"
#include "platform/os/file_instance_lock.h"
#include "tests/engine/net/test_peer.h"
#include "tests/game/shell/ui/golden.h"
#include "tests/support/scratch_folder.h"

namespace qel {
namespace {

void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct MainProgram : ::testing::Test {
    test::ScratchFolder scratch;
    const std::filesystem::path& dir = scratch.path();

    void SetUp() override {
        std::filesystem::copy(QEL_GAME_DATA, dir / "data",
                              std::filesystem::copy_options::recursive);
    }
    // The screenshots a test took stay for a person to look at, in
    // screens/<test>/ beside the test program.
    void TearDown() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::filesystem::path kept = std::filesystem::path("screens") / test->name();
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(dir, ignored)) {
            if (entry.path().extension() != ".png") continue;
            std::filesystem::create_directories(kept, ignored);
            std::filesystem::copy_file(entry.path(), kept / entry.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing, ignored);
        }
    }

    // The program's exit code; its error output lands in `errors`. `video`
    // is how the environment sets the video driver.
    int run(int frames, std::string& errors, const std::string& video = "SDL_VIDEODRIVER=dummy",
            const std::filesystem::path& where = {}) {
        const std::filesystem::path& folder = where.empty() ? dir : where;
        std::filesystem::path err = folder / "stderr.txt";
        std::string command = "cd '" + folder.string() + "' && env " + video +
                              " SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR='" + dir.string() +
                              "' QEL_EXIT_AFTER_FRAMES=" + std::to_string(frames) +
                              " '" QEL_GAME_PROGRAM "' 2>'" + err.string() + "'";
        int status = std::system(command.c_str());
        std::ifstream in(err);
        std::stringstream text;
        text << in.rdbuf();
        errors = text.str();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string rankingAfterRestart();
};

TEST_F(MainProgram, RunsItsLoopHeadlessAndEndsCleanly) {
    std::string errors;
    EXPECT_EQ(run(10, errors), 0) << errors;
}

TEST_F(MainProgram, WithoutADisplayItEndsAtOnceSayingSo) {
    // No display, and no driver asked for: SDL would fall back to a window
    // nobody sees. The frame limit is far away, so only the refusal ends it.
    std::string errors;
    EXPECT_EQ(run(100000, errors, "-u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER"), 1) << errors;
    EXPECT_NE(errors.find("No display to show the game on"), std::string::npos) << errors;
    // Asking for a headless driver by name runs on purpose (the test above
    // runs the dummy driver so).
}

TEST_F(MainProgram, OneCopyRunsPerSaveFolder) {
    // A copy holds this folder's saves (its runtime folder is this test's,
    // not the one the program is given).
    FileInstanceLock running;
    ASSERT_TRUE(running.acquire("Vornhaldeen", (dir / "save").string()));
    std::string errors;
    EXPECT_EQ(run(10, errors), 1);
    // Headless, the message box text goes to the error output in UTF-8.
    const std::string folder = std::filesystem::canonical(dir / "save").string();
    EXPECT_NE(errors.find(reinterpret_cast<const char*>(u8"多重起動は出来ません。\n")),
              std::string::npos)
        << errors;
    EXPECT_NE(errors.find(reinterpret_cast<const char*>(u8"使用中のフォルダ: ") + folder),
              std::string::npos)
        << errors;
    // A copy with a folder of its own runs meanwhile.
    const std::filesystem::path other = dir / "other";
    std::filesystem::create_directories(other);
    std::filesystem::copy(QEL_GAME_DATA, other / "data", std::filesystem::copy_options::recursive);
    EXPECT_EQ(run(10, errors, "SDL_VIDEODRIVER=dummy", other), 0) << errors;
    EXPECT_TRUE(std::filesystem::exists(other / "save/Vornhaldeen.lock"));
}

// Headless, a message box's text goes to the error output in UTF-8.
std::string utf8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

TEST_F(MainProgram, AnUnthrottledRunIsReadyInItsFirstFramesHoweverLongItsBootTakes) {
    // A scripted run counts frames: the title waits for the boot and loads
    // its picture at once, so a busy machine does not run out of them.
    writeText(dir / "keys.txt", "until 3 ready\nclose\n");
    std::string errors;
    EXPECT_EQ(
        run(1000, errors, "SDL_VIDEODRIVER=dummy QEL_UNTHROTTLED=1 QEL_INPUT_SCRIPT=keys.txt"), 0)
        << errors;
}

TEST_F(MainProgram, AStartScriptRunsWithTheScriptInterfaceOnceBooted) {
    writeText(dir / "start.lua",
              "local d = C_GetDungeon()\n"
              "C.CreateDungeon(d):fillAll(C.Tile('floor', 0, 0, C.Color.WHITE, 25))\n"
              "local f = io.open('marker.txt', 'w') f:write(d:getTile(49, 29):getTag()) f:close()\n"
              "C_EndGame()\n");
    std::string errors;
    // The script ends the program; the frame limit only guards a hang.
    EXPECT_EQ(run(100000, errors, "SDL_VIDEODRIVER=dummy QEL_START_SCRIPT=start.lua"), 0) << errors;
    std::ifstream marker(dir / "marker.txt");
    std::string tag;
    marker >> tag;
    EXPECT_EQ(tag, "floor");
}

TEST_F(MainProgram, ObjectsAScriptKeepsToTheEndGoWhileTheGameStillStands) {
    // Lua collects them as it closes: the game they reach is still there.
    writeText(dir / "start.lua",
              "kept = {C.TaskItemList(), C.TaskAnimaList(), C.ObjectPlayer()}\nC_EndGame()\n");
    std::string errors;
    EXPECT_EQ(run(100000, errors, "SDL_VIDEODRIVER=dummy QEL_START_SCRIPT=start.lua"), 0) << errors;
    EXPECT_EQ(errors.find("runtime error"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("AddressSanitizer"), std::string::npos) << errors;
}

TEST_F(MainProgram, AMissingRaceTableEndsTheGameFromTheGameThread) {
    std::filesystem::remove(dir / "data/data01.dat");
    writeText(dir / "start.lua",
              "local loaded = C.OpeningParam:new_local():loadRaceFile(nil)\n"
              "local f = io.open('marker.txt', 'w') f:write(tostring(loaded)) f:close()\n");
    std::string errors;
    EXPECT_EQ(run(600, errors, "SDL_VIDEODRIVER=dummy QEL_START_SCRIPT=start.lua"), 255) << errors;
    EXPECT_NE(errors.find(utf8(u8"エラー: データファイルの読み込みに失敗しました")),
              std::string::npos)
        << errors;
    EXPECT_NE(errors.find(utf8(u8"種族リストファイルが見つかりません : data/data01.dat")),
              std::string::npos)
        << errors;
    std::ifstream marker(dir / "marker.txt");
    std::string loaded;
    marker >> loaded;
    EXPECT_EQ(loaded, "false") << "the script goes on to the end of its frame";
}

TEST_F(MainProgram, AFixedSeedReplaysTheRandomDraws) {
    writeText(dir / "start.lua",
              "local f = io.open('draws.txt', 'a') f:write(C_GetRandt(), ' ', C_GetRandt(), '\\n') "
              "f:close() C_EndGame()\n");
    std::string errors;
    const std::string env =
        "SDL_VIDEODRIVER=dummy QEL_START_SCRIPT=start.lua QEL_SEED=4242 QEL_UNTHROTTLED=1";
    // The script ends the program; the frame limit only guards a hang.
    ASSERT_EQ(run(100000, errors, env), 0) << errors;
    ASSERT_EQ(run(100000, errors, env), 0) << errors;
    std::ifstream in(dir / "draws.txt");
    std::string first, second;
    std::getline(in, first);
    std::getline(in, second);
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first, second);
}

TEST_F(MainProgram, AnInputScriptPlaysFromTheTitleToTheOpeningAndCloses) {
    writeText(dir / "keys.txt",
              "# the boot, Enter, the opening\n"
              "until 12000 ready\n"
              "press Enter\n"
              "until 60 scene SceneOpening\n"
              "dump dump.txt\n"
              "shot opening.png\n"
              "close\n");
    std::string errors;
    EXPECT_EQ(run(6000, errors, "SDL_VIDEODRIVER=dummy QEL_INPUT_SCRIPT=keys.txt"), 0) << errors;
    std::ifstream dump(dir / "dump.txt");
    std::string first;
    std::getline(dump, first);
    EXPECT_EQ(first, "scene SceneOpening");
    EXPECT_TRUE(std::filesystem::exists(dir / "opening.png"));
}

const std::string kToTheOpening = "until 12000 ready\npress Enter\nuntil 300 scene SceneOpening\n";

// From the opening to the game: a new adventurer of the first race and
// class, male, the name left empty (so the default one), confirmed.
const std::string kNewCharacter =
    "wait 5\n"
    "press Enter\nwait 5\n"  // a new adventure
    "press Enter\nwait 5\n"  // race
    "press Enter\nwait 5\n"  // class
    "press Enter\nwait 5\n"  // sex
    "press Enter\nwait 5\n"  // name
    "press Enter\n"          // go
    "until 300 scene SceneGame\nwait 10\n";
const std::string kNewGame = kToTheOpening + kNewCharacter;

// Down the painted first floor's bottom row, through its monster, onto the
// stairs.
std::string toTheStairs() {
    std::string keys;
    for (const char* key : {"Down", "Down", "Right", "Right", "Right", "Right", "Right", "Right",
                            "Right", "Right", "Right", "Right", "Right", "Right", "Down"})
        keys += std::string("press ") + key + "\nwait 10\n";
    return keys;
}

// Each key pressed once, a few frames apart.
std::string presses(std::initializer_list<const char*> keys, int times = 1) {
    std::string text;
    for (int i = 0; i < times; ++i)
        for (const char* key : keys) text += std::string("press ") + key + "\nwait 6\n";
    return text;
}

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A start script that goes straight to the opening and runs `lua` (with
// `player` at hand) once the new adventure's first floor is made.
std::string onTheFirstFloor(const std::string& lua) {
    return "local input = InputPlayer\n"
           "local done = false\n"
           "function InputPlayer(command, player)\n"
           "  local filled = input(command, player)\n"
           "  if not done and floor == 1 then\n"
           "    done = true\n" +
           lua +
           "  end\n"
           "  return filled\n"
           "end\n"
           "C_GotoOpening()\n";
}

// The ranking's size and best entry, read by a program started afresh.
std::string MainProgram::rankingAfterRestart() {
    writeText(dir / "start.lua",
              "local r = C_GetRanking()\n"
              "local best = r:getData(0)\n"
              "local f = io.open('ranking.txt', 'w')\n"
              "f:write(r:getDataMax(), ' ', best:getScore(), ' ', best:getText())\n"
              "f:close()\n"
              "C_EndGame()\n");
    std::string errors;
    EXPECT_EQ(run(100000, errors, "SDL_VIDEODRIVER=dummy QEL_START_SCRIPT=start.lua"), 0) << errors;
    return readText(dir / "ranking.txt");
}

TEST_F(MainProgram, ANewGameIsPlayedAFewStepsWithTheKeyboard) {
    writeText(dir / "keys.txt", kNewGame +
                                    "press Right\n"
                                    "wait 10\n"
                                    "press Down\n"
                                    "wait 10\n"
                                    "dump game.txt\n"
                                    "close\n");
    std::string errors;
    EXPECT_EQ(run(10000, errors, "SDL_VIDEODRIVER=dummy QEL_SEED=5 QEL_INPUT_SCRIPT=keys.txt"), 0)
        << errors;
    std::ifstream in(dir / "game.txt");
    std::stringstream dump;
    dump << in.rdbuf();
    const std::string text = dump.str();
    EXPECT_NE(text.find("scene SceneGame\n"), std::string::npos) << text;
    EXPECT_NE(text.find("player 1 \"アルト\""), std::string::npos) << text;
    EXPECT_NE(text.find("  at 2,2\n"), std::string::npos) << "one step right, one down\n" << text;
    EXPECT_NE(text.find("script error none"), std::string::npos) << text;
}

// The screen's picture as the program wrote it.
SurfacePtr readShot(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    return ImageLoader::decode(bytes, 0);
}

// How many pixels of the 16 x 16 cell are not black.
int litPixels(const Surface& screen, int cellX, int cellY) {
    int lit = 0;
    for (int y = cellY * 16; y < cellY * 16 + 16; ++y)
        for (int x = cellX * 16; x < cellX * 16 + 16; ++x)
            lit += (screen.argb(x, y) & 0xFFFFFF) != 0;
    return lit;
}

TEST_F(MainProgram, TheMapViewShowsWhatThePlayerSeesAndFollowsTheSteps) {
    writeText(dir / "keys.txt", kNewGame +
                                    "shot before.png\n"
                                    "press Right\nwait 10\npress Right\nwait 10\nshot after.png\n"
                                    "close\n");
    std::string errors;
    ASSERT_EQ(run(20000, errors, "SDL_VIDEODRIVER=dummy QEL_SEED=5 QEL_INPUT_SCRIPT=keys.txt"), 0)
        << errors;
    const SurfacePtr before = readShot(dir / "before.png");
    const SurfacePtr after = readShot(dir / "after.png");
    ASSERT_TRUE(before && after);
    // Zoomed out, the whole map from the screen's corner: the first floor is
    // painted in the top-left corner, the rest is unseen and black.
    EXPECT_GT(litPixels(*before, 0, 0), 0) << "the corner wall";
    EXPECT_GT(litPixels(*before, 1, 1), 0) << "the player";
    EXPECT_EQ(litPixels(*before, 45, 25), 0) << "an unseen cell";
    // Two steps right: the player's picture went with it.
    bool moved = false;
    for (int y = 16; y < 32 && !moved; ++y)
        for (int x = 48; x < 64 && !moved; ++x) moved = before->argb(x, y) != after->argb(x, y);
    EXPECT_TRUE(moved) << "cell (3, 1) shows the player after two steps";
}

TEST_F(MainProgram, AStartScriptsFloorShowsInTheScreenshotAtItsCells) {
    // A wall everywhere, one lit room of floor, the player in it at (5, 4);
    // the game's own first floor never comes (floor is past 0).
    writeText(dir / "start.lua",
              "floor = 1\n"
              "local d = C_GetDungeon()\n"
              "local cd = C.CreateDungeon(d)\n"
              "cd:fillAll(C.Tile('wall', 0, 0, C.Color.WHITE, 26))\n"
              "cd:fillRect(C.Tile('floor', 1, 0, C.Color.WHITE, 25), 2, 2, 8, 5)\n"
              "local opening = C.OpeningParam()\n"
              "opening:loadRaceFile() opening:loadClassFile()\n"
              "opening:createPlayer('Test', 1, 0, 0):setPos(5, 4)\n");
    // The boot loads on its own thread, so the shot waits for the game scene
    // rather than a count of frames a busy machine may not have loaded in.
    writeText(dir / "keys.txt", "until 6000 scene SceneGame\nwait 10\nshot shot.png\nclose\n");
    std::string errors;
    ASSERT_EQ(run(20000, errors,
                  "SDL_VIDEODRIVER=dummy QEL_START_SCRIPT=start.lua QEL_INPUT_SCRIPT=keys.txt"),
              0)
        << errors;
    const SurfacePtr shot = readShot(dir / "shot.png");
    const SurfacePtr chips = readShot(dir / "data/chip.png");
    ASSERT_TRUE(shot && chips);
    // Zoomed out at scale 1 the map starts at the screen's corner, a cell a
    // chip. The floor is the sheet's chip (1, 0) exactly, the player's cell
    // holds something else over it, and cells never seen are black.
    // The first pixel of the cell that differs from the chip, or "".
    const auto differenceFromChip = [&](int cellX, int cellY, int chipX, int chipY) {
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const std::uint32_t want = chips->argb(chipX * 16 + x, chipY * 16 + y) & 0xFFFFFF;
                const std::uint32_t got = shot->argb(cellX * 16 + x, cellY * 16 + y) & 0xFFFFFF;
                // Transparent black in the sheet is the black below.
                if (want != got) {
                    std::ostringstream at;
                    at << "pixel " << x << "," << y << ": " << std::hex << got << " against "
                       << want;
                    return at.str();
                }
            }
        return std::string();
    };
    EXPECT_EQ(differenceFromChip(6, 4, 1, 0), "") << "the floor next to the player";
    EXPECT_EQ(differenceFromChip(4, 5, 1, 0), "") << "the floor diagonally below";
    EXPECT_NE(differenceFromChip(5, 4, 1, 0), "") << "the player stands there";
    EXPECT_GT(litPixels(*shot, 5, 4), 0);
    EXPECT_EQ(litPixels(*shot, 30, 20), 0) << "never seen";
}

TEST_F(MainProgram, TheTitleShowsItsPictureAndGoesOnWithoutOne) {
    writeText(dir / "keys.txt", "until 12000 ready\nwait 2\nshot title.png\nclose\n");
    std::string errors;
    ASSERT_EQ(run(6000, errors, "SDL_VIDEODRIVER=dummy QEL_INPUT_SCRIPT=keys.txt"), 0) << errors;
    const SurfacePtr shot = readShot(dir / "title.png");
    const SurfacePtr picture = readShot(dir / "data/title.dat");
    ASSERT_TRUE(shot && picture);
    int differing = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            differing += (shot->argb(x, y) & 0xFFFFFF) != (picture->argb(x, y) & 0xFFFFFF);
    EXPECT_EQ(differing, 0) << "the picture drawn unscaled from the screen's corner";

    // Without the picture, or with a damaged one, the title is black but
    // for a line naming the file, the error output says why, and the game
    // goes on.
    const struct {
        const char* name;
        void (*spoil)(const std::filesystem::path& picture);
        const char* why;
    } kPictures[] = {
        {"missing", [](const std::filesystem::path& p) { std::filesystem::remove(p); },
         "picture data/title.dat cannot be loaded: no such file, or it cannot be read"},
        {"cut in half",
         [](const std::filesystem::path& p) {
             std::filesystem::resize_file(p, std::filesystem::file_size(p) / 2);
         },
         "picture data/title.dat cannot be loaded: damaged, or not a PNG or BMP picture this "
         "program reads"},
    };
    const std::string whole = readText(dir / "data/title.dat");
    for (const auto& picture : kPictures) {
        SCOPED_TRACE(picture.name);
        writeText(dir / "data/title.dat", whole);
        picture.spoil(dir / "data/title.dat");
        writeText(dir / "keys.txt",
                  "until 12000 ready\nwait 2\nshot bare.png\npress Enter\n"
                  "until 300 scene SceneOpening\nclose\n");
        ASSERT_EQ(run(6000, errors, "SDL_VIDEODRIVER=dummy QEL_INPUT_SCRIPT=keys.txt"), 0)
            << errors;
        EXPECT_NE(errors.find(picture.why), std::string::npos) << errors;
        const SurfacePtr bare = readShot(dir / "bare.png");
        ASSERT_TRUE(bare);
        EXPECT_EQ(litPixels(*bare, 10, 10), 0);
        int named = 0;  // the line at the top names the file
        for (int cell = 1; cell < 45; ++cell) named += litPixels(*bare, cell, 1);
        EXPECT_GT(named, 100);
    }
}

TEST_F(MainProgram, AMissingChipSheetIsToldOnceAndTheGameGoesOn) {
    std::filesystem::remove(dir / "data/chip.png");
    writeText(dir / "keys.txt", kNewGame + "shot flat.png\nclose\n");
    std::string errors;
    ASSERT_EQ(
        run(20000, errors, "SDL_VIDEODRIVER=dummy QEL_UNTHROTTLED=1 QEL_INPUT_SCRIPT=keys.txt"), 0)
        << errors;
    const std::string box = utf8(u8"エラー: 画像ファイルの読み込みに失敗しました : data/chip.png");
    const std::size_t at = errors.find(box);
    EXPECT_NE(at, std::string::npos) << errors;
    EXPECT_EQ(errors.find(box, at + 1), std::string::npos) << "once\n" << errors;
    EXPECT_NE(errors.find("picture data/chip.png cannot be loaded: no such file"),
              std::string::npos)
        << errors;
}

TEST_F(MainProgram, AnEnterHeldSinceLoadingMustBePressedAgain) {
    writeText(dir / "keys.txt",
              "hold Enter\nuntil 12000 ready\nwait 10\ndump held.txt\n"
              "release Enter\nwait 2\npress Enter\nuntil 60 scene SceneOpening\nclose\n");
    std::string errors;
    ASSERT_EQ(run(6000, errors, "SDL_VIDEODRIVER=dummy QEL_INPUT_SCRIPT=keys.txt"), 0) << errors;
    std::ifstream held(dir / "held.txt");
    std::string first;
    std::getline(held, first);
    EXPECT_EQ(first, "scene SceneTitle") << "held through the end of loading: no change";
}

TEST_F(MainProgram, TheStairsLeadToAGeneratedFloorWithItsMonstersAndItems) {
    writeText(dir / "keys.txt",
              kNewGame + toTheStairs() + "wait 10\nshot floor2.png\ndump game.txt\nclose\n");
    std::string errors;
    EXPECT_EQ(run(20000, errors, "SDL_VIDEODRIVER=dummy QEL_SEED=5 QEL_INPUT_SCRIPT=keys.txt"), 0)
        << errors;
    std::ifstream in(dir / "game.txt");
    std::stringstream dump;
    dump << in.rdbuf();
    const std::string text = dump.str();
    EXPECT_NE(text.find("floor \"floor2\" level 2\n"), std::string::npos) << text;
    const auto count = [&text](const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos;
             at = text.find(what, at + 1))
            ++n;
        return n;
    };
    EXPECT_GE(count("object type 3 "), 3u) << text;
    EXPECT_GE(count("object type 5 "), 1u) << "random items lie about\n" << text;
    EXPECT_NE(text.find("script error none"), std::string::npos) << text;
}

TEST_F(MainProgram, ANameTypedThroughTheInputMethodNamesTheAdventurer) {
    // The script file is UTF-8, as a person writes it.
    const char8_t* typing =
        u8"compose みな\nwait 2\nshot composing.png\n"
        u8"compose \ntype ミナ\nwait 2\n"
        u8"type 𠮷\nwait 2\n"  // no Shift-JIS form: refused whole
        u8"type ト\nwait 2\n";
    writeText(dir / "keys.txt", kToTheOpening +
                                    "wait 5\n"
                                    "press Enter\nwait 5\n"    // a new adventure
                                    "press Enter\nwait 5\n"    // race
                                    "press Enter\nwait 5\n"    // class
                                    "press Enter\nwait 5\n" +  // sex
                                    reinterpret_cast<const char*>(typing) +
                                    "press Enter\nwait 5\n"  // the name
                                    "press Enter\n"          // go
                                    "until 300 scene SceneGame\ndump game.txt\nclose\n");
    std::string errors;
    ASSERT_EQ(
        run(20000, errors, "SDL_VIDEODRIVER=dummy QEL_UNTHROTTLED=1 QEL_INPUT_SCRIPT=keys.txt"), 0)
        << errors;
    const std::string game = readText(dir / "game.txt");
    EXPECT_NE(game.find("\"ミナト\""), std::string::npos) << game;
    EXPECT_TRUE(std::filesystem::exists(dir / "composing.png"));
}

TEST_F(MainProgram, TheOpeningMakesTheChosenAdventurerAndEscapeStepsBack) {
    writeText(dir / "keys.txt",
              kToTheOpening +
                  "wait 5\n"
                  "press Enter\nwait 5\n"                     // a new adventure
                  "press Down\nwait 2\npress Down\nwait 5\n"  // the third race
                  "press Enter\nwait 5\n"                     // on to the class
                  "press Escape\nwait 5\n"                    // back: the race kept
                  "shot race.png\n"
                  "press Enter\nwait 5\n"                      // the third race again
                  "press Down\nwait 5\npress Enter\nwait 5\n"  // the second class
                  "press Down\nwait 5\npress Enter\nwait 5\n"  // female
                  "shot name.png\n"
                  "press Escape\nwait 5\n"  // back from the name
                  "press Enter\nwait 5\n"   // female still
                  "press Enter\nwait 5\n"   // no name: the default
                  "dump confirm.txt\n"
                  "press Enter\n"
                  "until 300 scene SceneGame\n"
                  "dump game.txt\n"
                  "close\n");
    std::string errors;
    EXPECT_EQ(
        run(20000, errors, "SDL_VIDEODRIVER=dummy QEL_UNTHROTTLED=1 QEL_INPUT_SCRIPT=keys.txt"), 0)
        << errors;
    const std::string confirm = readText(dir / "confirm.txt");
    EXPECT_EQ(confirm.rfind("scene SceneOpening\n", 0), 0u) << confirm;
    EXPECT_EQ(confirm.find("player "), std::string::npos) << "made only when confirmed\n"
                                                          << confirm;
    const std::string game = readText(dir / "game.txt");
    EXPECT_NE(game.find("player 1 \"リーナ\"\n  race 3 \"天使\" class 2 \"魔術師\" sex 2\n"),
              std::string::npos)
        << game;
    EXPECT_NE(game.find("script error none"), std::string::npos) << game;
    EXPECT_TRUE(std::filesystem::exists(dir / "race.png"));
    EXPECT_TRUE(std::filesystem::exists(dir / "name.png"));
}

TEST_F(MainProgram, TheOpeningsFirstMenuEndsTheProgram) {
    writeText(dir / "keys.txt", kToTheOpening +
                                    "wait 5\npress Down\nwait 5\npress Enter\n"
                                    // Never reached when the program ends.
                                    "until 600 scene Nowhere\n");
    std::string errors;
    EXPECT_EQ(
        run(20000, errors, "SDL_VIDEODRIVER=dummy QEL_UNTHROTTLED=1 QEL_INPUT_SCRIPT=keys.txt"), 0)
        << errors;
}

TEST_F(MainProgram, ASecondAdventureStartsAgainOnTheFirstFloor) {
    // Reaching the second floor sends the game back to the opening, as a
    // death would.
    writeText(dir / "start.lua",
              "local input = InputPlayer\n"
              "function InputPlayer(command, player)\n"
              "  if floor == 2 then C_GotoOpening() return false end\n"
              "  return input(command, player)\n"
              "end\n"
              "C_GotoOpening()\n");
    writeText(dir / "keys.txt", "until 3000 scene SceneOpening\n" + kNewCharacter + toTheStairs() +
                                    "until 300 scene SceneOpening\n" + kNewCharacter +
                                    "dump game.txt\nclose\n");
    std::string errors;
    EXPECT_EQ(run(40000, errors,
                  "SDL_VIDEODRIVER=dummy QEL_UNTHROTTLED=1 QEL_SEED=5 QEL_START_SCRIPT=start.lua "
                  "QEL_INPUT_SCRIPT=keys.txt"),
              0)
        << errors;
    const std::string game = readText(dir / "game.txt");
    EXPECT_NE(game.find("floor \"floor1\" level 1\n"), std::string::npos) << game;
    EXPECT_NE(game.find("player 1 \"アルト\""), std::string::npos) << game;
    EXPECT_NE(game.find("  at 1,1\n"), std::string::npos) << game;
    EXPECT_NE(game.find("script error none"), std::string::npos) << game;
}

// The line of a dump that begins with `start`, or "".
std::string dumpLine(const std::string& dump, const std::string& start) {
    const std::size_t at = dump.find("\n" + start);
    if (at == std::string::npos) return "";
    return dump.substr(at + 1, dump.find('\n', at + 1) - at - 1);
}

TEST_F(MainProgram, TheInventoryEquipsTheDaggerAndThePotionIsDrunk) {
    // The painted floor's dagger lies three steps right, its potion two down
    // and one left of that. The fighter's own four things come first in the
    // list, so the dagger is the fifth row and the potion the sixth.
    writeText(dir / "keys.txt",
              kNewGame + presses({"Right", "Right", "Right", "G"}) +
                  presses({"I", "Down", "Down", "Down", "Down", "Enter"}) + "shot inventory.png\n" +
                  presses({"Enter"}) + "dump armed.txt\n" + presses({"Down", "Down", "Left", "G"}) +
                  presses({"I", "Down", "Down", "Down", "Down", "Down", "Enter", "Enter"}) +
                  "dump game.txt\nclose\n");
    std::string errors;
    EXPECT_EQ(run(20000, errors,
                  "SDL_VIDEODRIVER=dummy QEL_UNTHROTTLED=1 QEL_SEED=5 QEL_INPUT_SCRIPT=keys.txt"),
              0)
        << errors;
    const std::string armed = readText(dir / "armed.txt");
    EXPECT_NE(dumpLine(armed, "  equip 0: ").find(" kind 1 "), std::string::npos) << armed;
    EXPECT_NE(armed.find(" kind 21 "), std::string::npos) << "the potion still lies\n" << armed;
    const std::string game = readText(dir / "game.txt");
    EXPECT_NE(dumpLine(game, "  equip 0: ").find(" kind 1 "), std::string::npos) << game;
    EXPECT_EQ(game.find(" kind 21 "), std::string::npos) << "the potion is gone\n" << game;
    EXPECT_NE(game.find("script error none"), std::string::npos) << game;
    EXPECT_TRUE(std::filesystem::exists(dir / "inventory.png"));
}

TEST_F(MainProgram, AFallenAdventurerSeesTheEndAndGoesBackToTheOpening) {
    // A mage walks up to the painted floor's monster and waits.
    const std::string mage =
        kToTheOpening + "wait 5\n" +
        presses({"Enter", "Enter", "Down", "Enter", "Enter", "Enter", "Enter"}) +
        "until 300 scene SceneGame\nwait 10\n";
    writeText(dir / "keys.txt", mage + presses({"Down", "Down"}) + presses({"Right"}, 5) +
                                    presses({"Numpad5"}, 60) + "shot end.png\ndump end.txt\n" +
                                    "press Enter\nuntil 300 scene SceneOpening\nclose\n");
    std::string errors;
    EXPECT_EQ(run(40000, errors,
                  "SDL_VIDEODRIVER=dummy QEL_UNTHROTTLED=1 QEL_SEED=5 QEL_INPUT_SCRIPT=keys.txt"),
              0)
        << errors;
    const std::string end = readText(dir / "end.txt");
    EXPECT_EQ(end.rfind("scene SceneGame\n", 0), 0u) << "the end waits for Enter\n" << end;
    const std::size_t life = end.find(" life ");
    ASSERT_NE(life, std::string::npos) << end;
    EXPECT_LE(std::atoi(end.c_str() + life + 6), 0) << end;
    EXPECT_NE(end.find("script error none"), std::string::npos) << end;
    EXPECT_EQ(end.find("slot 1\n"), std::string::npos) << "the fallen's slot is gone\n" << end;
    EXPECT_TRUE(std::filesystem::exists(dir / "save/global.dat"));
    EXPECT_FALSE(std::filesystem::exists(dir / "save/data01"));
    // The end's window lies over the map: the status panel (from x 560,
    // black behind its text) shows no part of the window's navy.
    const SurfacePtr shot = readShot(dir / "end.png");
    ASSERT_TRUE(shot);
    int covered = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 560; x < 800; ++x) {
            const std::uint32_t p = shot->argb(x, y);
            covered += (p & 0xFF) > 0x20 && ((p >> 8) & 0xFF) < 0x10 && ((p >> 16) & 0xFF) < 0x10;
        }
    EXPECT_EQ(covered, 0) << "pixels of the end's window over the status panel";
    // The ranking keeps the adventure across a restart.
    EXPECT_EQ(rankingAfterRestart(), "1 100 アルト　地下1階で力尽きた");
}

TEST_F(MainProgram, TakingTheGoalEndsTheAdventureAtTheTopOfTheRanking) {
    // The goal is laid at the new adventurer's feet.
    writeText(dir / "start.lua", onTheFirstFloor("C_CreateItem(37):put(player:getPos())\n"));
    writeText(dir / "keys.txt", "until 3000 scene SceneOpening\n" + kNewCharacter + presses({"G"}) +
                                    "shot goal.png\ndump goal.txt\npress Enter\n" +
                                    "until 300 scene SceneOpening\nclose\n");
    std::string errors;
    ASSERT_EQ(run(20000, errors,
                  "SDL_VIDEODRIVER=dummy QEL_UNTHROTTLED=1 QEL_START_SCRIPT=start.lua "
                  "QEL_INPUT_SCRIPT=keys.txt"),
              0)
        << errors;
    const std::string goal = readText(dir / "goal.txt");
    EXPECT_EQ(goal.rfind("scene SceneGame\n", 0), 0u) << "the end waits for Enter\n" << goal;
    EXPECT_NE(goal.find("script error none"), std::string::npos) << goal;
    EXPECT_FALSE(std::filesystem::exists(dir / "save/data01"));
    EXPECT_EQ(rankingAfterRestart(), "1 10100 アルト　暁の宝珠を手にした");
}

TEST_F(MainProgram, ASavedAdventureContinuesFromTheOpening) {
    const std::string env =
        "SDL_VIDEODRIVER=dummy QEL_UNTHROTTLED=1 QEL_SEED=5 QEL_INPUT_SCRIPT=keys.txt";
    const std::string continueIt = kToTheOpening + "wait 5\n" + presses({"Down", "Enter"}) +
                                   "shot slots.png\npress Enter\nuntil 300 scene SceneGame\n" +
                                   "wait 10\n";
    // The game's menu saves and ends the program itself.
    writeText(dir / "keys.txt", kNewGame + presses({"Right"}) + "dump saved.txt\n" +
                                    presses({"S", "Enter"}) + "until 600 scene Nowhere\n");
    std::string errors;
    ASSERT_EQ(run(20000, errors, env), 0) << errors;
    // Continued, the game is as it was saved; a step, and the window's close
    // saves it again.
    writeText(dir / "keys.txt", continueIt + "wait 5\nshot loaded.png\ndump loaded.txt\n" +
                                    presses({"Right"}) + "dump moved.txt\nclose\n");
    ASSERT_EQ(run(20000, errors, env), 0) << errors;
    const std::string saved = readText(dir / "saved.txt");
    EXPECT_NE(saved.find("slot 1\n"), std::string::npos) << saved;
    EXPECT_EQ(readText(dir / "loaded.txt"), saved);
    // Continuing shows the slot's last log lines again (here the floor's
    // and the save's), without writing them to the slot's log twice.
    const std::string log = readText(dir / "save/data01/log.txt");
    writeText(dir / "keys.txt", continueIt + "shot reloaded.png\ndump reloaded.txt\nclose\n");
    ASSERT_EQ(run(20000, errors, env), 0) << errors;
    EXPECT_EQ(readText(dir / "save/data01/log.txt"), log);
    const SurfacePtr shot = readShot(dir / "reloaded.png");
    ASSERT_TRUE(shot);
    int text = 0;
    for (int y = 490; y < 590; ++y)
        for (int x = 16; x < 780; ++x) text += (shot->argb(x, y) & 0xFFFFFF) == 0xFFFFFF;
    EXPECT_GT(text, 100) << "white text in the log's box";
    const std::string moved = readText(dir / "moved.txt");
    EXPECT_NE(moved.find("  at 3,1\n"), std::string::npos) << moved;
    EXPECT_EQ(readText(dir / "reloaded.txt"), moved);
    EXPECT_NE(moved.find("script error none"), std::string::npos) << moved;
}

// The slot list lives in save/global.dat; an adventure saved in its slot
// must outlive that record. The first run makes an adventure and saves it
// (as far as `firstRun` goes, with `firstScript` as its start script when
// given), `loseRecord` spoils the record, a second adventure is made and
// saved, and the first one is continued from the opening's slot list: its
// dump.
std::string continueTheFirstAdventure(MainProgram& test, const std::string& firstScript,
                                      const std::string& firstRun,
                                      void (*loseRecord)(const std::filesystem::path& dir)) {
    const std::filesystem::path& dir = test.dir;
    const std::string env =
        "SDL_VIDEODRIVER=dummy QEL_UNTHROTTLED=1 QEL_SEED=5 QEL_INPUT_SCRIPT=keys.txt";
    std::string errors;
    writeText(dir / "keys.txt", firstRun);
    writeText(dir / "start.lua", firstScript);
    test.run(20000, errors, env + (firstScript.empty() ? "" : " QEL_START_SCRIPT=start.lua"));
    EXPECT_TRUE(std::filesystem::exists(dir / "save/data01/player.dat")) << errors;
    loseRecord(dir);

    writeText(dir / "keys.txt", kNewGame + "dump second.txt\n" + presses({"S", "Enter"}) +
                                    "until 600 scene Nowhere\n");
    EXPECT_EQ(test.run(20000, errors, env), 0) << errors;
    const std::string second = readText(dir / "second.txt");
    EXPECT_NE(second.find("slot 2\n"), std::string::npos) << "a slot of its own\n" << second;
    EXPECT_TRUE(std::filesystem::exists(dir / "save/data01/player.dat"));

    // Both are listed (by id here, whatever order the content shows them
    // in); the first is continued.
    writeText(dir / "start.lua",
              "local entries = SlotEntries\n"
              "function SlotEntries()\n"
              "  local e = entries()\n"
              "  table.sort(e, function(a, b) return tonumber(a[1]) < tonumber(b[1]) end)\n"
              "  local f = io.open('slots.txt', 'w')\n"
              "  for _, slot in ipairs(e) do f:write(slot[1], ' ') end\n"
              "  f:close()\n"
              "  return e\n"
              "end\n"
              "C_GotoOpening()\n");
    writeText(dir / "keys.txt", "until 3000 scene SceneOpening\nwait 5\n" +
                                    presses({"Down", "Enter"}) + "shot slots.png\n" +
                                    "press Enter\nuntil 300 scene SceneGame\nwait 10\n"
                                    "dump continued.txt\nclose\n");
    EXPECT_EQ(test.run(20000, errors, env + " QEL_START_SCRIPT=start.lua"), 0) << errors;
    EXPECT_EQ(readText(dir / "slots.txt"), "1 2 ");
    const std::string continued = readText(dir / "continued.txt");
    EXPECT_NE(continued.find("slot 1\n"), std::string::npos) << continued;
    return continued;
}

// A dump from its turn on: the adventure without the slot and scene.
std::string fromTheTurn(const std::string& dump) {
    const std::size_t at = dump.find("turn ");
    return at == std::string::npos ? dump : dump.substr(at);
}

TEST_F(MainProgram, ADamagedSlotListLosesNoAdventure) {
    const std::string continued =
        continueTheFirstAdventure(*this, "",
                                  kNewGame + presses({"Right"}) + "dump first.txt\n" +
                                      presses({"S", "Enter"}) + "until 600 scene Nowhere\n",
                                  [](const std::filesystem::path& dir) {
                                      std::filesystem::resize_file(dir / "save/global.dat", 5);
                                  });
    const std::string first = readText(dir / "first.txt");
    EXPECT_NE(first.find("slot 1\n"), std::string::npos) << first;
    EXPECT_EQ(fromTheTurn(continued), fromTheTurn(first)) << "the same adventurer, place and turn";
    EXPECT_TRUE(std::filesystem::exists(dir / "save/global.dat.bad")) << "kept aside";
}

TEST_F(MainProgram, AKillBetweenTheFirstSaveAndTheSlotListLosesNoAdventure) {
    // The first floor's save commits the slot, and the program is killed
    // before it writes the slot list: with the content's own scripts, and
    // with a script that writes the list only after the slot's first save.
    const std::string killAfterTheSlot =
        "function SaveGameNow()\n"
        "  local p = C_GetPlayer():getPos()\n"
        "  local f = io.open('first.txt', 'w')\n"
        "  f:write('slot ', C.CURRENT_PLAYER_ID, '\\n  at ', p._x, ',', p._y, '\\n')\n"
        "  f:close()\n"
        "  C.SaveData:new_local(C.CURRENT_PLAYER_ID):saveGame(C.SaveData.KEEP_ALL)\n"
        "  os.execute('kill -KILL $PPID')\n"
        "end\n"
        "C_GotoOpening()\n";
    const std::string listLater =
        "function NewSlot(name)\n"
        "  C.CURRENT_PLAYER_ID = C_GetSaveFileList():newData(name)\n"
        "end\n";
    for (const std::string& script : {killAfterTheSlot, listLater + killAfterTheSlot}) {
        SCOPED_TRACE(script);
        std::filesystem::remove_all(dir / "save");
        const std::string continued = continueTheFirstAdventure(
            *this, script, "until 3000 scene SceneOpening\n" + kNewCharacter,
            [](const std::filesystem::path&) {});
        const std::string first = readText(dir / "first.txt");
        ASSERT_NE(first.find("slot 1\n  at "), std::string::npos) << first;
        EXPECT_NE(continued.find(first.substr(first.find("  at "))), std::string::npos)
            << first << continued;
    }
}

TEST_F(MainProgram, ADungeonNameWithALineFeedIsRefusedAndTheLastSaveContinues) {
    // The first floor is saved as the content makes it; then the script
    // renames the dungeon and saves again, and the window's close saves.
    writeText(dir / "start.lua", onTheFirstFloor("C_GetDungeon():setTag('floor\\n1')\n"
                                                 "local f = io.open('saved.txt', 'w')\n"
                                                 "f:write(tostring(SaveGameNow()))\n"
                                                 "f:close()\n"));
    writeText(dir / "keys.txt", "until 3000 scene SceneOpening\n" + kNewCharacter + "close\n");
    std::string errors;
    const std::string env = "SDL_VIDEODRIVER=dummy QEL_UNTHROTTLED=1 QEL_INPUT_SCRIPT=keys.txt";
    ASSERT_EQ(run(20000, errors, env + " QEL_START_SCRIPT=start.lua"), 0) << errors;
    EXPECT_EQ(readText(dir / "saved.txt"), "false");
    EXPECT_NE(errors.find(utf8(u8"エラー: ダンジョン名に保存できない文字があります (0x0A) : "
                               u8"floor<0x0A>1")),
              std::string::npos)
        << errors;

    writeText(dir / "keys.txt", kToTheOpening + "wait 5\n" + presses({"Down", "Enter"}) +
                                    "press Enter\nuntil 300 scene SceneGame\nwait 10\n"
                                    "dump continued.txt\nclose\n");
    ASSERT_EQ(run(20000, errors, env), 0) << errors;
    const std::string continued = readText(dir / "continued.txt");
    EXPECT_NE(continued.find("slot 1\nfloor \"floor1\" level 1\n"), std::string::npos)
        << continued << errors;
}

// The client's connect, waited for up to a minute (the peer's own waits
// are 10 s; a failed link is retried 30 s of game time later).
bool acceptWithin(test::TestPeer& peer) {
    for (int i = 0; i < 6; ++i)
        if (peer.acceptClient()) return true;
    return false;
}
bool closedWithin(test::TestPeer& peer) {
    for (int i = 0; i < 6; ++i)
        if (peer.inClosed()) return true;
    return false;
}

TEST_F(MainProgram, AServerThatFailsBeforeItsFirstPacketIsRetriedUntilAGoodOneAnswers) {
    // A message server on this machine: the first connection is connected
    // back and closed at once, the second connected back and left silent
    // (the client gives up after its one-second link wait and closes it),
    // the third gives the client its id and answers its requests until the
    // client, all answered, says goodbye.
    test::TestPeer server;
    const std::uint16_t receivePort = test::freePort();
    constexpr std::uint32_t kId = 77;
    std::vector<std::string> seen;
    std::thread serving([&] {
        // Done, or given up: the program may end.
        struct Done {
            const std::filesystem::path marker;
            ~Done() { writeText(marker, ""); }
        } done{dir / "linked.txt"};
        if (!acceptWithin(server) || !server.connectBack(receivePort)) return;
        server.closeOut();
        server.closeIn();
        seen.push_back("closed");
        if (!acceptWithin(server) || !server.connectBack(receivePort)) return;
        const bool gaveUp = closedWithin(server);
        server.closeOut();
        server.closeIn();
        if (!gaveUp) return;
        seen.push_back("silent");
        writeText(dir / "silent.txt", "");
        if (!acceptWithin(server) || !server.connectBack(receivePort) ||
            !server.sendBytes(test::encode(kId, 1, 1, ""))) {
            return;
        }
        std::uint32_t sequence = 2;
        while (const auto packet = server.readPacket()) {
            if (packet->command == 0xFFFF) {
                seen.push_back("goodbye");
                break;
            }
            if (seen.back() == "silent")
                seen.push_back("request with id " + std::to_string(packet->connectionId));
            // Reply 1: the newest message id, 9.
            server.sendBytes(
                test::encode(kId, sequence++, 1, std::string("\x09\0\0\0\0\0\0\0", 8)));
        }
        server.closeOut();
        server.closeIn();
    });
    // The network on, aimed at the server. The game scene sends its start
    // request and goes back to the opening (its frames are cheap), where a
    // message is posted every ten seconds of the requests' clock, half a
    // second a frame; the link wait is back to its usual 10 s once the silent
    // server is done (a loaded machine is slow), and the program ends once
    // the server is done or gives up.
    writeText(dir / "start.lua",
              "C.NETWORK_ENABLE = true\n"
              "C.NETWORK_SERVER = '127.0.0.1'\n"
              "C.NETWORK_PORT_SEND = " +
                  std::to_string(server.port()) + "\n" +
                  "C.NETWORK_PORT_RECV = " + std::to_string(receivePort) + "\n" +
                  "C.NETWORK_LINK_WAIT = 1\n"
                  "local played, player = false, InputPlayer\n"
                  "function InputPlayer(command, p)\n"
                  "  if not played then played = true C_GotoOpening() end\n"
                  "  return player(command, p)\n"
                  "end\n"
                  "local frames, opening = 0, InputOpening\n"
                  "function InputOpening(param)\n"
                  "  frames = frames + 1\n"
                  "  if played and frames % 20 == 0 then C_SendNetworkMessage('hello', 1) end\n"
                  "  local silent = io.open('silent.txt')\n"
                  "  if silent then silent:close() C.NETWORK_LINK_WAIT = 10 end\n"
                  "  local done = io.open('linked.txt')\n"
                  "  if done then done:close() C_EndGame() end\n"
                  "  return opening(param)\n"
                  "end\n"
                  "C_GotoOpening()\n");
    const std::string toTheGame = kNewCharacter.substr(0, kNewCharacter.find("until"));
    writeText(dir / "keys.txt",
              "until 3000 scene SceneOpening\n" + toTheGame + "until 40000 scene Nowhere\n");
    std::string errors;
    const int status = run(40000, errors,
                           "SDL_VIDEODRIVER=dummy QEL_UNTHROTTLED=1 QEL_FRAME_CLOCK_MS=500 "
                           "QEL_START_SCRIPT=start.lua QEL_INPUT_SCRIPT=keys.txt");
    serving.join();
    EXPECT_EQ(status, 0) << errors;
    EXPECT_EQ(seen,
              (std::vector<std::string>{"closed", "silent", "request with id 77", "goodbye"}));
    EXPECT_NE(errors.find("network: the server closed its connection before its first packet"),
              std::string::npos)
        << errors;
    EXPECT_NE(errors.find("network: the server sent nothing in time"), std::string::npos) << errors;
}

TEST_F(MainProgram, TheWandOfFireKillsTheMonsterAndTheKillRaisesALevel) {
    // A wand of fire at the new adventurer's feet, and the painted floor's
    // monster brought into sight three cells away and made frail. The wand
    // is the fifth row of the inventory, after the fighter's own things.
    writeText(dir / "start.lua",
              onTheFirstFloor("C_CreateItem(29):put(player:getPos())\n"
                              "local npc = C_CastObjectNpc(C_GetObjectLinkType(1):getObj())\n"
                              "npc:setLife(1) npc:setPos(4, 2)\n"));
    writeText(dir / "keys.txt", "until 3000 scene SceneOpening\n" + kNewCharacter +
                                    presses({"G", "I", "Down", "Down", "Down", "Down", "Enter"}) +
                                    "shot wand.png\n" + presses({"Enter"}) +
                                    "dump game.txt\nclose\n");
    std::string errors;
    ASSERT_EQ(run(20000, errors,
                  "SDL_VIDEODRIVER=dummy QEL_UNTHROTTLED=1 QEL_START_SCRIPT=start.lua "
                  "QEL_INPUT_SCRIPT=keys.txt"),
              0)
        << errors;
    const std::string game = readText(dir / "game.txt");
    EXPECT_NE(game.find("  level 2 exp 10 "), std::string::npos) << game;
    EXPECT_EQ(game.find("object type 3 "), std::string::npos) << "the monster is gone\n" << game;
    EXPECT_NE(game.find("script error none"), std::string::npos) << game;
}

TEST_F(MainProgram, ATapTakesOneStepAndAKeyHeldWalksOnAfterTheDelay) {
    // An open floor and no monster, so nothing stops the walk.
    writeText(dir / "start.lua",
              onTheFirstFloor("C.CreateDungeon(C_GetDungeon()):fillRect("
                              "C.Tile('floor', 1, 0, C.Color.WHITE, 25), 1, 1, 40, 20)\n"
                              "C_CastObjectNpc(C_GetObjectLinkType(1):getObj()):kill()\n"));
    // A quick press holds its key about 150 ms (9 frames); the repeat starts
    // after half a second (30 frames) and then steps every 7 frames.
    writeText(dir / "keys.txt", "until 3000 scene SceneOpening\n" + kNewCharacter +
                                    "hold Right\nwait 9\nrelease Right\nwait 20\ndump tap.txt\n"
                                    "hold Right\nwait 25\nrelease Right\nwait 20\ndump short.txt\n"
                                    "hold Down\nwait 60\nrelease Down\nwait 20\ndump long.txt\n" +
                                    presses({"Numpad6"}) + "wait 10\ndump pad.txt\nclose\n");
    std::string errors;
    ASSERT_EQ(run(20000, errors,
                  "SDL_VIDEODRIVER=dummy QEL_UNTHROTTLED=1 QEL_START_SCRIPT=start.lua "
                  "QEL_INPUT_SCRIPT=keys.txt"),
              0)
        << errors;
    EXPECT_EQ(dumpLine(readText(dir / "tap.txt"), "  at "), "  at 2,1") << "a tap, one step";
    EXPECT_EQ(dumpLine(readText(dir / "short.txt"), "  at "), "  at 3,1")
        << "held, but not past the delay";
    // Held 60 frames: the press, then the beats at 30, 37, 44, 51 and 58.
    EXPECT_EQ(dumpLine(readText(dir / "long.txt"), "  at "), "  at 3,7") << "held on: walking";
    EXPECT_EQ(dumpLine(readText(dir / "pad.txt"), "  at "), "  at 4,7") << "the number pad";
}

TEST_F(MainProgram, AnInputScriptWaitThatTimesOutEndsWithExitCodeTwo) {
    writeText(dir / "keys.txt", "wait 1\nuntil 5 scene Nowhere\n");
    std::string errors;
    EXPECT_EQ(
        run(2000, errors, "SDL_VIDEODRIVER=dummy QEL_UNTHROTTLED=1 QEL_INPUT_SCRIPT=keys.txt"), 2)
        << errors;
    EXPECT_NE(errors.find("input script line 2: waited 5 frames for scene Nowhere"),
              std::string::npos)
        << errors;
}

// The adventure of the scripted play-throughs, in either language: a new
// fighter zaps a wand of fire at the first floor's monster, reads a scroll
// of identify, eats the bread it started with, equips the floor's dagger
// and drinks its potion (one item of each kind), takes the stairs down to
// the fifth floor and takes the goal; the end shows the ranking. The start
// script lays what the floors lack for that: the wand at the adventurer's
// feet and the scroll a step right on the first floor, its monster frail
// and in sight, the stairs a step right on the floors between, the goal at
// the feet on the last.
const char* const kAdventureProps = R"lua(
local input = InputPlayer
local seen = 0
function InputPlayer(command, player)
    if floor ~= seen and floor > 0 then
        seen = floor
        local p = player:getPos()
        if floor == 1 then
            C_CreateItem(29):put(p._x, p._y)
            C_CreateItem(27):put(p._x + 1, p._y)
            local npc = C_CastObjectNpc(C_GetObjectLinkType(1):getObj())
            npc:setLife(1)
            npc:setPos(4, 2)
        elseif floor < LAST_FLOOR then
            local other = C_GetCharaAtPos(p._x + 1, p._y)
            if other then
                other:kill()
                C_GetObjectManager():exeRemove()
            end
            C_GetDungeon():setTile(p._x + 1, p._y, C.Tile("stairs", 2, 0, C.Color.WHITE, 25))
        else
            C_CreateItem(37):put(p._x, p._y)
        end
    end
    return input(command, player)
end
C_GotoOpening()
)lua";

// The play-through's places, arranged so that the keys which follow take
// the same steps whatever a floor's shape: on each new floor the player
// stands west of the stairs (on the last floor, on the goal) with no
// monster within three cells. On the first floor it also takes the
// player's life down to 8 (so a healing shows), lays one thing of each
// kind at its feet (a potion of healing, a scroll of identify, a wand of
// fire, a potion of mana left unknown, a long sword) and puts a frail
// slime in sight for the wand. Each arranging writes a line to
// arranged.txt.
const char* const kPlayThroughPlaces = R"lua(
local input = InputPlayer
local arrangedFloor = 0
local function note(text)
  local f = io.open("arranged.txt", "a") f:write(text, "\n") f:close()
end
local function clearAround(x, y)
  local doomed, node = {}, C_GetObjectLinkType(1)
  while node do
    local npc = C_CastObjectNpc(node:getObj())
    if npc then
      local q = npc:getPos()
      if math.max(math.abs(q._x - x), math.abs(q._y - y)) <= 3 then table.insert(doomed, npc) end
    end
    node = node:next()
  end
  for _, npc in ipairs(doomed) do npc:kill() end
  C_GetObjectManager():exeRemove()
end
local function wayOn()
  local d = C_GetDungeon()
  for y = 0, 29 do
    for x = 1, 49 do
      if d:getTile(x, y):getTag() == "stairs" then return x - 1, y end
    end
  end
  local node = C_GetObjectLinkType(2)
  while node do
    local item = C_CastObjectItem(node:getObj())
    if item and item:getBaseId() == 37 then
      local p = item:getPos()
      return p._x, p._y
    end
    node = node:next()
  end
end
function InputPlayer(command, player)
  local filled = input(command, player)
  if floor ~= arrangedFloor and floor >= 1 then
    arrangedFloor = floor
    local x, y = wayOn()
    -- The cell west of the stairs may be wall: it becomes floor.
    C_GetDungeon():setTile(x, y, C.Tile("floor", 1, 0, C.Color.WHITE, 25))
    player:setPos(x, y)
    clearAround(x, y)
    if floor == 1 then
      player:setLife(8)
      for _, id in ipairs({21, 27, 29, 22, 3}) do C_CreateItem(id):put(x, y) end
      local slime = C_CreateNpc(1, C.Point(x, y - 2))
      slime:setPos(x, y - 2)
      slime:setLife(1)
    end
    C_Redraw()
    note("floor " .. floor .. " at " .. x .. "," .. y)
  end
  return filled
end
C_GotoOpening()
)lua";

// The keys of the adventure, with its shots (opening.png: the race step;
// menu.png: the inventory and a wand's actions; game.png: the map, the
// status panel and the log after the first floor's items; ranking.png: the
// end) and dumps (items.txt after the first floor's items, floor5.txt,
// end.txt), and texts.txt: every text drawn until the end.
std::string theAdventure() {
    // The inventory's rows: the fighter's short sword, shield, armour and
    // bread, then what was picked up, in order.
    const auto row = [](int n) {
        std::string keys = "press I\nwait 6\n";
        for (int i = 0; i < n; ++i) keys += "press Down\nwait 6\n";
        return keys + "press Enter\nwait 6\n";
    };
    return "until 3000 scene SceneOpening\nwait 5\n" + presses({"Enter"}) +
           "wait 5\nshot opening.png\n" +  // the race step
           presses({"Enter", "Enter", "Enter", "Enter", "Enter"}) +
           "until 300 scene SceneGame\nwait 10\n" + presses({"G"}) + row(4) + "shot menu.png\n" +
           presses({"Enter"}) +                                              // zap the wand
           presses({"Right", "G"}) + row(5) + presses({"Enter"}) +           // read the scroll
           row(3) + presses({"Enter"}) +                                     // eat the bread
           presses({"Right", "Right", "G"}) + row(4) + presses({"Enter"}) +  // equip the dagger
           presses({"Down", "Down", "Left", "G"}) + row(5) + presses({"Enter"}) +  // drink
           "wait 10\nshot game.png\ndump items.txt\n" + presses({"Right"}, 5) +
           presses({"Down"}) +  // the painted floor's stairs
           presses({"Right"}, 3) + "wait 10\ndump floor5.txt\n" + presses({"G"}) +
           "wait 10\nshot ranking.png\ndump end.txt\ntexts texts.txt\n" +
           "press Enter\nuntil 300 scene SceneOpening\nclose\n";
}

// A part of a screenshot kept as a golden picture in
// tests/platform/main/golden/<language>/<name>.png (golden.h: compared
// pixel for pixel; QEL_UPDATE_GOLDENS=1 writes it afresh).
struct Golden {
    const char* name;
    const char* shot;
    int x, y, width, height;
};

std::string goldenFolder(const std::string& language) {
    return std::string(QEL_SOURCE_DIR) + "/tests/platform/main/golden/" + language;
}

::testing::AssertionResult matchesGolden(const std::filesystem::path& dir,
                                         const std::string& language, const Golden& golden) {
    const SurfacePtr shot = readShot(dir / golden.shot);
    if (!shot) return ::testing::AssertionFailure() << "no shot " << golden.shot;
    return golden::matches(*shot, golden.x, golden.y, golden.width, golden.height, golden.name,
                           goldenFolder(language));
}

// What the English player sees of the screens that hold text.
const Golden kEnglishGoldens[] = {
    {"opening", "opening.png", 0, 0, 800, 600},   {"menu", "menu.png", 38, 38, 414, 252},
    {"panel", "game.png", 552, 0, 248, 480},      {"log", "game.png", 0, 480, 800, 120},
    {"ranking", "ranking.png", 12, 96, 528, 156},
};

TEST_F(MainProgram, TheAdventureInEnglishShowsEnglishOnly) {
    writeText(dir / "config.txt", "LOCALE = \"en\"\n");
    writeText(dir / "start.lua", kAdventureProps);
    writeText(dir / "keys.txt", theAdventure());
    std::string errors;
    ASSERT_EQ(run(40000, errors,
                  "SDL_VIDEODRIVER=dummy QEL_UNTHROTTLED=1 QEL_SEED=7 QEL_START_SCRIPT=start.lua "
                  "QEL_INPUT_SCRIPT=keys.txt"),
              0)
        << errors;
    // The adventure went as written: every item used, five floors down, the
    // goal taken.
    const std::string items = readText(dir / "items.txt");
    EXPECT_NE(dumpLine(items, "  equip 0: ").find(" kind 1 "), std::string::npos) << items;
    for (const char* gone : {" kind 21 ", " kind 27 ", " kind 31 "})
        EXPECT_EQ(items.find(gone), std::string::npos) << gone << "used up\n" << items;
    EXPECT_NE(readText(dir / "floor5.txt").find("floor \"floor5\" level 5\n"), std::string::npos);
    const std::string end = readText(dir / "end.txt");
    EXPECT_NE(end.find("script error none"), std::string::npos) << end;
    EXPECT_FALSE(std::filesystem::exists(dir / "save/data01")) << "the won adventure's slot went";

    // Every text drawn from the title to the ranking is English.
    std::istringstream texts(readText(dir / "texts.txt"));
    int count = 0;
    for (std::string line; std::getline(texts, line); ++count)
        for (const char c : line)
            if (static_cast<unsigned char>(c) >= 0x80) {
                ADD_FAILURE() << "not ASCII: " << line;
                break;
            }
    EXPECT_GT(count, 80) << "the texts were recorded";
    for (const Golden& golden : kEnglishGoldens) EXPECT_TRUE(matchesGolden(dir, "english", golden));
    const std::string ranking = rankingAfterRestart();
    EXPECT_NE(ranking.find(" Alto took the Orb of Dawn"), std::string::npos) << ranking;
}

// The figure after `word` on the dump's line that begins with `start`.
int dumpNumber(const std::string& dump, const std::string& start, const std::string& word) {
    const std::string line = dumpLine(dump, start);
    const std::size_t at = line.find(word);
    return at == std::string::npos ? -1 : std::atoi(line.c_str() + at + word.size());
}

// The stock of the first carried item of the kind, or -1.
int carriedStock(const std::string& dump, int kind) {
    const std::size_t at = dump.find("  carries item ");
    for (std::size_t from = at; from != std::string::npos;
         from = dump.find("  carries item ", from + 1)) {
        const std::string line = dump.substr(from, dump.find('\n', from) - from);
        if (line.find(" kind " + std::to_string(kind) + " ") == std::string::npos) continue;
        return std::atoi(line.c_str() + line.find(" stock ") + 7);
    }
    return -1;
}

TEST_F(MainProgram, AJapaneseAdventureFromTheTitleToTheRanking) {
    // From the title a new fighter is made, looks at the first floor and
    // saves and ends from the game's menu; then the adventure is continued
    // with the places arranged.
    writeText(dir / "keys.txt",
              "until 12000 ready\nwait 2\nshot title.png\npress Enter\n"
              "until 300 scene SceneOpening\nwait 5\nshot opening.png\n" +
                  kNewCharacter + "shot floor1.png\ndump start.txt\n" + presses({"S", "Enter"}) +
                  "until 600 scene Nowhere\n");
    std::string errors;
    ASSERT_EQ(run(20000, errors,
                  "SDL_VIDEODRIVER=dummy QEL_UNTHROTTLED=1 QEL_SEED=42 QEL_INPUT_SCRIPT=keys.txt"),
              0)
        << errors;
    const std::string start = readText(dir / "start.txt");
    EXPECT_NE(dumpLine(start, "  equip 0: ").find(" kind 2 "), std::string::npos)
        << "the fighter's sword\n"
        << start;
    writeText(dir / "start.lua", kPlayThroughPlaces);
    // Inventory rows: the fighter's sword, shield, armour and bread, then
    // what was picked up: healing, identify, the wand, the unknown potion,
    // the long sword. Each use takes its row out.
    const std::string use = "press Enter\nwait 6\npress Enter\nwait 12\n";
    const auto row = [&](int n) {
        std::string keys = "press I\nwait 6\n";
        for (int i = 0; i < n; ++i) keys += "press Down\nwait 4\n";
        return keys;
    };
    writeText(dir / "keys.txt",
              "until 3000 scene SceneOpening\nwait 5\n" + presses({"Down", "Enter", "Enter"}) +
                  "until 300 scene SceneGame\nwait 10\n" + presses({"G"}) +
                  "dump picked.txt\n" +                                          //
                  row(4) + "shot inventory.png\n" + use + "dump healed.txt\n" +  // drink
                  row(4) + use + "dump identified.txt\nshot identified.png\n" +  // read
                  row(4) + "press Enter\nwait 6\nshot wand.png\npress Enter\nwait 12\n" +
                  "dump zapped.txt\n" +                                // zap
                  row(3) + use + "dump eaten.txt\n" +                  // eat
                  row(5) + use + "dump armed.txt\nshot armed.png\n" +  // wield
                  presses({"Right"}) + "wait 10\n" +                   // floor 2
                  presses({"Right"}) + "wait 10\n" +                   // floor 3
                  presses({"Right"}) + "wait 10\n" +                   // floor 4
                  presses({"Right"}) + "wait 10\nshot floor5.png\ndump floor5.txt\n" +
                  presses({"G"}) + "wait 10\nshot ranking.png\ndump end.txt\n" +
                  "press Enter\nuntil 300 scene SceneOpening\nclose\n");
    ASSERT_EQ(run(60000, errors,
                  "SDL_VIDEODRIVER=dummy QEL_UNTHROTTLED=1 QEL_SEED=42 QEL_START_SCRIPT=start.lua "
                  "QEL_INPUT_SCRIPT=keys.txt"),
              0)
        << errors;
    const std::string arranged = readText(dir / "arranged.txt");
    EXPECT_EQ(std::count(arranged.begin(), arranged.end(), '\n'), 5) << arranged;
    const std::string picked = readText(dir / "picked.txt");
    const std::string healed = readText(dir / "healed.txt");
    const std::string identified = readText(dir / "identified.txt");
    const std::string zapped = readText(dir / "zapped.txt");
    const std::string eaten = readText(dir / "eaten.txt");
    const std::string armed = readText(dir / "armed.txt");
    // A potion of healing: life is higher than before it.
    EXPECT_GT(dumpNumber(healed, "  level ", " life "), dumpNumber(picked, "  level ", " life "))
        << picked << healed;
    // A scroll of identify: the unknown potion is known.
    EXPECT_NE(identified.find(" kind 22 stock 1 level 0 identified"), std::string::npos)
        << identified;
    // The wand: one charge spent.
    EXPECT_EQ(carriedStock(zapped, 29), carriedStock(identified, 29) - 1) << identified << zapped;
    // The bread: eaten, the stomach fuller.
    EXPECT_EQ(carriedStock(eaten, 31), -1) << eaten;
    EXPECT_GT(dumpNumber(eaten, "  level ", " satiety "),
              dumpNumber(zapped, "  level ", " satiety "));
    // The long sword in the right hand.
    EXPECT_NE(dumpLine(armed, "  equip 0: ").find(" kind 3 "), std::string::npos) << armed;
    // Four stairs down, the goal on the fifth floor, and the end waits.
    EXPECT_NE(readText(dir / "floor5.txt").find("floor \"floor5\" level 5\n"), std::string::npos);
    const std::string end = readText(dir / "end.txt");
    EXPECT_EQ(end.rfind("scene SceneGame\n", 0), 0u) << "the end waits for Enter\n" << end;
    EXPECT_NE(end.find("script error none"), std::string::npos) << end;
    const std::string ranking = rankingAfterRestart();
    EXPECT_EQ(ranking.rfind("1 ", 0), 0u) << ranking;
    EXPECT_NE(ranking.find("アルト　暁の宝珠を手にした"), std::string::npos) << ranking;
}

// Keys for the pictures below: F1 opens the item list of what the player
// carries and F2 the anima list (three anima known), which no key of the
// game opens; F3 closes both; F4 lays the goal at the player's feet.
const char* const kListKeys = R"lua(
local input = InputPlayer
function InputPlayer(command, player)
  if C_KeyTrg(112) then
    local list = C_GetItemList()
    list:setList(player:getItemLink())
    list:open()
  elseif C_KeyTrg(113) then
    for id = 1, 3 do C_SetAnima(id, true) end
    C_GetAnimaList():open()
  elseif C_KeyTrg(114) then
    C_GetItemList():close()
    C_GetAnimaList():close()
  elseif C_KeyTrg(115) then
    C_CreateItem(37):put(player:getPos())
  end
  return input(command, player)
end
C_GotoOpening()
)lua";

// Every screen of the game against its golden picture (no tolerance: the
// text is drawn 1-bit with the font goldens/VERSIONS names).
// QEL_UPDATE_GOLDENS=1 writes the pictures afresh; look at them before
// committing.
TEST_F(MainProgram, EveryScreenMatchesItsGoldenPicture) {
    const std::string env =
        "SDL_VIDEODRIVER=dummy QEL_UNTHROTTLED=1 QEL_SEED=7 QEL_INPUT_SCRIPT=keys.txt";
    // The screens from the title to the game's menu, which saves and ends.
    writeText(dir / "keys.txt",
              "until 12000 ready\nwait 30\nshot title.png\npress Enter\n"
              "until 300 scene SceneOpening\nwait 30\nshot opening.png\n"
              "press Enter\nwait 30\nshot race.png\n"
              "press Enter\nwait 10\npress Enter\nwait 10\npress Enter\nwait 30\nshot name.png\n"
              "press Enter\nwait 30\nshot confirm.png\n"
              "press Enter\nuntil 300 scene SceneGame\nwait 30\nshot game.png\n"
              "press I\nwait 30\nshot inventory.png\npress Enter\nwait 30\nshot item.png\n"
              "press Escape\nwait 6\npress Escape\nwait 6\n"
              "press S\nwait 30\nshot game_menu.png\npress Enter\nuntil 600 scene Nowhere\n");
    std::string errors;
    ASSERT_EQ(run(20000, errors, env), 0) << errors;
    // The saved adventure in the opening's list, continued: the two lists,
    // then the goal taken and the end with the ranking.
    writeText(dir / "start.lua", kListKeys);
    writeText(dir / "keys.txt",
              "until 3000 scene SceneOpening\nwait 5\npress Down\nwait 5\npress Enter\nwait 30\n"
              "shot slots.png\npress Enter\nuntil 300 scene SceneGame\nwait 10\n"
              "press F1\nwait 30\nshot item_list.png\npress F3\nwait 6\n"
              "press F2\nwait 30\nshot anima_list.png\npress F3\nwait 6\n"
              "press F4\nwait 6\npress G\nwait 30\nshot end.png\n"
              "press Enter\nuntil 300 scene SceneOpening\nclose\n");
    ASSERT_EQ(run(20000, errors, env + " QEL_START_SCRIPT=start.lua"), 0) << errors;
    for (const char* screen : {"title", "opening", "race", "name", "confirm", "game", "inventory",
                               "item", "item_list", "anima_list", "game_menu", "slots", "end"}) {
        const std::string shot = std::string(screen) + ".png";
        EXPECT_TRUE(matchesGolden(dir, "japanese", {screen, shot.c_str(), 0, 0, 800, 600}));
    }
}

struct BrokenFolder {
    const char* name;
    void (*breakIt)(const std::filesystem::path& dir);
    int exitCode;
    const char8_t* box;  // expected on the error output; null: no box at all
};

const BrokenFolder kBrokenFolders[] = {
    {"action table missing", [](auto& d) { std::filesystem::remove(d / "data/data06.dat"); }, 255,
     u8"エラー: データファイルの読み込みに失敗しました"},
    {"item table missing", [](auto& d) { std::filesystem::remove(d / "data/data04.dat"); }, 255,
     u8"エラー: データファイルの読み込みに失敗しました"},
    {"monster table missing", [](auto& d) { std::filesystem::remove(d / "data/data05.dat"); }, 255,
     u8"エラー: データファイルの読み込みに失敗しました"},
    {"anima table missing", [](auto& d) { std::filesystem::remove(d / "data/data10.dat"); }, 255,
     u8"エラー: データファイルの読み込みに失敗しました"},
    {"action table garbled",
     [](auto& d) { writeText(d / "data/data06.dat", std::string(300, '\x5a')); }, 255,
     u8"エラー: データファイルの読み込みに失敗しました"},
    {"script package missing", [](auto& d) { std::filesystem::remove(d / "data/data09.dat"); }, 255,
     u8"エラー: データファイルの読み込みに失敗しました"},
    {"script package cut short",
     [](auto& d) {
         const auto path = d / "data/data09.dat";
         std::filesystem::resize_file(path, std::filesystem::file_size(path) - 3);
     },
     255, u8"エラー: データファイルの読み込みに失敗しました"},
    {"unidentified names missing (optional)",
     [](auto& d) { std::filesystem::remove(d / "data/data03.dat"); }, 0, nullptr},
    {"config.txt with a syntax error", [](auto& d) { writeText(d / "config.txt", "x = = 1\n"); }, 0,
     u8"Vornhaldeen: config read error"},
    {"read-only config.txt is not run",
     [](auto& d) {
         writeText(d / "config.txt", "x = = 1\n");
         std::filesystem::permissions(d / "config.txt", std::filesystem::perms::owner_read);
     },
     0, nullptr},
};

TEST_F(MainProgram, BrokenDataFoldersEndAsTheyShould) {
    for (const BrokenFolder& folder : kBrokenFolders) {
        SCOPED_TRACE(folder.name);
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        SetUp();
        folder.breakIt(dir);
        std::string errors;
        // A broken table or package ends the program as soon as the loader
        // finds it, however slowly the machine loads; the frame limit ends
        // only the runs that go on.
        EXPECT_EQ(run(folder.exitCode == 0 ? 120 : 6000, errors), folder.exitCode) << errors;
        if (folder.box) {
            EXPECT_NE(errors.find(utf8(folder.box)), std::string::npos) << errors;
        } else {
            EXPECT_EQ(errors.find("config read error"), std::string::npos) << errors;
            EXPECT_EQ(errors.find(utf8(u8"データファイル")), std::string::npos) << errors;
        }
        // Nothing is saved: the save folder holds the running copy's lock only.
        std::vector<std::string> saved;
        for (const auto& entry : std::filesystem::directory_iterator(dir / "save"))
            saved.push_back(entry.path().filename().string());
        EXPECT_EQ(saved, std::vector<std::string>{"Vornhaldeen.lock"}) << folder.name;
    }
}

}  // namespace
}  // namespace qel
