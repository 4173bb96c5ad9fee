// The window system's message box for MessageBox: Shift-JIS text converted
// to UTF-8 for SDL. Main thread only, as MessageBox guarantees.
#pragma once

#include <string>

#include "engine/system/message_box.h"

namespace qel {

// Shows the box and returns when it is closed. When SDL cannot show its
// own box (no core fonts on X11, no zenity on Wayland) the program draws one
// in a window of its own (DrawnMessageBox), and the text goes to the
// standard error stream too. Headless (SDL_VIDEODRIVER naming a driver that
// is no window system's, as dummy or offscreen) the text goes to the
// standard error stream only, so nothing waits for a box nobody can see.
void showSdlMessageBox(const std::string& text, const std::string& caption);
// A box with Retry and Cancel; Cancel when no box can be shown.
MessageBox::Choice askSdlRetry(const std::string& text, const std::string& caption);

}  // namespace qel
