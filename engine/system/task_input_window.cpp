#include "engine/system/task_input_window.h"

#include <algorithm>
#include <cstddef>

#include "engine/file/string_util.h"
#include "engine/gfx/graphics_device.h"
#include "engine/render/sprite_desc.h"
#include "engine/render/sys_camera.h"
#include "engine/render/sys_render_line.h"
#include "engine/render/sys_render_sprite.h"
#include "engine/render/sys_render_text.h"
#include "engine/render/viewport.h"
#include "engine/resource/render_target.h"
#include "engine/resource/sys_resource.h"

namespace qel {

namespace {

constexpr int kSmallestWidth = 8;
// The text starts inside the frame and a pixel's gap.
constexpr int kTextX = 2;
constexpr int kTextY = 1;
// The box's sprites come after the owner's text, lines and sprites.
constexpr std::uint32_t kAfterText = 10;
constexpr std::uint32_t kSourceOver = 1;

// The start of the character that holds byte `at` (scanning from the start).
std::size_t boundaryAtOrBefore(const std::string& text, std::size_t at) {
    std::size_t i = 0;
    while (i < at && i < text.size()) {
        const std::size_t next = i + sjisCharSize(text, i);
        if (next > at) break;
        i = next;
    }
    return i;
}

// The start of the character that ends at `end`.
std::size_t previousBoundary(const std::string& text, std::size_t end) {
    std::size_t i = 0;
    std::size_t last = 0;
    while (i < end) {
        last = i;
        i += sjisCharSize(text, i);
    }
    return last;
}

void queueSprite(int viewport, float x, float y, int width, int height, std::uint8_t layer,
                 Color colour, ResTexture* texture) {
    SpriteDesc sprite;
    sprite.set(texture, x, y, 0, 0, width, height, layer, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, colour,
               kSourceOver, false);
    sprite.kind = kAfterText;
    SysRenderSprite::instance().draw(sprite, viewport);
}

}  // namespace

void TaskInputWindow::DeleteHandle::operator()(RenderTarget* handle) const {
    delete handle;
}

TaskInputWindow::TaskInputWindow(InputIME& entry, int fontId, int x, int y, int viewport,
                                 std::uint8_t layer, Colours colours)
    : entry_(entry),
      fontId_(fontId),
      x_(x),
      y_(y),
      viewport_(viewport),
      layer_(layer),
      colours_(colours) {}

TaskInputWindow::~TaskInputWindow() {
    release();
}

void TaskInputWindow::setWidth(int width) {
    const int fitted = std::clamp(width, kSmallestWidth, 1 << 14);
    if (fitted == width_) return;
    width_ = fitted;
    dirty_ = true;
}

int TaskInputWindow::height() const {
    const SysRenderText::FontRecord* font = SysRenderText::instance().findFont(fontId_);
    const int fontHeight = font ? font->desc.height : SysRenderText::kDefaultHeight;
    return std::max(fontHeight, 1) + 2 * kTextY;
}

int TaskInputWindow::measure(const std::string& text) const {
    const SysRenderText::FontRecord* font = SysRenderText::instance().findFont(fontId_);
    if (font && font->font) return font->font->measure(text).width;
    // Without the font's glyphs (a lost device): its cells.
    const int column =
        font ? static_cast<int>(font->desc.width != 0 ? font->desc.width : font->desc.height / 2)
             : SysRenderText::kDefaultHeight / 2;
    return static_cast<int>(text.size()) * column;
}

bool TaskInputWindow::holdTarget() {
    const int height = this->height();
    if (target_ && static_cast<int>(target_->getTarget()->getWidth()) >= width_ &&
        static_cast<int>(target_->getTarget()->getHeight()) >= height)
        return true;
    release();
    target_.reset(SysResource::instance().createRenderTarget(static_cast<std::uint32_t>(width_),
                                                             static_cast<std::uint32_t>(height),
                                                             PixelFormat::A8R8G8B8));
    if (!target_) return false;
    // Drawn into only when the box redraws; it never clears by itself.
    auto* view = new Viewport(Viewport::Rect{}, 0, 0, target_.get(), 0.0f, 1.0f);
    view->setClear(0, kClearTarget, colours_.back.argb(), 1.0f, 0);
    SysCamera::instance().setViewport(kTextSlot, view);
    return true;
}

bool TaskInputWindow::init() {
    dirty_ = true;
    return holdTarget();
}

void TaskInputWindow::release() {
    if (!target_) return;
    SysCamera& camera = SysCamera::instance();
    if (Viewport* view = camera.getViewport(kTextSlot); view && view->getTarget() == target_.get())
        camera.setViewport(kTextSlot, nullptr);
    target_.reset();
}

void TaskInputWindow::scroll(const std::string& shown, int caret) {
    const std::size_t end = static_cast<std::size_t>(caret);
    // The room for text: the box less its frame, the gaps and the caret.
    const int room = std::max(width_ - 2 * kTextX - kCaretWidth, 1);
    std::size_t first = std::min(boundaryAtOrBefore(shown, static_cast<std::size_t>(first_)), end);
    while (first < end && measure(shown.substr(first, end - first)) > room)
        first += sjisCharSize(shown, first);
    // As much as fits: earlier characters come back when the end allows.
    while (first > 0) {
        const std::size_t earlier = previousBoundary(shown, first);
        if (measure(shown.substr(earlier)) > room) break;
        first = earlier;
    }
    first_ = static_cast<int>(first);
    caretX_ = kTextX + measure(shown.substr(first, end - first));
}

void TaskInputWindow::redraw() {
    if (!holdTarget()) return;
    const InputIME::View& view = shown_;
    const std::size_t cursor =
        std::min(static_cast<std::size_t>(std::max(view.cursor, 0)), view.line.size());
    // The composition shows at the cursor, inside the line.
    const std::string shown =
        view.line.substr(0, cursor) + view.composition + view.line.substr(cursor);
    const std::size_t compositionEnd = cursor + view.composition.size();
    const int caret = static_cast<int>(
        cursor + std::min(static_cast<std::size_t>(std::max(view.compositionCursor, 0)),
                          view.composition.size()));
    scroll(shown, caret);

    target_->colorFill(colours_.back.argb());
    const std::size_t first = static_cast<std::size_t>(first_);
    SysRenderText::instance().drawText(fontId_, kTextSlot, kTextX, kTextY, shown.substr(first),
                                       colours_.text);
    // The composition is underlined on the text's last row.
    if (!view.composition.empty() && compositionEnd > first) {
        const std::size_t from = std::max(cursor, first);
        const float left = static_cast<float>(kTextX + measure(shown.substr(first, from - first)));
        const float right =
            static_cast<float>(kTextX + measure(shown.substr(first, compositionEnd - first)) - 1);
        const float row = static_cast<float>(height() - kTextY - 1);
        LineDesc underline;
        underline.points[0] = Vector2(left, row);
        underline.points[1] = Vector2(right, row);
        underline.colour = colours_.text;
        SysRenderLine::instance().drawLine(kTextSlot, underline);
    }
    const float right = static_cast<float>(width_ - 1);
    const float bottom = static_cast<float>(height() - 1);
    LineDesc frame;
    frame.points[0] = Vector2(0.0f, 0.0f);
    frame.points[1] = Vector2(right, 0.0f);
    frame.points[2] = Vector2(right, bottom);
    frame.points[3] = Vector2(0.0f, bottom);
    frame.points[4] = Vector2(0.0f, 0.0f);
    frame.count = 5;
    frame.colour = colours_.frame;
    SysRenderLine::instance().drawLine(kTextSlot, frame);
}

void TaskInputWindow::update() {
    InputIME::View now = entry_.view();
    const bool changed = dirty_ || !(now == shown_);
    const bool wasShown = caretShown();
    if (changed) {
        shown_ = std::move(now);
        dirty_ = false;
        if (shown_.active) redraw();
        // The caret shows at once after every change.
        phase_ = 0;
        ++revision_;
        return;
    }
    phase_ = (phase_ + 1) % kBlinkPeriod;
    if (caretShown() != wasShown) ++revision_;
}

void TaskInputWindow::draw() {
    if (!shown_.active || !target_) return;
    const int height = this->height();
    const float x = static_cast<float>(x_);
    const float y = static_cast<float>(y_);
    queueSprite(viewport_, x, y, width_, height, layer_, Color::WHITE, target_->getTexture());
    if (caretShown()) {
        queueSprite(viewport_, x + static_cast<float>(caretX_), y + kTextY, kCaretWidth,
                    height - 2 * kTextY, layer_, colours_.text, nullptr);
    }
    const int mode = std::clamp(shown_.mode, 0, InputIME::kModeCount - 1);
    SysRenderText::instance().drawText(fontId_, viewport_, x_ + width_ + kTextX, y_ + kTextY,
                                       InputIME::kModeLabels[mode], Color::WHITE);
}

}  // namespace qel
