// The real program's idle game frame, headless: the engine started as the
// program's entry starts it (the game's hooks, the sample content, the
// software device) behind a fake window, a new adventurer made through the
// opening by the keyboard as a player would, and then frames timed on the
// first floor while nothing happens (the player thinks; no turn passes).
// Each iteration is one frame of the game thread: update, draw and the
// hand-over to the window (through the window's mailbox). Goal: half the CPU of a frame before the
// tinted sprites, the magnified map copy, the clears and the hand-over were made fast.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bindings/script_bindings.h"
#include "engine/file/file_system.h"
#include "engine/gfx/font.h"
#include "engine/resource/sys_resource.h"
#include "engine/system/sys_main.h"
#include "engine/task/sys_scene.h"
#include "game/shell/boot_loader.h"
#include "game/shell/game_hooks.h"
#include "game/shell/game_probes.h"
#include "game/shell/scene_game.h"
#include "platform/dev/input_script.h"
#include "platform/font/font_face.h"
#include "platform/gfx/software_graphics_device.h"
#include "platform/image/stb_image_decoder.h"
#include "platform/os/posix_file_system.h"
#include "platform/sdl/frame_mailbox.h"
#include "tests/support/fake_window_backend.h"
#include "tests/support/sample_content.h"

namespace {

// From the title to the first floor: Enter at the title, then a new
// adventurer of the first race and class with the default name.
constexpr const char* kToTheFirstFloor =
    "until 3000 ready\npress Enter\nuntil 300 scene SceneOpening\n"
    "wait 5\npress Enter\nwait 5\npress Enter\nwait 5\npress Enter\nwait 5\n"
    "press Enter\nwait 5\npress Enter\nwait 5\npress Enter\n"
    "until 300 scene SceneGame\nwait 30\n";

// The fake window hands frames over as the real one does, through the
// mailbox; the window thread's take (a swap) follows at once.
class MailboxWindow final : public qel::test::FakeWindowBackend {
public:
    void postFrame(std::vector<std::uint32_t>& frame, int width, int height) override {
        mailbox_.post(frame, width, height);
        int w = 0;
        int h = 0;
        mailbox_.take(shown_, w, h);
        benchmark::DoNotOptimize(shown_.data());
    }

private:
    qel::FrameMailbox mailbox_;
    std::vector<std::uint32_t> shown_;
};

qel::SysMain::CreatedDevice createSoftwareDevice(int, int width, int height) {
    qel::SoftwareGraphicsDevice::Created made = qel::SoftwareGraphicsDevice::create(width, height);
    return {std::move(made.device), made.error};
}

class IdleGame {
public:
    IdleGame() : script_(nullptr) {
        qel::FileSystem::install(&qel::PosixFileSystem::instance());
        qel::Font::setFactory(&qel::FontFace::create);
        content_ = std::make_unique<qel::test::SampleContent>();
        std::string error;
        if (!script_.parse(kToTheFirstFloor, &error)) {
            error_ = error;
            return;
        }
        qel::SysResource::instance().setImageDecoder(&decoder_);
        qel::SysMain& app = qel::SysMain::instance();
        app.setInputSource(&script_);
        game_probes::installGameProbes();
        app.setWindowBackend(&backend_);
        app.setDeviceFactory(&createSoftwareDevice);
        app.setThrottled(false);
        game_hooks::setStartSeed(5);
        game_hooks::installGameHooks();
        BootLoader::setScriptInterface(&openScriptBindings);
        qel::StartParams params;
        params.title = "Vornhaldeen";
        params.width = 800;
        params.height = 600;
        params.framesPerSecond = 60;
        if (!app.startPlatform(params)) {
            error_ = "the engine did not start";
            return;
        }
        started_ = true;
        for (int frame = 0; frame < 20000 && !script_.finished(); ++frame) {
            if (!this->frame()) {
                error_ = "the program ended on its way to the first floor";
                return;
            }
        }
        if (!script_.finished()) error_ = "the first floor never came";
    }
    ~IdleGame() {
        if (!started_) return;
        qel::SysMain& app = qel::SysMain::instance();
        app.requestQuit();
        app.term();
        // Then as the program's entry ends: the world, then the scripts.
        game_hooks::closeGame();
        // The content's fixture would unload the boot's tables and scripts a
        // second time: only its folder goes.
        const std::filesystem::path folder = content_->folder();
        std::filesystem::current_path(folder.parent_path());
        (void)content_.release();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    const std::string& error() const { return error_; }

    bool frame() {
        qel::SysMain& app = qel::SysMain::instance();
        if (!app.update()) return false;
        app.renderFrame();
        return true;
    }

private:
    std::unique_ptr<qel::test::SampleContent> content_;
    qel::InputScript script_;
    qel::StbImageDecoder decoder_;
    MailboxWindow backend_;
    std::string error_;
    bool started_ = false;
};

void BM_IdleGameFrame(benchmark::State& state) {
    IdleGame game;
    if (!game.error().empty()) {
        state.SkipWithError(game.error().c_str());
        return;
    }
    for (auto _ : state) {
        if (!game.frame()) {
            state.SkipWithError("the program ended");
            break;
        }
    }
}
BENCHMARK(BM_IdleGameFrame)->Unit(benchmark::kMicrosecond)->Iterations(3000);

}  // namespace
