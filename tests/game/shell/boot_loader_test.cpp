// The boot in process: it finishes on the sample content, fails cleanly on
// a missing table, and a cancel ends even a script that never returns.
#include "game/shell/boot_loader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "engine/script/sys_lua.h"
#include "engine/system/window.h"
#include "game/data/data_files.h"
#include "game/data/package_writer.h"
#include "game/shell/scene_title.h"
#include "game/shell/settings.h"
#include "tests/support/message_box_recorder.h"
#include "tests/support/sample_content.h"

namespace {

// Runs in a copy of the content's data/, as the program does; each test
// boots it itself, without the script bindings.
class BootLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(content_.ready()) << content_.failure(); }

    qel::test::SampleContent content_;
    const std::filesystem::path& dir_ = content_.folder();
    qel::test::MessageBoxRecorder boxes_;
};

TEST_F(BootLoaderTest, ACancelEndsAChunkThatNeverReturns) {
    std::ofstream(dir_ / "forever.lua") << "while true do end\n";
    {
        PackageWriter writer(kScriptPackageFile);
        ASSERT_TRUE(writer.push((dir_ / "forever.lua").string(), "forever.lua"));
        ASSERT_TRUE(writer.close());
    }
    BootLoader boot;
    std::thread loader([&] { boot.run(); });
    // The chunk is running (or about to): cancel and join.
    while (boot.result() == BootLoader::Result::Running && !boot.isCancelled()) {
        boot.cancel();
    }
    loader.join();
    EXPECT_EQ(boot.result(), BootLoader::Result::Cancelled);
    EXPECT_TRUE(boxes_.boxes().empty());
    // Lua is free again: the count hook is gone.
    EXPECT_TRUE(
        qel::SysLua::instance().runBuffer("x = 1 for i = 1, 100000 do x = x + 1 end", 0, "after"));
}

TEST_F(BootLoaderTest, AMissingTableFailsWithTheDataBox) {
    std::filesystem::remove(dir_ / kActionTableFile);
    BootLoader boot;
    EXPECT_EQ(boot.run(), BootLoader::Result::Failed);
    EXPECT_NE(boot.failure().find(kActionTableFile), std::string::npos) << boot.failure();
    ASSERT_EQ(boxes_.boxes().size(), 1u);
    EXPECT_EQ(boxes_.boxes()[0].text, BootLoader::kDataFailureText);
    EXPECT_EQ(boxes_.boxes()[0].caption, BootLoader::kDataFailureCaption);
}

TEST_F(BootLoaderTest, TheSampleContentBootsAndALongVersionIsCutInTheStoredTitle) {
    qel::Window::instance().setTitle("Vornhaldeen");
    VERSION = std::string(80, '9');
    BootLoader boot;
    EXPECT_EQ(boot.run(), BootLoader::Result::Done) << boot.failure();
    EXPECT_TRUE(boxes_.boxes().empty());
    const std::string title = qel::Window::instance().title();
    EXPECT_EQ(title.size(), BootLoader::kTitleBytes);
    EXPECT_EQ(title, BootLoader::versionTitle("Vornhaldeen").substr(0, BootLoader::kTitleBytes));
}

}  // namespace

namespace {

// Closing the game while the title still loads: the title stops the boot
// inside a script that never returns and joins its loader.
TEST_F(BootLoaderTest, ReleasingTheTitleWhileLoadingStopsAndJoinsTheLoader) {
    std::ofstream(dir_ / "forever.lua") << "while true do end\n";
    {
        PackageWriter writer(kScriptPackageFile);
        ASSERT_TRUE(writer.push((dir_ / "forever.lua").string(), "forever.lua"));
        ASSERT_TRUE(writer.close());
    }
    SceneTitle title;
    ASSERT_TRUE(title.init());
    title.update();
    title.release();
    EXPECT_FALSE(title.isLoaded());
    EXPECT_EQ(title.boot().result(), BootLoader::Result::Cancelled);
    title.update();  // nothing left to look at
    EXPECT_FALSE(title.isLoaded());
    EXPECT_TRUE(boxes_.boxes().empty());
}

}  // namespace
