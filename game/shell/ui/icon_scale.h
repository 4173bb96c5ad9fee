// How a map chip is drawn as an icon in the windows, lists, menus, the
// status view and the log's marker: scaled from the chip size to the icon
// size, filtered when that changes its size.
#pragma once

#include <cstdint>

namespace qel {
struct SpriteDesc;
}

namespace ui_icon {

// The state word a scaled icon draws with: linear filtering, blend mode 9.
inline constexpr std::uint32_t kScaledStateWord = 0x10009;

// Scales the sprite by ICON_WIDTH / CHIP_WIDTH and ICON_HEIGHT / CHIP_HEIGHT
// (a chip side of 0 counts as 1); when either is not exactly 1 the sprite
// also takes kScaledStateWord.
void setIconScale(qel::SpriteDesc& sprite);

}  // namespace ui_icon
