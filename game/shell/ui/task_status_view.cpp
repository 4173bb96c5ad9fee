#include "game/shell/ui/task_status_view.h"

#include <algorithm>

#include "engine/core/register.h"
#include "engine/render/sprite_desc.h"
#include "engine/render/sys_camera.h"
#include "engine/render/sys_render_sprite.h"
#include "engine/render/sys_render_text.h"
#include "engine/render/viewport.h"
#include "engine/task/sys_task.h"
#include "game/shell/settings.h"
#include "game/shell/ui/icon_scale.h"
#include "game/world/game_data.h"
#include "game/world/object_player.h"
#include "game/world/script_call.h"

TaskStatusView* TaskStatusView::create(qel::TaskBase* scene) {
    // A second panel would take the first one's viewport slot.
    if (find()) return nullptr;
    auto* view = new TaskStatusView();
    if (!qel::SysTask::instance().add(view, scene)) {
        delete view;
        return nullptr;
    }
    qel::registerSingle(view);
    return view;
}

TaskStatusView* TaskStatusView::find() {
    return qel::Register<TaskStatusView>::instance().getSingle();
}

TaskStatusView::TaskStatusView() = default;

TaskStatusView::~TaskStatusView() {
    // Scripts may still hold the panel: their handle reads as deleted.
    release();
}

bool TaskStatusView::init() {
    release();
    target_ = target_view::make(kViewport, STATUS_VIEW_WIDTH, STATUS_VIEW_HEIGHT,
                                Color::TRANSPARENT_BLACK);
    if (!target_) return false;
    chips_ = target_view::chips();
    return true;
}

void TaskStatusView::release() {
    target_view::drop(kViewport, target_.get());
    target_.reset();
    chips_.reset();
}

void TaskStatusView::drawText(int x, int y, const char* text, Color colour) {
    qel::SysRenderText::instance().drawText(kFont, kViewport, x, y, text ? text : "", colour);
}

void TaskStatusView::drawText(const char* text, Color colour) {
    qel::SysRenderText::instance().drawTextAtPen(kFont, kViewport, text ? text : "", colour);
}

void TaskStatusView::drawChip(float x, float y, Point chip, Color colour) {
    if (!chips_) chips_ = target_view::chips();
    if (!chips_) return;
    ui_icon::queueChip(chips_->getTexture(), kViewport, chip, x, y, 0.0f, colour);
}

void TaskStatusView::draw() {
    if (!target_) return;
    ObjectPlayer* player = GameData::instance().getPlayer();
    if (player && (redraw_ || player->getUpdate())) {
        if (qel::Viewport* view = qel::SysCamera::instance().getViewport(kViewport))
            view->setClear(1, qel::kClearTarget, Color::TRANSPARENT_BLACK.argb(), 1.0f, 0);
        ScriptCall(script_callback::DrawStatusView)
            .object(player)
            .object(this, "TaskStatusView")
            .run();
        redraw_ = false;
        // The script may have taken the player away.
        if (ObjectPlayer* still = GameData::instance().getPlayer()) still->setUpdate(false);
    }
    qel::SpriteDesc sprite;
    sprite.set(target_->getTexture(), static_cast<float>(STATUS_VIEW_X),
               static_cast<float>(STATUS_VIEW_Y), 0, 0, std::max<int>(STATUS_VIEW_WIDTH, 1),
               std::max<int>(STATUS_VIEW_HEIGHT, 1), 0, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, Color::WHITE,
               target_view::kSourceOver, false);
    qel::SysRenderSprite::instance().draw(sprite, 0);
}
