// The paged choice menu the scripts open for every selection: entries with
// a text, a tag and a shortcut key in a framed box with a blinking cursor.
// Arrows move the cursor and turn pages, Enter or a shortcut chooses, Esc or
// Delete cancels; scripts poll the state. Four menus, numbers 0 to 3, each
// made on first request and found again through Register<TaskMenu>.
//
// What it keeps true: the page is always below the page count, whatever the
// entries became; the box is redrawn into the menu's own target (viewport
// slot 4 + number) only when marked dirty, and that target grows to hold the
// whole box; the page text stays inside the frame; the program owns every
// menu and a deleted menu leaves the registry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/task/task_base.h"
#include "game/shell/ui/target_view.h"
#include "game/world/value_types.h"

class TaskMenu : public qel::TaskBase {
public:
    QEL_CLASS(TaskMenu, qel::TaskBase, qel::Pool::Tasks);

    static constexpr int kCount = ViewportInfo::kMenus;
    enum State : int { kClosed = 0, kWaiting = 1, kSelected = 2, kCancelled = 3 };

    struct Entry {
        int key = 0;
        std::string tag;
        std::string text;
        bool shift = false;  // the shortcut fires only with Shift held (else only without)
        Color colour = Color::WHITE;
    };

    // Menu n when it lives (hidden, emptied, its caption gone, cancel and
    // loop on, the selected index 0; the last choice's tag and state stay
    // until it opens), else a new one added under the task root; null for n
    // outside 0..3 or when it cannot be made.
    static TaskMenu* get(int number);
    static TaskMenu* find(int number);

    TaskMenu();
    ~TaskMenu() override;

    // A null tag or text adds nothing.
    void addItem(int key, const char* tag, const char* text, Color colour = Color::WHITE);
    void addShiftItem(int key, const char* tag, const char* text, Color colour = Color::WHITE);
    void removeAll();
    void setTag(const char* caption);
    void setDrawParam(float x, float y, int layer, int width, int rows);

    void open(bool playSound = true);
    // Hides the menu; its entries and the choice made stay to be read.
    void close();
    bool isOpen() const { return (getEventMask() & kEventDraw) != 0; }
    void stop() { setEventMask(getEventMask() & ~kEventUpdate); }
    void start();

    std::uint32_t getPageMax() const;
    std::uint32_t getPage() const { return page_; }
    void setPage(int page);
    void pageNext();
    void pagePrev();
    std::uint32_t size() const { return static_cast<std::uint32_t>(entries_.size()); }

    bool isSelect() const { return state_ == kSelected; }
    bool isCancel() const { return state_ == kCancelled; }
    int state() const { return state_; }
    const std::string& getSelTag() const { return selTag_; }
    std::uint32_t getSelIndex() const { return selIndex_; }
    std::uint32_t getCurIndex() const { return firstOfPage() + cursor_; }
    // The tag under the cursor; null when no entry is there.
    const char* getCurTag() const;
    std::uint32_t cursor() const { return cursor_; }

    void setEnableCancel(bool on) { cancel_ = on; }
    void setEnableLoop(bool on) { loop_ = on; }
    void setCursor(int row);
    void setCursorDraw(bool show);

    const std::vector<Entry>& entries() const { return entries_; }
    // The slot of the menu's record (ViewportInfo).
    int viewport() const { return ViewportInfo::menu(number_).index; }
    int boxWidth() const { return width_; }
    int boxHeight() const { return height_; }
    bool cursorShown() const;
    qel::RenderTarget* target() const { return target_.get(); }

    void update() override;
    void draw() override;
    void release() override;

private:
    bool make(int number);
    void markDirty();
    // Rows on the current page.
    std::uint32_t rowsOnPage() const;
    std::uint32_t firstOfPage() const;
    void choose(std::uint32_t row);
    // The box's height for the entries, caption and paging as they stand.
    int layoutHeight() const;
    // Makes sure the texture holds a width x height box (a larger one when
    // the settings' is too small); false when none can be had.
    bool holdBox(int width, int height);
    void redraw();

    int number_ = 0;
    OwnedTarget target_;
    OwnedTexture chips_;
    std::vector<Entry> entries_;
    bool dirty_ = true;
    std::uint32_t page_ = 0;
    std::uint32_t cursor_ = 0;
    int state_ = kClosed;
    std::string selTag_;
    std::uint32_t selIndex_ = 0;
    int width_ = 1;
    int height_ = 1;
    std::uint32_t rows_ = 0;  // 0: one page holding everything
    float x_ = 0.0f;
    float y_ = 0.0f;
    float layer_ = 0.0f;
    std::string caption_;
    bool cancel_ = true;
    bool loop_ = true;
    int blink_ = 0;
};
