#include "game/shell/ui/icon_scale.h"

#include <algorithm>

#include "engine/render/sprite_desc.h"
#include "game/shell/settings.h"

namespace ui_icon {

void setIconScale(qel::SpriteDesc& sprite) {
    sprite.scaleX =
        static_cast<float>(ICON_WIDTH) / static_cast<float>(std::max<std::uint32_t>(CHIP_WIDTH, 1));
    sprite.scaleY = static_cast<float>(ICON_HEIGHT) /
                    static_cast<float>(std::max<std::uint32_t>(CHIP_HEIGHT, 1));
    if (sprite.scaleX != 1.0f || sprite.scaleY != 1.0f) sprite.stateWord = kScaledStateWord;
}

}  // namespace ui_icon
