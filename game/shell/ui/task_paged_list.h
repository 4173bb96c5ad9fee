// What the item list and the anima list share: a paged list of entries read
// from the keys (cursor with repeat, pages, row letters, select-all, Insert
// or Space, Enter, cancel), drawn into its own target through its viewport
// slot only when marked dirty and shown each frame with a blinking cursor
// chip. Each list supplies its layout settings, its entries and what a
// toggle and a row's contents are.
//
// What it keeps true: the page is always below the page count, whatever the
// entries became; the cursor is clamped to the page's rows before it is
// read; a row toggle reaches an entry only when one is there.
#pragma once

#include <cstdint>
#include <string>

#include "engine/task/task_base.h"
#include "game/shell/ui/target_view.h"
#include "game/world/value_types.h"

class TaskPagedList : public qel::TaskBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(TaskPagedList, qel::TaskBase, qel::Pool::Tasks);

    enum State : int { kClosed = 0, kWaiting = 1, kSelected = 2, kCancelled = 3 };

    // The settings a list reads, taken afresh where they are used.
    struct Layout {
        std::uint32_t rows = 1;  // per page; 0 counts as one page holding all
        float x = 0.0f;
        float y = 0.0f;
        std::uint32_t width = 1;
        std::int32_t textY = 0;
        std::int32_t textSpace = 0;
        std::int32_t endSpace = 0;
        std::int32_t cursorX = 0;
        std::int32_t codeX = 0;
        std::int32_t pageX = 0;
        std::int32_t pageY = 0;
        Color back;
        std::string caption;
        Point cursorChip;
        std::uint32_t blinkOn = 0;
        std::uint32_t blinkOff = 0;
    };

    ~TaskPagedList() override;

    bool isOpen() const { return (getEventMask() & kEventDraw) != 0; }
    void stop() { setEventMask(getEventMask() & ~kEventUpdate); }
    void start();
    bool isSelect() const { return state_ == kSelected; }
    bool isCancel() const { return state_ == kCancelled; }
    int state() const { return state_; }

    std::uint32_t getPageMax() const;
    std::uint32_t getPage() const { return page_; }
    void setPage(std::int64_t page);
    void pageNext() { setPage(static_cast<std::int64_t>(page_) + 1); }
    void pagePrev() { setPage(static_cast<std::int64_t>(page_) + getPageMax() - 1); }
    std::uint32_t getCurIndex() const { return page_ * rowsPerPage() + cursor_; }
    std::uint32_t cursor() const { return cursor_; }
    void setDrawCursor(bool on) { drawCursor_ = on; }
    bool cursorShown() const;

    // Drops the target and the chip picture and makes them again, keeping
    // the event mask and the page; false when the target cannot be made.
    bool reload();

    int viewport() const { return viewport_; }
    qel::RenderTarget* target() const { return target_.get(); }
    int textureHeight() const { return texHeight_; }

    bool init() override;
    void update() override;
    void draw() override;
    void release() override;

protected:
    explicit TaskPagedList(int viewport);

    virtual Layout layout() const = 0;
    virtual std::uint32_t entryCount() const = 0;
    // Flips the selection of entry `index` (below entryCount()); whether it
    // flipped.
    virtual bool toggleEntry(std::uint32_t index) = 0;
    virtual bool entrySelected(std::uint32_t index) const = 0;
    // Several entries may be chosen (marks, Insert and Space, Enter's rule).
    virtual bool multiple() const = 0;
    // A row letter decides at once after toggling its row (`flipped`).
    virtual bool letterDecides(bool flipped) const = 0;
    // Shift+186: everything selected becomes nothing, else all that may be.
    virtual void selectAllOrNone() = 0;
    // The row's own parts (beside letter) at text line y of the target.
    virtual void drawRow(std::uint32_t index, int y) = 0;

    // The page, marked for redrawing and brought back onto the list.
    void markDirty();
    void resetForOpen();
    void setState(int state) { state_ = state; }
    std::uint32_t rowsPerPage() const;
    std::uint32_t rowsOnPage() const;
    std::uint32_t firstOfPage() const { return page_ * rowsPerPage(); }
    // The entry under row `row` of this page, or entryCount() when none.
    std::uint32_t entryAtRow(int row) const;
    void resetBlink() { blink_ = 0; }
    const qel::RenderTexture* chips() const { return chips_.get(); }
    // Queues a chip of the chip picture into the list's target.
    void queueChip(Point chip, float x, float y, float anchorY, Color colour) const;
    int lineStep() const;

private:
    void redraw();
    void readKeys();

    int viewport_;
    OwnedTarget target_;
    OwnedTexture chips_;
    int texHeight_ = 1;
    bool dirty_ = true;
    std::uint32_t page_ = 0;
    std::uint32_t cursor_ = 0;
    int state_ = kClosed;
    bool drawCursor_ = true;
    int blink_ = 0;
};
