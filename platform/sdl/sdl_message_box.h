// The window system's message box for MessageBox: Shift-JIS text converted
// to UTF-8 for SDL. Main thread only, as MessageBox guarantees.
#pragma once

#include <string>

namespace qel {

// Shows the box and returns when it is closed. Headless (SDL's dummy video
// driver) or when SDL cannot show it, the text goes to the standard error
// stream instead, so nothing waits for a box nobody can see.
void showSdlMessageBox(const std::string& text, const std::string& caption);

}  // namespace qel
