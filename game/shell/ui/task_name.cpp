#include "game/shell/ui/task_name.h"

#include <algorithm>

#include "engine/core/register.h"
#include "engine/input/input_ime.h"
#include "engine/render/sprite_desc.h"
#include "engine/render/sys_render_line.h"
#include "engine/render/sys_render_sprite.h"
#include "engine/render/sys_render_text.h"
#include "engine/task/sys_task.h"
#include "game/shell/settings.h"
#include "game/shell/ui/outline.h"
#include "game/shell/ui/program_task.h"
#include "game/shell/ui/shell_keys.h"

namespace {

constexpr std::uint32_t kInputAndDraw = qel::TaskBase::kEventUpdate | qel::TaskBase::kEventDraw;

qel::InputIME& entry() {
    return qel::InputIME::instance();
}

}  // namespace

TaskName* TaskName::find() {
    return qel::Register<TaskName>::instance().getSingle();
}

TaskName* TaskName::get() {
    if (TaskName* name = find()) {
        name->setEventMask(name->getEventMask() & ~kInputAndDraw);
        entry().close();
        entry().setLine("");
        name->dirty_ = true;
        return name;
    }
    auto* name = new TaskName();
    name->target_ =
        target_view::make(kViewport, IMEWND_TEX_WIDTH, IMEWND_TEX_HEIGHT, IMEWND_BACKCOLOR);
    if (!name->target_) {
        delete name;
        return nullptr;
    }
    name = program_task::adopt(name, 0);
    if (name && !name->makeBox()) {
        name->kill();
        return nullptr;
    }
    return name;
}

int TaskName::entryY() {
    return IMEWND_TOP_SPACE + static_cast<int>(FONT_HEIGHT) + IMEWND_LINE_SPACE;
}

bool TaskName::makeBox() {
    // The line in white on the window's own background, framed in black.
    auto* box = new qel::TaskInputWindow(
        entry(), kFont, IMEWND_IME_X, entryY(), kViewport, static_cast<std::uint8_t>(layer_),
        qel::TaskInputWindow::Colours{Color::WHITE, Color::TRANSPARENT_BLACK, Color::BLACK});
    if (!qel::SysTask::instance().add(box, this)) {
        delete box;
        return false;
    }
    qel::registerSingle(box);
    box_ = box;
    placeBox();
    return true;
}

void TaskName::placeBox() {
    if (!box_) return;
    box_->setPlace(IMEWND_IME_X, entryY());
    box_->setLayer(static_cast<std::uint8_t>(layer_));
    box_->setWidth(std::max(width_, 1) - IMEWND_RIGHT_SPACE - IMEWND_IME_X);
}

TaskName::TaskName() {
    setEventMask(kEventAll & ~kInputAndDraw);
}

TaskName::~TaskName() {
    target_view::drop(kViewport, target_.get());
}

void TaskName::setTag(const char* caption) {
    caption_ = caption ? caption : "";
    dirty_ = true;
}

void TaskName::setDrawParam(float x, float y, int layer, int width) {
    x_ = x;
    y_ = y;
    layer_ = static_cast<float>(layer & 0xFF);
    width_ = width;
    placeBox();
    dirty_ = true;
}

void TaskName::open(const char* text, bool playSound, bool hiragana) {
    setEventMask(getEventMask() | kInputAndDraw);
    entry().start();
    entry().setLine(text ? text : "");
    if (playSound) shell_keys::requestSound(SE_OK);
    const int mode = hiragana ? kHiragana : kAlphanumeric;
    if (entry().conversionMode() != mode) entry().setConversionMode(mode);
    dirty_ = true;
}

void TaskName::close() {
    setEventMask(getEventMask() & ~kInputAndDraw);
    entry().close();
    caption_.clear();
    dirty_ = true;
}

std::string TaskName::getInput() {
    std::string line;
    return entry().takeFinished(line) ? line : std::string();
}

int TaskName::boxHeight() const {
    // The caption's line, then the entry box with its frame.
    const int entry = box_ ? box_->height() : static_cast<int>(FONT_HEIGHT) + 2;
    return entryY() + entry + IMEWND_BOTTOM_SPACE;
}

void TaskName::redraw() {
    target_->colorFill(IMEWND_BACKCOLOR.argb());
    qel::SysRenderText& text = qel::SysRenderText::instance();
    text.drawText(kFont, kViewport, IMEWND_TAG_X, IMEWND_TOP_SPACE, caption_, Color::WHITE);
    // The separator runs between the caption and the entry line.
    const int separator = IMEWND_TOP_SPACE + static_cast<int>(FONT_HEIGHT) + IMEWND_LINE_SPACE / 2;
    qel::LineDesc line;
    line.points[0] = Vector2(0.0f, static_cast<float>(separator));
    line.points[1] =
        Vector2(static_cast<float>(std::max(width_, 1) - 1), static_cast<float>(separator));
    line.colour = Color::WHITE;
    qel::SysRenderLine::instance().drawLine(kViewport, line);
    ui_outline::queueFrame(kViewport, width_, boxHeight(), Color::WHITE);
}

void TaskName::update() {
    if (entry().takeRefused()) shell_keys::requestSound(SE_CANCEL);
}

void TaskName::draw() {
    if (!target_) return;
    // The box draws itself into the window each frame; the window is made
    // afresh under it whenever the box's picture changed.
    if (dirty_ || (box_ && box_->revision() != drawnRevision_)) {
        redraw();
        drawnRevision_ = box_ ? box_->revision() : 0;
        dirty_ = false;
    }
    qel::SpriteDesc window;
    window.set(target_->getTexture(), x_, y_, 0, 0, std::max(width_, 1), boxHeight(),
               static_cast<std::uint8_t>(layer_), 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, Color::WHITE,
               target_view::kSourceOver, false);
    qel::SysRenderSprite::instance().draw(window, 0);
}

void TaskName::release() {
    target_view::drop(kViewport, target_.get());
    entry().close();
}
