#include "game/shell/ui/task_window.h"

#include <algorithm>

#include "engine/core/register.h"
#include "engine/render/sprite_desc.h"
#include "engine/render/sys_render_line.h"
#include "engine/render/sys_render_sprite.h"
#include "engine/render/sys_render_text.h"
#include "game/shell/settings.h"
#include "game/shell/ui/icon_scale.h"
#include "game/shell/ui/outline.h"
#include "game/shell/ui/program_task.h"

TaskWindow* TaskWindow::find(int number) {
    if (number < 0 || number >= kCount) return nullptr;
    return qel::Register<TaskWindow>::instance().Find(number);
}

TaskWindow* TaskWindow::get(int number) {
    if (number < 0 || number >= kCount) return nullptr;
    if (TaskWindow* window = find(number)) {
        window->close();
        return window;
    }
    auto* window = new TaskWindow();
    const Point size = WINDOW_TEX_SIZE[number];
    if (!window->make(number, size.x, size.y)) {
        delete window;
        return nullptr;
    }
    return program_task::adopt(window, number);
}

TaskWindow::TaskWindow() {
    // Hidden until opened; a window reads no input.
    setEventMask(0);
}

TaskWindow::~TaskWindow() {
    // Scripts may still hold the window: their handle reads as deleted.
    target_view::drop(viewport(), target_.get());
}

bool TaskWindow::make(int number, int width, int height) {
    number_ = number;
    texWidth_ = std::max(width, 1);
    texHeight_ = std::max(height, 1);
    target_ =
        target_view::make(ViewportInfo::window(number), texWidth_, texHeight_, WINDOW_BACKCOLOR);
    return target_ != nullptr;
}

std::uint32_t TaskWindow::calWidth(int chars) {
    return static_cast<std::uint32_t>(FONT_WIDTH * static_cast<std::uint32_t>(chars) +
                                      static_cast<std::uint32_t>(WINDOW_LEFT_SPACE) +
                                      static_cast<std::uint32_t>(WINDOW_RIGHT_SPACE));
}

std::uint32_t TaskWindow::calHeight(int lines) {
    const std::uint32_t line = FONT_HEIGHT + static_cast<std::uint32_t>(WINDOW_LINE_SPACE);
    return line * static_cast<std::uint32_t>(lines) -
           static_cast<std::uint32_t>(WINDOW_LINE_SPACE) +
           static_cast<std::uint32_t>(WINDOW_TOP_SPACE) +
           static_cast<std::uint32_t>(WINDOW_BOTTOM_SPACE);
}

void TaskWindow::setDrawParam(float x, float y, int layer, int width, int height) {
    x_ = x;
    y_ = y;
    layer_ = static_cast<float>(layer & 0xFF);
    width_ = width;
    height_ = height;
}

void TaskWindow::clear() {
    clear(WINDOW_BACKCOLOR);
}

void TaskWindow::clear(Color colour) {
    if (target_) target_->colorFill(colour.argb());
}

void TaskWindow::drawText(int x, int y, const char* text, Color colour, int font) {
    qel::SysRenderText::instance().drawText(font, viewport(), x, y, text ? text : "", colour);
}

void TaskWindow::drawText(const char* text, Color colour, int font) {
    qel::SysRenderText::instance().drawTextAtPen(font, viewport(), text ? text : "", colour);
}

void TaskWindow::drawLine(int x1, int y1, int x2, int y2, Color colour) {
    qel::LineDesc line;
    line.points[0] = Vector2(static_cast<float>(x1), static_cast<float>(y1));
    line.points[1] = Vector2(static_cast<float>(x2), static_cast<float>(y2));
    line.count = 2;
    line.colour = colour;
    qel::SysRenderLine::instance().drawLine(viewport(), line);
}

void TaskWindow::drawRect(int x1, int y1, int x2, int y2, Color colour) {
    ui_outline::queueRect(viewport(), x1, y1, x2, y2, colour);
}

void TaskWindow::drawFrame(Color colour) {
    ui_outline::queueFrame(viewport(), texWidth_, texHeight_, colour);
}

void TaskWindow::drawChip(float x, float y, Point chip, Color colour) {
    if (!chips_) chips_ = target_view::chips();
    if (!chips_) return;
    ui_icon::queueChip(chips_->getTexture(), viewport(), chip, x, y, 0.0f, colour);
}

void TaskWindow::draw() {
    if (!target_) return;
    qel::SpriteDesc sprite;
    sprite.set(target_->getTexture(), x_, y_, 0, 0, std::max(width_, 1), std::max(height_, 1),
               static_cast<std::uint8_t>(layer_), 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, Color::WHITE,
               target_view::kSourceOver, false);
    qel::SysRenderSprite::instance().draw(sprite, 0);
}

void TaskWindow::release() {
    target_view::drop(viewport(), target_.get());
    chips_.reset();
}
