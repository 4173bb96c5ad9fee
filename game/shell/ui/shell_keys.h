// Key tests and sounds the shell's menus and lists share.
#pragma once

#include <string>

namespace shell_keys {

// Windows virtual-key codes the lists and menus read.
constexpr int kEnter = 13;
constexpr int kShift = 16;
constexpr int kEscape = 27;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kDelete = 46;

// Escape or Delete went down this frame; then SE_CANCEL is requested.
bool pushCancel();
// Asks the sound-effect manager for the sound; nothing for an empty name.
void requestSound(const std::string& name);

}  // namespace shell_keys
