#include "game/shell/ui/task_menu.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/core/register.h"
#include "engine/input/sys_input.h"
#include "engine/render/sprite_desc.h"
#include "engine/render/sys_render_sprite.h"
#include "engine/render/sys_render_text.h"
#include "engine/render/text_format.h"
#include "game/shell/settings.h"
#include "game/shell/ui/icon_scale.h"
#include "game/shell/ui/outline.h"
#include "game/shell/ui/program_task.h"
#include "game/shell/ui/shell_keys.h"

namespace {

constexpr int kFont = 1;
// The largest side a menu's texture takes.
constexpr int kLargestSide = 1 << 14;
constexpr std::uint32_t kInputAndDraw = qel::TaskBase::kEventUpdate | qel::TaskBase::kEventDraw;

int lineHeight(std::int32_t space) {
    return static_cast<int>(FONT_HEIGHT) + space;
}

}  // namespace

TaskMenu* TaskMenu::find(int number) {
    if (number < 0 || number >= kCount) return nullptr;
    return qel::Register<TaskMenu>::instance().Find(number);
}

TaskMenu* TaskMenu::get(int number) {
    if (number < 0 || number >= kCount) return nullptr;
    if (TaskMenu* menu = find(number)) {
        // Reuse: hidden and empty, Esc and the cursor's wrap on again; the
        // last choice's tag stays readable until the menu opens again.
        menu->setEventMask(menu->getEventMask() & ~kInputAndDraw);
        menu->selIndex_ = 0;
        menu->removeAll();
        menu->caption_.clear();
        menu->cancel_ = true;
        menu->loop_ = true;
        return menu;
    }
    auto* menu = new TaskMenu();
    if (!menu->make(number)) {
        delete menu;
        return nullptr;
    }
    return program_task::adopt(menu, number);
}

TaskMenu::TaskMenu() {
    setEventMask(kEventAll & ~kInputAndDraw);
}

TaskMenu::~TaskMenu() {
    // Scripts may still hold the window: their handle reads as deleted.
    target_view::drop(viewport(), target_.get());
}

bool TaskMenu::make(int number) {
    number_ = number;
    target_ = target_view::make(ViewportInfo::menu(number), static_cast<int>(MENU_TEX_WIDTH),
                                static_cast<int>(MENU_TEX_HEIGHT), MENU_BACKCOLOR);
    if (!target_) return false;
    chips_ = target_view::chips();
    return true;
}

void TaskMenu::markDirty() {
    dirty_ = true;
    // Whatever the entries became, the page stays one of the menu's.
    page_ = std::min(page_, getPageMax() - 1);
}

void TaskMenu::addItem(int key, const char* tag, const char* text, Color colour) {
    if (!tag || !text) return;
    entries_.push_back(Entry{key, tag, text, false, colour});
    markDirty();
}

void TaskMenu::addShiftItem(int key, const char* tag, const char* text, Color colour) {
    if (!tag || !text) return;
    entries_.push_back(Entry{key, tag, text, true, colour});
    markDirty();
}

void TaskMenu::removeAll() {
    entries_.clear();
    markDirty();
}

void TaskMenu::setTag(const char* caption) {
    caption_ = caption ? caption : "";
    dirty_ = true;
}

void TaskMenu::setDrawParam(float x, float y, int layer, int width, int rows) {
    x_ = x;
    y_ = y;
    layer_ = static_cast<float>(layer & 0xFF);
    width_ = width;
    rows_ = rows > 0 ? static_cast<std::uint32_t>(rows) : 0;
    markDirty();
}

void TaskMenu::open(bool playSound) {
    setEventMask(getEventMask() | kInputAndDraw);
    state_ = kWaiting;
    page_ = 0;
    cursor_ = 0;
    blink_ = 0;
    dirty_ = true;
    // The key press that opened the menu is not read as a choice.
    setSkipCounter(1);
    if (playSound) shell_keys::requestSound(SE_OK);
}

void TaskMenu::close() {
    setEventMask(getEventMask() & ~kInputAndDraw);
}

void TaskMenu::start() {
    setEventMask(getEventMask() | kEventUpdate);
    state_ = kWaiting;
}

std::uint32_t TaskMenu::getPageMax() const {
    if (rows_ == 0 || entries_.empty()) return 1;
    return (size() - 1) / rows_ + 1;
}

void TaskMenu::setPage(int page) {
    page_ = rows_ == 0 ? 0 : static_cast<std::uint32_t>(page) % getPageMax();
    dirty_ = true;
}

void TaskMenu::pageNext() {
    page_ = rows_ == 0 ? 0 : (page_ + 1) % getPageMax();
    dirty_ = true;
}

