// Process entry: gives the engine the operating system's files, fonts,
// window, graphics device, message boxes and instance lock, fills the start record
// and runs the engine.
//
// QEL_EXIT_AFTER_FRAMES=n ends the program after n frames, so that the real
// loop can run briefly headless (SDL_VIDEODRIVER=dummy); QEL_START_SCRIPT=file
// runs that Lua file once the boot is done and enters the game scene
// without Enter; QEL_SEED=n seeds the random generator with n instead of the
// time; QEL_UNTHROTTLED=1 runs frames without waiting for their time (the
// network requests' clock then counts frames, 1/60 s each, or
// QEL_FRAME_CLOCK_MS=n milliseconds each, and the title waits for the boot);
// QEL_INPUT_SCRIPT=file plays the keyboard from that file (input_script.h);
// QEL_SCREENSHOT=file.png writes the last frame drawn as the program ends.
#include <cstdlib>
#include <string>
#include <string_view>

#include "bindings/script_bindings.h"
#include "engine/core/clock.h"
#include "engine/core/log.h"
#include "engine/core/register.h"
#include "engine/file/file_system.h"
#include "engine/gfx/font.h"
#include "engine/net/sys_socket_client.h"
#include "engine/resource/sys_resource.h"
#include "engine/script/sys_lua.h"
#include "engine/sound/sys_sound.h"
#include "engine/system/message_box.h"
#include "engine/system/sys_main.h"
#include "engine/task/sys_scene.h"
#include "game/shell/boot_loader.h"
#include "game/shell/game_hooks.h"
#include "game/shell/game_probes.h"
#include "game/shell/net/task_socket_mng.h"
#include "game/shell/save/save_data.h"
#include "game/shell/scene_game.h"
#include "game/shell/scene_title.h"
#include "platform/audio/sdl_audio_device.h"
#include "platform/dev/input_script.h"
#include "platform/font/font_face.h"
#include "platform/gfx/png_writer.h"
#include "platform/gfx/software_graphics_device.h"
#include "platform/image/stb_image_decoder.h"
#include "platform/net/posix_socket_api.h"
#include "platform/os/file_instance_lock.h"
#include "platform/os/posix_file_system.h"
#include "platform/os/utf8_log.h"
#include "platform/sdl/sdl_message_box.h"
#include "platform/sdl/sdl_window.h"

namespace {

// QEL_START_SCRIPT: run once the boot is done, then straight into the game.
const char* g_startScript = nullptr;

void runStartScript() {
    if (!qel::SysLua::instance().runFile(g_startScript)) {
        const char* error = qel::SysLua::instance().lastError();
        qel::logMessage("%s: %s", g_startScript, error ? error : "cannot be run");
    }
    if (qel::SysScene* scenes = qel::Register<qel::SysScene>::instance().getSingle())
        scenes->requestChange(&SceneGame::staticClassInfo());
}

// QEL_SCREENSHOT: the back buffer as the game thread ends, before the
// device goes.
const char* g_screenshot = nullptr;

void shutdownWithScreenshot() {
    qel::GraphicsDevice* device = qel::SysMain::instance().device();
    if (!device || !qel::PngWriter::write(device->backBuffer(), g_screenshot))
        qel::logMessage("%s: the screenshot cannot be written", g_screenshot);
    game_hooks::gameShutdownHook();
}

constexpr int kFramesPerSecond = 60;

// QEL_UNTHROTTLED: the network requests' polls and idle links keep game
// time, one frame a sixtieth of a second (or QEL_FRAME_CLOCK_MS, so that a
// scripted run can pass minutes in a few frames), whatever the machine's
// speed.
class FrameClock final : public qel::Clock {
public:
    void setFrameMs(std::uint32_t ms) { frameNs_ = std::int64_t{ms} * 1000000; }
    std::int64_t nowNanoseconds() override {
        return static_cast<std::int64_t>(qel::SysMain::instance().frameCounter()) * frameNs_;
    }
    void sleepMilliseconds(std::uint32_t /*ms*/) override {}

private:
    std::int64_t frameNs_ = 1000000000 / kFramesPerSecond;
};

qel::SysMain::CreatedDevice createSoftwareDevice(int /*attempt*/, int width, int height) {
    qel::SoftwareGraphicsDevice::Created made = qel::SoftwareGraphicsDevice::create(width, height);
    return {std::move(made.device), made.error};
}

}  // namespace

