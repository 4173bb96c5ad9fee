// Key tests and sounds the shell's menus and lists share.
#pragma once

#include <string>

// The keys themselves are named in engine/input/key_code.h (qel::KEY_*).
#include "engine/input/key_code.h"

namespace shell_keys {

// Escape or Delete went down this frame; then SE_CANCEL is requested.
bool pushCancel();
// Asks the sound-effect manager for the sound; nothing for an empty name.
void requestSound(const std::string& name);

}  // namespace shell_keys