void TaskMenu::pagePrev() {
    const std::uint32_t pages = getPageMax();
    page_ = rows_ == 0 ? 0 : (page_ + pages - 1) % pages;
    dirty_ = true;
}

std::uint32_t TaskMenu::firstOfPage() const {
    return page_ * rows_;
}

std::uint32_t TaskMenu::rowsOnPage() const {
    if (rows_ == 0) return size();
    const std::uint32_t first = firstOfPage();
    return first >= size() ? 0 : std::min(rows_, size() - first);
}

const char* TaskMenu::getCurTag() const {
    const std::uint32_t index = getCurIndex();
    return index < size() ? entries_[index].tag.c_str() : nullptr;
}

void TaskMenu::setCursor(int row) {
    cursor_ = row > 0 ? static_cast<std::uint32_t>(row) : 0;
    blink_ = 0;
}

void TaskMenu::setCursorDraw(bool show) {
    const int cycle = static_cast<int>(ITEMLIST_BLINK_ON + ITEMLIST_BLINK_OFF);
    blink_ = show || cycle == 0 ? 0 : cycle - 1;
}

bool TaskMenu::cursorShown() const {
    // A cycle of 0 frames shows the cursor steadily.
    if (ITEMLIST_BLINK_ON + ITEMLIST_BLINK_OFF == 0) return true;
    return static_cast<std::uint32_t>(blink_) < ITEMLIST_BLINK_ON;
}

void TaskMenu::choose(std::uint32_t row) {
    cursor_ = row;
    selIndex_ = firstOfPage() + row;
    selTag_ = entries_[selIndex_].tag;
    state_ = kSelected;
    blink_ = 0;
    dirty_ = true;
}

void TaskMenu::update() {
    const std::uint32_t cycle = ITEMLIST_BLINK_ON + ITEMLIST_BLINK_OFF;
    blink_ = cycle == 0 ? 0 : static_cast<int>((static_cast<std::uint32_t>(blink_) + 1) % cycle);
    if (state_ != kWaiting) return;
    if (cancel_ && shell_keys::pushCancel()) {
        state_ = kCancelled;
        return;
    }
    const qel::SysInput& input = qel::SysInput::instance();
    if (input.isKeyTrigger(qel::KEY_RIGHT)) pageNext();
    if (input.isKeyTrigger(qel::KEY_LEFT)) pagePrev();

    const std::uint32_t rows = rowsOnPage();
    if (rows > 0) {
        cursor_ = std::min(cursor_, rows - 1);
        int step = 0;
        if (input.isKeyRepeat(qel::KEY_DOWN)) step = 1;
        if (input.isKeyRepeat(qel::KEY_UP)) step = -1;
        if (step != 0) {
            const std::int64_t moved = static_cast<std::int64_t>(cursor_) + step;
            if (loop_)
                cursor_ = static_cast<std::uint32_t>((moved + rows) % rows);
            else
                cursor_ = static_cast<std::uint32_t>(
                    std::clamp<std::int64_t>(moved, 0, static_cast<std::int64_t>(rows) - 1));
            blink_ = 0;
        }
    } else {
        cursor_ = 0;
    }

    const bool shift = input.isKeyOn(qel::KEY_SHIFT);
    for (std::uint32_t row = 0; row < rows; ++row) {
        const Entry& entry = entries_[firstOfPage() + row];
        if (entry.shift == shift && input.isKeyTrigger(entry.key)) {
            choose(row);
            return;
        }
    }
    if (input.isKeyTrigger(qel::KEY_RETURN)) {
        if (rows > 0) {
            choose(cursor_);
        } else {
            state_ = kCancelled;
            shell_keys::requestSound(SE_CANCEL);
        }
        blink_ = 0;
    }
}

int TaskMenu::layoutHeight() const {
    const std::int64_t line = lineHeight(MENU_TEXT_SPACE);
    const std::int64_t shownRows = rows_ != 0 ? rows_ : size();
    std::int64_t height = shownRows * line - MENU_TEXT_SPACE + MENU_TEXT_Y;
    if (rows_ == 0) height += MENU_END_SPACE;
    if (!caption_.empty()) height += line;
    // With pages, the page text's line below the rows.
    if (rows_ != 0)
        height += MENU_TEXT_SPACE + static_cast<std::int64_t>(FONT_HEIGHT) + MENU_END_SPACE;
    return static_cast<int>(std::clamp<std::int64_t>(height, 1, kLargestSide));
}

