// Process entry: fills the start record and runs the engine.
//
// QEL_EXIT_AFTER_FRAMES=n ends the program after n frames, so that the real
// loop can run briefly headless (SDL_VIDEODRIVER=dummy).
#include <cstdlib>

#include "engine/system/sys_main.h"

int main() {
    qel::SysMain& app = qel::SysMain::instance();
    if (const char* frames = std::getenv("QEL_EXIT_AFTER_FRAMES")) {
        app.setFrameLimit(static_cast<std::uint32_t>(std::strtoul(frames, nullptr, 10)));
    }
    qel::StartParams params;
    params.showCommand = 1;
    params.title = "Vornhaldeen";
    params.mutexName = "Vornhaldeen";
    params.width = 800;
    params.height = 600;
    params.framesPerSecond = 60;
    params.flags = 0xE4;
    // The engine answers 1 after an orderly end and 0 when start-up failed.
    return app.run(params) == 1 ? EXIT_SUCCESS : EXIT_FAILURE;
}
