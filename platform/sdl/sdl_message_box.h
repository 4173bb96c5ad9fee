// The window system's message box for MessageBox: Shift-JIS text converted
// to UTF-8 for SDL. Main thread only, as MessageBox guarantees.
#pragma once

#include <string>

#include "engine/system/message_box.h"

namespace qel {

// Shows the box and returns when it is closed. Headless (SDL's dummy video
// driver) or when SDL cannot show it, the text goes to the standard error
// stream instead, so nothing waits for a box nobody can see.
void showSdlMessageBox(const std::string& text, const std::string& caption);
// A box with Retry and Cancel; Cancel when no box can be shown.
MessageBox::Choice askSdlRetry(const std::string& text, const std::string& caption);

}  // namespace qel
