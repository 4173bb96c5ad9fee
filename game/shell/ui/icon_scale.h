// How a map chip is drawn as an icon in the windows, lists, menus, the
// status view and the log's marker: scaled from the chip size to the icon
// size, filtered when that changes its size.
#pragma once

#include <cstdint>

#include "game/world/value_types.h"

namespace qel {
class ResTexture;
struct SpriteDesc;
}  // namespace qel

namespace ui_icon {

// The state word a scaled icon draws with: linear filtering, blend mode 9.
inline constexpr std::uint32_t kScaledStateWord = 0x10009;

// Scales the sprite by ICON_WIDTH / CHIP_WIDTH and ICON_HEIGHT / CHIP_HEIGHT
// (a chip side of 0 counts as 1); when either is not exactly 1 the sprite
// also takes kScaledStateWord.
void setIconScale(qel::SpriteDesc& sprite);

// Queues the chip of the sheet at (x, y) in the viewport as an icon, its top
// left there (anchorY moves it up by that much of its height), on layer 0.
// Nothing without a sheet.
void queueChip(qel::ResTexture* chips, int viewport, Point chip, float x, float y, float anchorY,
               Color colour);

}  // namespace ui_icon
