// Runs the real program headless (SDL's dummy drivers) for a few frames.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/os/file_instance_lock.h"
#include "tests/support/scratch_folder.h"

namespace qel {
namespace {

struct MainProgram : ::testing::Test {
    test::ScratchFolder scratch;
    const std::filesystem::path& dir = scratch.path();

    // The program's exit code; its error output lands in `errors`. `video`
    // is how the environment sets the video driver.
    int run(int frames, std::string& errors, const std::string& video = "SDL_VIDEODRIVER=dummy") {
        std::filesystem::path err = dir / "stderr.txt";
        std::string command = "env " + video + " SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR='" +
                              dir.string() + "' QEL_EXIT_AFTER_FRAMES=" + std::to_string(frames) +
                              " '" QEL_GAME_PROGRAM "' 2>'" + err.string() + "'";
        int status = std::system(command.c_str());
        std::ifstream in(err);
        std::stringstream text;
        text << in.rdbuf();
        errors = text.str();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
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

TEST_F(MainProgram, ASecondCopyIsRefusedWithItsMessage) {
    FileInstanceLock running;
    ASSERT_TRUE(running.acquire("Vornhaldeen", dir.string()));
    std::string errors;
    EXPECT_EQ(run(10, errors), 1);
    // Headless, the message box text goes to the error output in UTF-8.
    EXPECT_NE(errors.find(reinterpret_cast<const char*>(u8"多重起動は出来ません。")),
              std::string::npos)
        << errors;
}

}  // namespace
}  // namespace qel
