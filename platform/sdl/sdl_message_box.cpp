#include "platform/sdl/sdl_message_box.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "engine/core/log.h"
#include "platform/os/cp932.h"
#include "platform/sdl/drawn_message_box.h"

namespace qel {

namespace {

// A headless run (a video driver asked for that is no window system's, as
// dummy or offscreen) must never wait for a box nobody can see: SDL would
// still open one on an X display it finds.
bool headless() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    return driver && *driver && std::strcmp(driver, "x11") != 0 &&
           std::strcmp(driver, "wayland") != 0;
}

}  // namespace

void showSdlMessageBox(const std::string& text, const std::string& caption) {
    std::string utf8Text = Cp932::toUtf8(text);
    std::string utf8Caption = Cp932::toUtf8(caption);
    if (!headless() && SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, utf8Caption.c_str(),
                                                utf8Text.c_str(), nullptr) == 0)
        return;
    // The log converts its lines at the stream.
    qel::logMessage("%s: %s", caption.c_str(), text.c_str());
    if (headless()) return;
    DrawnMessageBox box{text, caption, {{"OK", true, true}}};
    box.show();
}

MessageBox::Choice askSdlRetry(const std::string& text, const std::string& caption) {
    std::string utf8Text = Cp932::toUtf8(text);
    std::string utf8Caption = Cp932::toUtf8(caption);
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
    if (!headless() && SDL_ShowMessageBox(&box, &pressed) == 0)
        return pressed == 1 ? MessageBox::Choice::Retry : MessageBox::Choice::Cancel;
    qel::logMessage("%s: %s", caption.c_str(), text.c_str());
    // Nobody to answer, or no box at all: Cancel, so a retry loop ends.
    if (headless()) return MessageBox::Choice::Cancel;
    DrawnMessageBox drawn{text, caption, {{"Retry", true, false}, {"Cancel", false, true}}};
    return drawn.show() == 0 ? MessageBox::Choice::Retry : MessageBox::Choice::Cancel;
}

}  // namespace qel
