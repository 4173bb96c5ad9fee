#include "game/shell/ui/task_blink_object.h"

#include "engine/render/sys_render_sprite.h"
#include "game/shell/settings.h"

namespace {

std::uint32_t blinkCycle() {
    return CURSOR_BLINK_ON + CURSOR_BLINK_OFF;
}

}  // namespace

bool TaskBlinkObject::isVisible() const {
    if (mode_ == kShown) return true;
    if (mode_ != kBlinking) return false;
    // A cycle of 0 frames shows the marker steadily.
    return blinkCycle() == 0 || static_cast<std::uint32_t>(phase_) < CURSOR_BLINK_ON;
}

void TaskBlinkObject::update() {
    const std::uint32_t cycle = blinkCycle();
    phase_ = cycle == 0 ? 0 : static_cast<int>((static_cast<std::uint32_t>(phase_) + 1) % cycle);
}

void TaskBlinkObject::draw() {
    if (!isVisible()) return;
    qel::SpriteDesc sprite;
    const Vector2 at = getPosition();
    sprite.x = at.x;
    sprite.y = at.y;
    sprite.setTexture(texture_ ? texture_->getTexture() : nullptr);
    sprite.stateWord = target_view::kSourceOver;
    setSprite(sprite);
    qel::SysRenderSprite::instance().draw(sprite, viewport_);
}
