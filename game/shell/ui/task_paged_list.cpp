#include "game/shell/ui/task_paged_list.h"

#include <algorithm>

#include "engine/input/key_code.h"
#include "engine/input/sys_input.h"
#include "engine/render/sprite_desc.h"
#include "engine/render/sys_render_sprite.h"
#include "engine/render/sys_render_text.h"
#include "game/shell/settings.h"
#include "game/shell/ui/icon_scale.h"
#include "game/shell/ui/outline.h"
#include "game/shell/ui/shell_keys.h"

namespace {

constexpr int kFont = 1;
constexpr int kFirstLetter = qel::KEY_A;
// Rows past Z have no letter to choose them by.
constexpr std::uint32_t kLetters = 26;
constexpr int kSelectAllKey = qel::KEY_OEM_1;  // the key of ";"
constexpr std::uint8_t kLayer = 10;

}  // namespace

TaskPagedList::TaskPagedList(int viewport) : viewport_(viewport) {
    setEventMask(kEventAll & ~(kEventUpdate | kEventDraw));
}

TaskPagedList::~TaskPagedList() {
    // Scripts may still hold the list: their handle reads as deleted.
    target_view::drop(viewport_, target_.get());
}

bool TaskPagedList::init() {
    release();
    const Layout l = layout();
    const std::int64_t line = static_cast<std::int64_t>(FONT_HEIGHT) + l.textSpace;
    const std::int64_t height =
        line * (static_cast<std::int64_t>(l.rows) + 1) - l.textSpace + l.endSpace + l.textY;
    texHeight_ = static_cast<int>(std::clamp<std::int64_t>(height, 1, 1 << 14));
    const int width = static_cast<int>(std::clamp<std::uint32_t>(l.width, 1, 1 << 14));
    target_ = target_view::make(viewport_, width, texHeight_, l.back);
    if (!target_) return false;
    chips_ = target_view::chips();
    dirty_ = true;
    return true;
}

void TaskPagedList::release() {
    target_view::drop(viewport_, target_.get());
    target_.reset();
    chips_.reset();
}

bool TaskPagedList::reload() {
    const std::uint32_t mask = getEventMask();
    release();
    const bool made = init();
    setEventMask(mask);
    markDirty();
    return made;
}

void TaskPagedList::start() {
    setEventMask(getEventMask() | kEventUpdate);
    state_ = kWaiting;
}

std::uint32_t TaskPagedList::rowsPerPage() const {
    return layout().rows;
}

std::uint32_t TaskPagedList::getPageMax() const {
    const std::uint32_t rows = rowsPerPage();
    const std::uint32_t count = entryCount();
    if (rows == 0 || count == 0) return 1;
    return (count - 1) / rows + 1;
}

void TaskPagedList::setPage(std::int64_t page) {
    const std::int64_t pages = getPageMax();
    page_ = static_cast<std::uint32_t>(((page % pages) + pages) % pages);
    dirty_ = true;
}

void TaskPagedList::markDirty() {
    dirty_ = true;
    page_ = std::min(page_, getPageMax() - 1);
}

void TaskPagedList::resetForOpen() {
    setEventMask(getEventMask() | kEventUpdate | kEventDraw);
    state_ = kWaiting;
    page_ = 0;
    cursor_ = 0;
    blink_ = 0;
    dirty_ = true;
    // The key press that opened the list is not read as a choice.
    setSkipCounter(1);
}

std::uint32_t TaskPagedList::rowsOnPage() const {
    const std::uint32_t rows = rowsPerPage();
    const std::uint32_t count = entryCount();
    if (rows == 0) return count;
    const std::uint32_t first = firstOfPage();
    return first >= count ? 0 : std::min(rows, count - first);
}

std::uint32_t TaskPagedList::entryAtRow(int row) const {
    if (row < 0 || static_cast<std::uint32_t>(row) >= rowsOnPage()) return entryCount();
    return firstOfPage() + static_cast<std::uint32_t>(row);
}

int TaskPagedList::lineStep() const {
    return static_cast<int>(FONT_HEIGHT) + layout().textSpace;
}

bool TaskPagedList::cursorShown() const {
    if (!drawCursor_) return false;
    const Layout l = layout();
    // A cycle of 0 frames shows the cursor steadily.
    if (l.blinkOn + l.blinkOff == 0) return true;
    return static_cast<std::uint32_t>(blink_) < l.blinkOn;
}

void TaskPagedList::update() {
    const Layout l = layout();
    const std::uint32_t cycle = l.blinkOn + l.blinkOff;
    blink_ = cycle == 0 ? 0 : static_cast<int>((static_cast<std::uint32_t>(blink_) + 1) % cycle);
    if (state_ == kWaiting) readKeys();
}

