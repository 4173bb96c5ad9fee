#include "game/shell/ui/task_direction.h"

#include <cmath>
#include <numbers>

#include "engine/core/register.h"
#include "engine/render/sprite_desc.h"
#include "engine/render/sys_render_sprite.h"
#include "engine/task/sys_task.h"
#include "game/shell/settings.h"
#include "game/shell/task_field.h"

namespace {

// Over everything on the map.
constexpr std::uint8_t kLayer = 255;

}  // namespace

TaskDirection* TaskDirection::show(qel::TaskBase* scene, ObjectBase* chara) {
    if (TaskDirection* shown = find()) return shown;
    auto* ring = new TaskDirection();
    ring->followed_.set(chara);
    if (!qel::SysTask::instance().add(ring, scene)) {
        delete ring;
        return nullptr;
    }
    qel::registerSingle(ring);
    return ring;
}

void TaskDirection::hide() {
    if (TaskDirection* shown = find()) shown->kill();
}

TaskDirection* TaskDirection::find() {
    return qel::Register<TaskDirection>::instance().getSingle();
}

TaskDirection::TaskDirection() = default;

TaskDirection::~TaskDirection() = default;

bool TaskDirection::init() {
    chips_ = target_view::chips();
    return true;
}

void TaskDirection::release() {
    chips_.reset();
}

void TaskDirection::update() {
    const std::uint32_t period = DIRECTION_BLINK_FRAME;
    phase_ = period == 0 ? 0 : static_cast<int>((static_cast<std::uint32_t>(phase_) + 1) % period);
}

std::uint32_t TaskDirection::alpha() const {
    if (mode_ == kSolid) return 255;
    if (mode_ != kPulsing) return 0;
    const std::uint32_t period = DIRECTION_BLINK_FRAME;
    if (period == 0) return 255;
    const double wave = 0.5 * std::sin(2.0 * std::numbers::pi * phase_ / period) + 0.5;
    return static_cast<std::uint32_t>(wave * 255.0);
}

void TaskDirection::draw() {
    if (!chips_ || (mode_ != kSolid && mode_ != kPulsing)) return;
    const Vector2 place = followed_.place(cell_);
    // The centre of the cell.
    const Vector2 at =
        place + Vector2(static_cast<float>(CHIP_WIDTH / 2), static_cast<float>(CHIP_HEIGHT / 2));
    qel::SpriteDesc sprite;
    sprite.set(chips_->getTexture(), at.x, at.y,
               static_cast<std::int32_t>(DIRECTION_CHIP_X * CHIP_WIDTH),
               static_cast<std::int32_t>(DIRECTION_CHIP_Y * CHIP_HEIGHT),
               static_cast<std::int32_t>(2 * CHIP_WIDTH),
               static_cast<std::int32_t>(2 * CHIP_HEIGHT), kLayer, 0.5f, 0.5f, 1.0f, 1.0f, 0.0f,
               Color(alpha() << 24 | 0xFFFFFFu), target_view::kSourceOver, false);
    qel::SysRenderSprite::instance().draw(sprite, TaskField::kLightViewport);
}
