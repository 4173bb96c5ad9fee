#include "game/shell/ui/task_cursor.h"

#include "engine/core/register.h"
#include "engine/task/sys_task.h"
#include "game/shell/settings.h"
#include "game/shell/task_field.h"
#include "game/world/object_chara.h"

namespace {

constexpr std::uint8_t kLayer = 5;

}  // namespace

TaskCursor* TaskCursor::create(qel::TaskBase* scene, ObjectBase* chara) {
    if (find()) return nullptr;
    auto* cursor = new TaskCursor();
    cursor->setChara(chara);
    if (!qel::SysTask::instance().add(cursor, scene)) {
        delete cursor;
        return nullptr;
    }
    qel::registerSingle(cursor);
    return cursor;
}

TaskCursor* TaskCursor::find() {
    return qel::Register<TaskCursor>::instance().getSingle();
}

TaskCursor::TaskCursor() : TaskBlinkObject(TaskField::kLightViewport) {}

TaskCursor::~TaskCursor() {
    // Scripts may still hold the cursor: their handle reads as deleted.
}

void TaskCursor::setPos(const Point& cell) {
    cell_ = cell;
    followed_.set(nullptr);
    setPhase(0);
}

ObjectChara* TaskCursor::getChara() const {
    return qel::classCast<ObjectChara>(followed_.get());
}

void TaskCursor::setState(int mode) {
    setMode(mode);
    setPhase(0);
}

Vector2 TaskCursor::getPosition() const {
    const Vector2 place = followed_.place(cell_);
    // The bottom centre of the cell.
    return place + Vector2(static_cast<float>(CHIP_WIDTH / 2), static_cast<float>(CHIP_HEIGHT));
}

void TaskCursor::setSprite(qel::SpriteDesc& sprite) const {
    // No texture: one white pixel stretched to the cursor's size.
    sprite.width = 1;
    sprite.height = 1;
    sprite.scaleX = static_cast<float>(CURSOR_WIDTH);
    sprite.scaleY = static_cast<float>(CURSOR_HEIGHT);
    sprite.anchorX = 0.5f;
    sprite.anchorY = 1.0f;
    // Over the floor the map view copies in (layer 0), under every object.
    sprite.kind = 7;
    sprite.layer = kLayer;
}
