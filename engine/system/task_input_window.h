// The text-entry box: the one line of the text entry (InputIME) with its
// caret, the composition being typed shown at the caret, and the label of
// the conversion mode to the right of the box. The box's owner (a window)
// places it in its own viewport and reads the finished lines from the entry.
//
// The line is drawn into the box's own target, through a viewport of its
// own whose key sorts before every window's, so the owner's viewport finds
// it drawn in the same frame. The target is redrawn only when what the box
// shows changed. The box scrolls by whole characters so that the caret is
// always inside it, and shows as much of the line as fits; the caret blinks
// (shown at once after every change).
//
// What it keeps true: the first byte shown is a character boundary of the
// text shown; the caret's pixel lies inside the box; revision() grows
// whenever the picture the box draws into its owner's viewport changes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/input/input_ime.h"
#include "engine/math/color.h"
#include "engine/task/task_base.h"

namespace qel {

class RenderTarget;

class TaskInputWindow : public TaskBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(TaskInputWindow, TaskBase, Pool::Tasks);

    static constexpr int kDefaultWidth = 512;
    // Frames of one blink; the caret shows for the first kCaretOn of them.
    static constexpr int kBlinkPeriod = 24;
    static constexpr int kCaretOn = 16;
    static constexpr int kCaretWidth = 2;
    // The camera slot of the box's viewport; its key (order 0, pass 0)
    // sorts before every other viewport's.
    static constexpr int kTextSlot = 24;

    struct Colours {
        Color text = Color::BLACK;  // the line, the composition and the caret
        Color back = Color::TRANSPARENT_BLACK;
        Color frame = Color(0xFF404040u);
    };

    // A box at (x, y) of `viewport` (the owner's), on the sprite layer,
    // writing with font `fontId`, kDefaultWidth wide.
    TaskInputWindow(InputIME& entry, int fontId, int x, int y, int viewport, std::uint8_t layer,
                    Colours colours);
    ~TaskInputWindow() override;

    // A width below 8 counts as 8.
    void setWidth(int width);
    void setLayer(std::uint8_t layer) { layer_ = layer; }
    void setPlace(int x, int y) {
        x_ = x;
        y_ = y;
    }
    int width() const { return width_; }
    // The font's height and a pixel of frame above and below.
    int height() const;

    bool init() override;
    void release() override;
    void update() override;
    void draw() override;

    // What the box shows.
    std::uint32_t revision() const { return revision_; }
    // The first byte of the text shown (the line with the composition at
    // its cursor) that is in the box.
    int firstShown() const { return first_; }
    bool caretShown() const { return phase_ < kCaretOn; }
    // The caret's left edge, from the box's left edge.
    int caretX() const { return caretX_; }
    RenderTarget* target() const { return target_.get(); }

private:
    struct DeleteHandle {
        void operator()(RenderTarget* handle) const;
    };

    // The text's width in pixels in the box's font.
    int measure(const std::string& text) const;
    // Makes the target (again, when it is smaller than the box).
    bool holdTarget();
    // Moves the first byte shown so the caret is in the box.
    void scroll(const std::string& shown, int caret);
    void redraw();

    InputIME& entry_;
    int fontId_;
    int x_;
    int y_;
    int viewport_;
    std::uint8_t layer_;
    Colours colours_;
    int width_ = kDefaultWidth;
    std::unique_ptr<RenderTarget, DeleteHandle> target_;
    InputIME::View shown_;
    bool dirty_ = true;
    int first_ = 0;
    int caretX_ = 0;
    int phase_ = 0;
    std::uint32_t revision_ = 0;
};

}  // namespace qel
