// Icons: a chip scaled from the chip size to the icon size, filtered only
// when that changes its size.
#include "game/shell/ui/icon_scale.h"

#include <gtest/gtest.h>

#include "engine/render/sprite_desc.h"
#include "game/shell/settings.h"

namespace {

TEST(IconScale, ScalesChipsToIconsAndFiltersOnlyWhenScaled) {
    struct Case {
        std::uint32_t chipW, chipH, iconW, iconH;
        float scaleX, scaleY;
        std::uint32_t stateWord;
    } cases[] = {
        {16, 16, 16, 16, 1.0f, 1.0f, 1},  // the word it had
        {16, 16, 32, 32, 2.0f, 2.0f, ui_icon::kScaledStateWord},
        {16, 16, 16, 8, 1.0f, 0.5f, ui_icon::kScaledStateWord},
        {0, 16, 4, 16, 4.0f, 1.0f, ui_icon::kScaledStateWord},  // a chip side of 0 counts as 1
    };
    for (const Case& c : cases) {
        CHIP_WIDTH = c.chipW;
        CHIP_HEIGHT = c.chipH;
        ICON_WIDTH = c.iconW;
        ICON_HEIGHT = c.iconH;
        qel::SpriteDesc sprite;
        sprite.stateWord = 1;
        ui_icon::setIconScale(sprite);
        EXPECT_FLOAT_EQ(sprite.scaleX, c.scaleX) << c.chipW << " " << c.iconW;
        EXPECT_FLOAT_EQ(sprite.scaleY, c.scaleY) << c.chipH << " " << c.iconH;
        EXPECT_EQ(sprite.stateWord, c.stateWord) << c.iconW << "x" << c.iconH;
    }
    resetSettings();
}

}  // namespace
