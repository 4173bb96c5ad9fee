#include "platform/sdl/sdl_message_box.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "engine/core/log.h"
#include "platform/os/cp932.h"

namespace qel {

void showSdlMessageBox(const std::string& text, const std::string& caption) {
    std::string utf8Text = Cp932::toUtf8(text);
    std::string utf8Caption = Cp932::toUtf8(caption);
    // A headless run must never wait for a box nobody can see (SDL would
    // still open one on an X display it finds).
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    bool headless = driver && std::strcmp(driver, "dummy") == 0;
    if (headless || SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, utf8Caption.c_str(),
                                             utf8Text.c_str(), nullptr) != 0) {
        // The log converts its lines at the stream.
        qel::logMessage("%s: %s", caption.c_str(), text.c_str());
    }
}

MessageBox::Choice askSdlRetry(const std::string& text, const std::string& caption) {
    std::string utf8Text = Cp932::toUtf8(text);
    std::string utf8Caption = Cp932::toUtf8(caption);
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    const bool headless = driver && std::strcmp(driver, "dummy") == 0;
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Retry"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "Cancel"},
    };
    const SDL_MessageBoxData box = {SDL_MESSAGEBOX_WARNING,
                                    nullptr,
                                    utf8Caption.c_str(),
                                    utf8Text.c_str(),
                                    2,
                                    buttons,
                                    nullptr};
    int pressed = 0;
    // Nobody to answer, or no box: Cancel, so a retry loop ends.
    if (headless || SDL_ShowMessageBox(&box, &pressed) != 0) {
        qel::logMessage("%s: %s", caption.c_str(), text.c_str());
        return MessageBox::Choice::Cancel;
    }
    return pressed == 1 ? MessageBox::Choice::Retry : MessageBox::Choice::Cancel;
}

}  // namespace qel
