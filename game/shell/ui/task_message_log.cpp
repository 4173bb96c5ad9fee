#include "game/shell/ui/task_message_log.h"

#include <algorithm>

#include "engine/core/register.h"
#include "engine/render/sprite_desc.h"
#include "engine/render/sys_camera.h"
#include "engine/render/sys_render_sprite.h"
#include "engine/render/sys_render_text.h"
#include "engine/render/viewport.h"
#include "engine/resource/sys_resource.h"
#include "engine/task/sys_task.h"
#include "game/shell/settings.h"
#include "game/shell/ui/icon_scale.h"
#include "game/world/game_data.h"

namespace {

constexpr std::uint8_t kLineLayer = 50;
constexpr std::uint8_t kBackLayer = 49;

int lineStep() {
    return static_cast<int>(FONT_HEIGHT) + LOG_SPACE_LINE;
}

// A plain-coloured rectangle: the white target tinted.
void queueBlock(float x, float y, int width, int height, Color colour, std::uint8_t layer) {
    qel::SpriteDesc block;
    block.set(nullptr, x, y, 0, 0, std::max(width, 1), std::max(height, 1), layer, 0.0f, 0.0f, 1.0f,
              1.0f, 0.0f, colour, target_view::kSourceOver, false);
    qel::SysRenderSprite::instance().draw(block, 0);
}

}  // namespace

TaskMessageLog* TaskMessageLog::start(qel::TaskBase* scene) {
    auto* log = new TaskMessageLog();
    if (!qel::SysTask::instance().add(log, scene)) {
        delete log;
        return nullptr;
    }
    GameData::instance().setMessageLog(log);
    return log;
}

TaskMessageLog* TaskMessageLog::current() {
    return GameData::instance().getMessageLog();
}

TaskMessageLog::TaskMessageLog() = default;

TaskMessageLog::~TaskMessageLog() {
    if (current() == this) GameData::instance().setMessageLog(nullptr);
    release();
}

bool TaskMessageLog::init() {
    const int count = std::max<int>(static_cast<int>(LOG_BUFFER_TEX_NUM), 1);
    const std::uint32_t width = std::max<std::uint32_t>(LOG_MAX_LENGTH * FONT_WIDTH, 1);
    qel::SysResource& resources = qel::SysResource::instance();
    for (int i = 0; i < count; ++i) {
        OwnedTarget target(resources.createRenderTarget(
            width, std::max<std::uint32_t>(FONT_HEIGHT, 1), qel::PixelFormat::A8R8G8B8));
        if (!target) return false;
        lines_.push_back(std::move(target));
    }
    writers_ = std::min(kMaxWriters, count);
    for (int k = 0; k < writers_; ++k) {
        auto* view = new qel::Viewport(qel::Viewport::Rect{}, 0,
                                       static_cast<std::uint32_t>(kFirstViewport + k),
                                       lines_[static_cast<std::size_t>(k)].get(), 0.0f, 1.0f);
        view->setClear(0, 0, Color::TRANSPARENT_BLACK.argb(), 1.0f, 0);
        qel::SysCamera::instance().setViewport(kFirstViewport + k, view);
    }
    qel::SysRenderText::instance().createFont(FONT_NAME, kFont, static_cast<int>(FONT_HEIGHT),
                                              FONT_WIDTH, 0, false);
    wrapper_ = LogWrapper(LOG_MAX_LENGTH, writers_);
    if (!cursor_) {
        cursor_ = new TaskLogCursor(this);
        if (!qel::SysTask::instance().add(cursor_, this)) {
            delete cursor_;
            cursor_ = nullptr;
            return false;
        }
        qel::registerSingle(cursor_);
        setCursor(false);
    }
    return true;
}

void TaskMessageLog::setCursor(bool show) {
    if (!cursor_) return;
    constexpr std::uint32_t kShown = kEventUpdate | kEventDraw;
    const std::uint32_t mask = cursor_->getEventMask();
    cursor_->setEventMask(show ? mask | kShown : mask & ~kShown);
    cursor_->setPhase(0);
}

bool TaskMessageLog::cursorShown() const {
    return cursor_ && (cursor_->getEventMask() & kEventDraw) != 0;
}

TaskMessageLog::TaskLogCursor::TaskLogCursor(const TaskMessageLog* owner)
    : TaskBlinkObject(0), owner_(owner) {}

bool TaskMessageLog::TaskLogCursor::init() {
    setTexture(target_view::chips());
    return true;
}

Vector2 TaskMessageLog::TaskLogCursor::getPosition() const {
    if (!owner_) return Vector2(0.0f, 0.0f);
    const std::int64_t x = static_cast<std::int64_t>(LOG_VIEW_X) + LOG_SPACE_LEFT +
                           static_cast<std::int64_t>(LOG_MAX_LENGTH) * FONT_WIDTH;
    const std::int64_t y = static_cast<std::int64_t>(LOG_VIEW_Y) + LOG_SPACE_TOP +
                           static_cast<std::int64_t>(lineStep()) * LOG_VIEW_TEX_NUM -
                           LOG_SPACE_LINE;
    return Vector2(static_cast<float>(x), static_cast<float>(y));
}