int main() {
    qel::FileSystem::install(&qel::PosixFileSystem::instance());
    qel::setLogSink(&qel::writeUtf8LogLine);
    qel::Font::setFactory(&qel::FontFace::create);
    qel::SysMain& app = qel::SysMain::instance();
    if (const char* frames = std::getenv("QEL_EXIT_AFTER_FRAMES")) {
        app.setFrameLimit(static_cast<std::uint32_t>(std::strtoul(frames, nullptr, 10)));
    }
    if (const char* seed = std::getenv("QEL_SEED"))
        game_hooks::setStartSeed(static_cast<std::uint32_t>(std::strtoul(seed, nullptr, 10)));
    static FrameClock frameClock;
    if (const char* unthrottled = std::getenv("QEL_UNTHROTTLED");
        unthrottled && std::string_view(unthrottled) == "1") {
        app.setThrottled(false);
        if (const char* ms = std::getenv("QEL_FRAME_CLOCK_MS"))
            frameClock.setFrameMs(static_cast<std::uint32_t>(std::strtoul(ms, nullptr, 10)));
        TaskSocketMng::setClock(&frameClock);
    }
    qel::SdlWindow window;
    qel::InputScript inputScript(&window);
    if (const char* script = std::getenv("QEL_INPUT_SCRIPT")) {
        std::string error;
        if (!inputScript.load(script, &error)) {
            qel::logMessage("%s", error.c_str());
            return 2;
        }
        app.setInputSource(&inputScript);
        game_probes::installGameProbes();
    }
    qel::FileInstanceLock instanceLock;
    qel::StbImageDecoder imageDecoder;
    qel::MessageBox::setDisplay(&qel::showSdlMessageBox);
    qel::MessageBox::setAskDisplay(&qel::askSdlRetry);
    qel::SysResource::instance().setImageDecoder(&imageDecoder);
    app.setWindowBackend(&window);
    app.setDeviceFactory(&createSoftwareDevice);
    app.setInstanceLock(&instanceLock);
    // One copy per save folder: copies in folders of their own run side by side.
    app.setInstanceLockDirectory(SaveData::kRoot);
    qel::SysSocketClient::instance().setSocketApi(&qel::PosixSocketApi::instance());
    qel::SdlAudioDevice audio;
    qel::SysSound::instance().setAudioDevice(&audio);

    game_hooks::installGameHooks();
    if ((g_screenshot = std::getenv("QEL_SCREENSHOT")))
        app.setGameShutdownHook(&shutdownWithScreenshot);
    if ((g_startScript = std::getenv("QEL_START_SCRIPT")))
        SceneTitle::setLoadedHook(&runStartScript);
    BootLoader::setScriptInterface(&openScriptBindings);

    qel::StartParams params;
    params.showCommand = 1;
    params.title = "Vornhaldeen";
    params.mutexName = "Vornhaldeen";
    params.width = 800;
    params.height = 600;
    params.framesPerSecond = kFramesPerSecond;
    params.flags = qel::kStartSingleInstance | qel::kStartLetterbox | qel::kStartMaximizeBox |
                   qel::kStartVsync;
    // The engine answers 1 after an orderly end and 0 when start-up failed;
    // an orderly end after a failed boot carries the game's exit code.
    const int ran = app.run(params);
    game_hooks::closeGame();
    return ran == 1 ? app.exitCode() : EXIT_FAILURE;
}
