#include "game/shell/ui/icon_scale.h"

#include <algorithm>

#include "engine/render/sprite_desc.h"
#include "engine/render/sys_render_sprite.h"
#include "game/shell/settings.h"
#include "game/shell/ui/target_view.h"

namespace ui_icon {

void setIconScale(qel::SpriteDesc& sprite) {
    sprite.scaleX =
        static_cast<float>(ICON_WIDTH) / static_cast<float>(std::max<std::uint32_t>(CHIP_WIDTH, 1));
    sprite.scaleY = static_cast<float>(ICON_HEIGHT) /
                    static_cast<float>(std::max<std::uint32_t>(CHIP_HEIGHT, 1));
    if (sprite.scaleX != 1.0f || sprite.scaleY != 1.0f) sprite.stateWord = kScaledStateWord;
}

void queueChip(qel::ResTexture* chips, int viewport, Point chip, float x, float y, float anchorY,
               Color colour) {
    if (!chips) return;
    qel::SpriteDesc sprite;
    sprite.set(chips, x, y, chip.x * static_cast<std::int32_t>(CHIP_WIDTH),
               chip.y * static_cast<std::int32_t>(CHIP_HEIGHT),
               static_cast<std::int32_t>(CHIP_WIDTH), static_cast<std::int32_t>(CHIP_HEIGHT), 0,
               0.0f, anchorY, 1.0f, 1.0f, 0.0f, colour, target_view::kSourceOver, false);
    setIconScale(sprite);
    qel::SysRenderSprite::instance().draw(sprite, viewport);
}

}  // namespace ui_icon
