// The start record the process entry hands to SysMain::run.
#pragma once

#include <cstdint>

namespace qel {

struct StartParams {
    void* instance = nullptr;           // kept for the record; nothing on this platform needs it
    void* previousInstance = nullptr;   // not used
    const char* commandLine = nullptr;  // not used
    int showCommand = 1;
    const char* title = "";      // window title and caption of start-up message boxes
    const char* mutexName = "";  // names the single-instance lock
    int width = 800;
    int height = 600;
    int framesPerSecond = 60;
    std::uint8_t flags = 0;
};

// Bits of StartParams::flags.
enum StartFlag : std::uint8_t {
    kStartFullscreen = 0x01,
    kStartMultisample = 0x02,
    kStartSingleInstance = 0x04,
    kStartDebugConsole = 0x08,
    kStartFullscreenWindow = 0x10,
    kStartLetterbox = 0x20,
    kStartMaximizeBox = 0x40,
    kStartVsync = 0x80,
};

}  // namespace qel