void TaskPagedList::readKeys() {
    if (shell_keys::pushCancel()) {
        state_ = kCancelled;
        return;
    }
    const qel::SysInput& input = qel::SysInput::instance();
    if (input.isKeyTrigger(qel::KEY_RIGHT)) pageNext();
    if (input.isKeyTrigger(qel::KEY_LEFT)) pagePrev();

    const std::uint32_t rows = rowsOnPage();
    cursor_ = rows == 0 ? 0 : std::min(cursor_, rows - 1);
    if (rows > 0) {
        bool moved = false;
        if (input.isKeyRepeat(qel::KEY_DOWN)) {
            cursor_ += 1;
            moved = true;
        }
        if (input.isKeyRepeat(qel::KEY_UP)) {
            cursor_ += rows - 1;
            moved = true;
        }
        cursor_ %= rows;
        if (moved) blink_ = 0;
    }

    for (std::uint32_t row = 0; row < std::min(rows, kLetters); ++row) {
        if (!input.isKeyTrigger(kFirstLetter + static_cast<int>(row))) continue;
        const bool flipped = toggleEntry(firstOfPage() + row);
        dirty_ = true;
        cursor_ = row;
        blink_ = 0;
        if (letterDecides(flipped)) {
            state_ = kSelected;
            return;
        }
    }

    if (input.isKeyOn(qel::KEY_SHIFT) && input.isKeyRepeat(kSelectAllKey)) {
        selectAllOrNone();
        dirty_ = true;
    }

    const std::uint32_t count = entryCount();
    if (multiple() && count > 0 && rows > 0 &&
        (input.isKeyRepeat(qel::KEY_INSERT) || input.isKeyRepeat(qel::KEY_SPACE))) {
        toggleEntry(firstOfPage() + cursor_);
        dirty_ = true;
    }
    if (!input.isKeyTrigger(qel::KEY_RETURN)) return;
    if (count == 0 || rows == 0) {
        state_ = kCancelled;
        shell_keys::requestSound(SE_CANCEL);
        return;
    }
    const std::uint32_t index = firstOfPage() + cursor_;
    if (multiple()) {
        bool any = false;
        for (std::uint32_t i = 0; i < count && !any; ++i) any = entrySelected(i);
        if (!any) toggleEntry(index);
    } else {
        toggleEntry(index);
    }
    dirty_ = true;
    state_ = kSelected;
}

void TaskPagedList::queueChip(Point chip, float x, float y, float anchorY, Color colour) const {
    if (!chips_) return;
    ui_icon::queueChip(chips_->getTexture(), viewport_, chip, x, y, anchorY, colour);
}

void TaskPagedList::redraw() {
    const Layout l = layout();
    target_->colorFill(l.back.argb());
    qel::SysRenderText& text = qel::SysRenderText::instance();
    text.drawText(kFont, viewport_, l.cursorX, l.textY, l.caption, Color::WHITE);
    const int step = lineStep();
    const std::uint32_t rows = rowsOnPage();
    for (std::uint32_t row = 0; row < rows; ++row) {
        const int y = l.textY + static_cast<int>(row + 1) * step;
        if (row < kLetters) {
            const char letter[2] = {static_cast<char>('a' + row), '\0'};
            text.drawText(kFont, viewport_, l.codeX, y, letter, Color::WHITE);
        }
        drawRow(firstOfPage() + row, y);
    }
    text.drawFormat(viewport_, kFont, l.pageX, l.pageY, "%d / %d", Color::WHITE,
                    static_cast<int>(page_ + 1), static_cast<int>(getPageMax()));
    ui_outline::queueFrame(viewport_, static_cast<int>(l.width), texHeight_, Color::WHITE);
    dirty_ = false;
}

void TaskPagedList::draw() {
    if (!target_) return;
    cursor_ = std::min(cursor_, std::max<std::uint32_t>(rowsOnPage(), 1) - 1);
    if (dirty_) redraw();
    const Layout l = layout();
    qel::SysRenderSprite& sprites = qel::SysRenderSprite::instance();
    qel::SpriteDesc box;
    box.set(target_->getTexture(), l.x, l.y, 0, 0,
            static_cast<int>(std::clamp<std::uint32_t>(l.width, 1, 1 << 14)), texHeight_, kLayer,
            0.0f, 0.0f, 1.0f, 1.0f, 0.0f, Color::WHITE, target_view::kSourceOver, false);
    sprites.draw(box, 0);
    if (!cursorShown() || !chips_) return;
    const int y =
        l.textY + static_cast<int>(cursor_ + 1) * lineStep() + static_cast<int>(FONT_HEIGHT) / 2;
    qel::SpriteDesc cursor;
    cursor.set(chips_->getTexture(), l.x + static_cast<float>(l.cursorX),
               l.y + static_cast<float>(y), l.cursorChip.x * static_cast<int>(CHIP_WIDTH),
               l.cursorChip.y * static_cast<int>(CHIP_HEIGHT), static_cast<int>(CHIP_WIDTH),
               static_cast<int>(CHIP_HEIGHT), kLayer, 0.0f, 0.5f, 1.0f, 1.0f, 0.0f, Color::WHITE,
               target_view::kSourceOver, false);
    ui_icon::setIconScale(cursor);
    sprites.draw(cursor, 0);
}
