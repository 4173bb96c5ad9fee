// Sound through SDL's output as the program wires it, on SDL's dummy audio
// driver (or, without any, the silent clock-driven mixer): the subsystem in
// its main-loop slot starts, plays a sound to its end and stops, leaving no
// thread behind.
#include "platform/audio/sdl_audio_device.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "engine/resource/sys_resource.h"
#include "engine/sound/snd_player.h"
#include "engine/sound/sys_sound.h"
#include "engine/system/sys_main.h"
#include "tests/support/ogg_fixture.h"
#include "tests/support/scratch_folder.h"

namespace qel {
namespace {

namespace fs = std::filesystem;

std::size_t threadCount() {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/task")) ++n;
    return n;
}

TEST(SdlAudioDevice, SoundInItsSlotInitsPlaysAndTerms) {
    SysSound& sound = SysSound::instance();
    EXPECT_EQ(SysMain::instance().subsystem(SysMain::kSlotSound), &sound);
    test::ScratchFolder scratch;
    const fs::path file = scratch.path() / "sdl_audio.ogg";
    ASSERT_TRUE(test::writeBytes(file.string(), test::encodeSine(0.4, 44100, 2)));
    SysResource resources;
    ASSERT_TRUE(resources.init());
    const std::size_t before = threadCount();

    SdlAudioDevice device;
    sound.setAudioDevice(&device);
    sound.setResources(&resources);
    ASSERT_TRUE(sound.init());
    sound.setVolume(0.75f);
    SndPlayer* player = sound.play(file.string());
    ASSERT_NE(player, nullptr);
    EXPECT_TRUE(player->isReady());
    EXPECT_EQ(player->state(), SndPlayer::kPlaying);
    // The output runs on its own: wait, with a generous deadline, for the
    // refill thread to see the end go by.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (player->state() == SndPlayer::kPlaying && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(player->state(), SndPlayer::kStopped);
    sound.term();
    sound.setAudioDevice(nullptr);
    sound.setResources(nullptr);
    EXPECT_EQ(threadCount(), before);
    resources.term();
}

}  // namespace
}  // namespace qel