bool TaskMenu::holdBox(int width, int height) {
    const qel::ResTarget* held = target_->getTarget();
    if (static_cast<int>(held->getWidth()) >= width &&
        static_cast<int>(held->getHeight()) >= height)
        return true;
    // A box larger than the texture the settings give gets one that holds it.
    const int w =
        std::max({width, static_cast<int>(held->getWidth()),
                  static_cast<int>(std::min<std::uint32_t>(MENU_TEX_WIDTH, kLargestSide))});
    const int h =
        std::max({height, static_cast<int>(held->getHeight()),
                  static_cast<int>(std::min<std::uint32_t>(MENU_TEX_HEIGHT, kLargestSide))});
    OwnedTarget larger = target_view::make(ViewportInfo::menu(number_), w, h, MENU_BACKCOLOR);
    if (!larger) return false;
    target_ = std::move(larger);
    return true;
}

void TaskMenu::redraw() {
    const int width = std::clamp(width_, 1, kLargestSide);
    height_ = layoutHeight();
    if (!holdBox(width, height_)) {
        // The box is cut to the texture it has.
        height_ = std::min(height_, static_cast<int>(target_->getTarget()->getHeight()));
    }
    target_->colorFill(MENU_BACKCOLOR.argb());
    qel::SysRenderText& text = qel::SysRenderText::instance();
    const int line = lineHeight(MENU_TEXT_SPACE);
    int y = MENU_TEXT_Y;
    if (!caption_.empty()) {
        text.drawText(kFont, viewport(), MENU_CURSOR_X, y, caption_, Color::WHITE);
        y += line;
    }
    const std::uint32_t first = firstOfPage();
    const std::uint32_t rows = rowsOnPage();
    for (std::uint32_t row = 0; row < rows; ++row) {
        const Entry& entry = entries_[first + row];
        text.drawText(kFont, viewport(), MENU_NAME_X, y, entry.text, entry.colour);
        y += line;
    }
    if (rows_ != 0) {
        char page[32];
        std::snprintf(page, sizeof page, "%-2d/%2d", static_cast<int>(page_ + 1),
                      static_cast<int>(getPageMax()));
        // MENU_PAGE_X_RIGHT from the right edge, but never over the frame.
        const qel::SysRenderText::FontRecord* font = text.findFont(kFont);
        const int textWidth = font && font->font ? font->font->measure(page).width
                                                 : static_cast<int>(std::strlen(page) * FONT_WIDTH);
        const int x = std::max(1, std::min(width - MENU_PAGE_X_RIGHT, width - 2 - textWidth));
        const int pageY = height_ -
                          (MENU_TEXT_SPACE + static_cast<int>(FONT_HEIGHT) + MENU_END_SPACE) +
                          MENU_TEXT_SPACE;
        text.drawText(kFont, viewport(), x, pageY, page, Color::WHITE);
    }
    ui_outline::queueFrame(viewport(), width, height_, Color::WHITE);
    dirty_ = false;
}

void TaskMenu::draw() {
    if (!target_) return;
    if (dirty_) redraw();
    qel::SysRenderSprite& sprites = qel::SysRenderSprite::instance();
    qel::SpriteDesc box;
    box.set(target_->getTexture(), x_, y_, 0, 0, std::clamp(width_, 1, kLargestSide), height_,
            static_cast<std::uint8_t>(layer_), 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, Color::WHITE,
            target_view::kSourceOver, false);
    sprites.draw(box, 0);
    if (!cursorShown() || !chips_) return;
    // The cursor steps by the menu's own lines.
    const int line = lineHeight(MENU_TEXT_SPACE);
    int cursorY = static_cast<int>(y_) + ITEMLIST_TEXT_Y + static_cast<int>(cursor_) * line +
                  static_cast<int>(FONT_HEIGHT) / 2;
    if (!caption_.empty()) cursorY += line;
    qel::SpriteDesc cursor;
    cursor.set(chips_->getTexture(), x_ + static_cast<float>(ITEMLIST_CURSOR_X),
               static_cast<float>(cursorY), ITEMLIST_CURSOR.x * static_cast<int>(CHIP_WIDTH),
               ITEMLIST_CURSOR.y * static_cast<int>(CHIP_HEIGHT), static_cast<int>(CHIP_WIDTH),
               static_cast<int>(CHIP_HEIGHT), static_cast<std::uint8_t>(layer_), 0.0f, 0.5f, 1.0f,
               1.0f, 0.0f, Color::WHITE, target_view::kSourceOver, false);
    ui_icon::setIconScale(cursor);
    sprites.draw(cursor, 0);
}

void TaskMenu::release() {
    target_view::drop(viewport(), target_.get());
    chips_.reset();
    entries_.clear();
}