void TaskMessageLog::TaskLogCursor::setSprite(qel::SpriteDesc& sprite) const {
    sprite.sourceX = 14 * static_cast<std::int32_t>(CHIP_WIDTH);
    sprite.sourceY = 15 * static_cast<std::int32_t>(CHIP_HEIGHT);
    sprite.width = static_cast<std::int32_t>(CHIP_WIDTH);
    sprite.height = static_cast<std::int32_t>(CHIP_HEIGHT);
    // It stands on the bottom line, beside its end, drawn with the box's
    // sprites (their kind) above its background.
    sprite.anchorY = 1.0f;
    sprite.kind = 7;
    sprite.layer = kLineLayer;
    ui_icon::setIconScale(sprite);
}

void TaskMessageLog::release() {
    qel::SysCamera& camera = qel::SysCamera::instance();
    for (int k = 0; k < writers_; ++k) {
        if (camera.getViewport(kFirstViewport + k)) camera.setViewport(kFirstViewport + k, nullptr);
    }
    writers_ = 0;
    lines_.clear();
}

void TaskMessageLog::message(const char* text) {
    add(text, false);
}

void TaskMessageLog::messageLine(const char* text) {
    add(text, true);
}

void TaskMessageLog::add(const char* text, bool line) {
    const std::string_view shown = text ? text : "";
    if (fileWriter_) fileWriter_(shown);
    pending_.push_back(Entry{colour_, std::string(shown), line});
}

void TaskMessageLog::bindWriters() {
    qel::SysCamera& camera = qel::SysCamera::instance();
    const int count = lineCount();
    for (int k = 0; k < writers_; ++k) {
        if (qel::Viewport* view = camera.getViewport(kFirstViewport + k))
            view->setRect(lines_[static_cast<std::size_t>((k + head_) % count)].get(),
                          qel::Viewport::Rect{});
    }
}

void TaskMessageLog::startLine() {
    head_ = (head_ + 1) % lineCount();
    filled_ = std::min(lineCount(), filled_ + 1);
    lines_[static_cast<std::size_t>(head_)]->colorFill(Color::TRANSPARENT_BLACK.argb());
}

void TaskMessageLog::draw() {
    if (lines_.empty()) return;
    if (rebind_) bindWriters();
    rebind_ = false;
    wrapper_.nextFrame();

    qel::SysRenderText& text = qel::SysRenderText::instance();
    std::vector<LogWrapper::Run> runs;
    while (!pending_.empty()) {
        Entry entry = std::move(pending_.front());
        pending_.pop_front();
        runs.clear();
        std::string rest;
        const bool whole = wrapper_.add(entry.text, entry.colour, entry.line, runs, rest);
        for (const LogWrapper::Run& run : runs) {
            if (run.newLine) startLine();
            text.drawText(kFont, kFirstViewport + run.line,
                          static_cast<int>(run.column * FONT_WIDTH), 0, run.bytes, run.colour);
        }
        if (!whole) {
            // The rest goes on at the start of the next frame's new line.
            pending_.push_front(Entry{entry.colour, std::move(rest), false});
            break;
        }
    }
    if (wrapper_.linesThisFrame() > 0) rebind_ = true;

    const int count = lineCount();
    const int step = lineStep();
    const int shown = std::min(filled_, static_cast<int>(LOG_VIEW_TEX_NUM));
    int first = (head_ + count - shown + 1) % count;
    int y = static_cast<int>(LOG_VIEW_Y) + LOG_SPACE_TOP;
    if (expanded_) {
        const int older = std::max(0, filled_ - static_cast<int>(LOG_VIEW_TEX_NUM));
        y -= older * step;
        first = (first + count - older) % count;
    }
    const float x = static_cast<float>(static_cast<int>(LOG_VIEW_X) + LOG_SPACE_LEFT);
    const int lineWidth = static_cast<int>(LOG_MAX_LENGTH * FONT_WIDTH);
    qel::SysRenderSprite& sprites = qel::SysRenderSprite::instance();
    for (int i = first, n = 0; n < count; i = (i + 1) % count, ++n) {
        qel::SpriteDesc sprite;
        sprite.set(lines_[static_cast<std::size_t>(i)]->getTexture(), x, static_cast<float>(y), 0,
                   0, std::max(lineWidth, 1), static_cast<int>(FONT_HEIGHT), kLineLayer, 0.0f, 0.0f,
                   1.0f, 1.0f, 0.0f, Color::WHITE, target_view::kSourceOver, false);
        sprites.draw(sprite, 0);
        y += step;
        if (i == head_) break;
    }
    drawBox();
}

void TaskMessageLog::drawBox() {
    const int step = lineStep();
    const int width =
        static_cast<int>(LOG_MAX_LENGTH * FONT_WIDTH) + LOG_SPACE_LEFT + LOG_SPACE_RIGHT;
    const int view = static_cast<int>(LOG_VIEW_TEX_NUM);
    const int rows = expanded_ ? lineCount() : view;
    const int top = static_cast<int>(LOG_VIEW_Y) - (expanded_ ? step * (lineCount() - view) : 0);
    const int height = step * rows + LOG_SPACE_TOP + LOG_SPACE_BOTTOM - LOG_SPACE_LINE - 1;
    const float x = static_cast<float>(LOG_VIEW_X);
    const float y = static_cast<float>(top);
    queueBlock(x, y, width, height, LOG_BACKCOLOR, kBackLayer);
    // The frame's corners are (x, top) and (x + width, top + height).
    queueBlock(x, y, width + 1, 1, frameColour_, kLineLayer);
    queueBlock(x, y + static_cast<float>(height), width + 1, 1, frameColour_, kLineLayer);
    queueBlock(x, y, 1, height + 1, frameColour_, kLineLayer);
    queueBlock(x + static_cast<float>(width), y, 1, height + 1, frameColour_, kLineLayer);
}
