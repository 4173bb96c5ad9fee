// A free-form window the scripts draw into: it owns a render target and the
// viewport slot that renders into it, keeps what was drawn until the next
// clear, and while open shows the used part of its target as one sprite.
// There are four, numbers 0 to 3, each made on first request and found
// again through Register<TaskWindow> under its number.
//
// What it keeps true: from construction to release the window's viewport
// sits in slot 8 + number and renders into the window's own target; the
// target outlives the viewport. Sizes below 1 make a 1 x 1 target. The
// program owns every window; a deleted window leaves the registry.
#pragma once

#include <cstdint>

#include "engine/task/task_base.h"
#include "game/shell/ui/target_view.h"
#include "game/world/value_types.h"

class TaskWindow : public qel::TaskBase {
public:
    QEL_CLASS(TaskWindow, qel::TaskBase, qel::Pool::Tasks);

    static constexpr int kCount = ViewportInfo::kWindows;
    static constexpr int kDefaultFont = 1;

    // Window n when it lives (hidden again), else a new one of the size of
    // WINDOW_TEX_SIZE[n] added under the task root; null for n outside 0..3
    // or when it cannot be made.
    static TaskWindow* get(int number);
    // The live window n, or null.
    static TaskWindow* find(int number);

    TaskWindow();
    ~TaskWindow() override;

    // Width of n characters and height of n lines, margins included.
    static std::uint32_t calWidth(int chars);
    static std::uint32_t calHeight(int lines);

    void setDrawParam(float x, float y, int layer, int width, int height);
    void open() { setEventMask(getEventMask() | kEventDraw); }
    void close() { setEventMask(getEventMask() & ~kEventDraw); }
    bool isOpen() const { return (getEventMask() & kEventDraw) != 0; }

    // Fills the whole target with WINDOW_BACKCOLOR, or with the colour.
    void clear();
    void clear(Color colour);
    // Text at (x, y) of the target, or at the text pen (after the last text).
    void drawText(int x, int y, const char* text, Color colour, int font = kDefaultFont);
    void drawText(const char* text, Color colour, int font = kDefaultFont);
    void drawLine(int x1, int y1, int x2, int y2, Color colour);
    // The outline with corners (x1, y1) and (x2, y2).
    void drawRect(int x1, int y1, int x2, int y2, Color colour);
    // The outline of the whole target.
    void drawFrame(Color colour);
    // The chip at (column, row) of the chip picture, its top-left at (x, y).
    void drawChip(float x, float y, Point chip, Color colour);

    int number() const { return number_; }
    // The slot of the window's record (ViewportInfo).
    int viewport() const { return ViewportInfo::window(number_).index; }
    int textureWidth() const { return texWidth_; }
    int textureHeight() const { return texHeight_; }
    qel::RenderTarget* target() const { return target_.get(); }
    float x() const { return x_; }
    float y() const { return y_; }
    int width() const { return width_; }
    int height() const { return height_; }
    float layer() const { return layer_; }

    void draw() override;
    void release() override;

private:
    // Makes the target and puts its viewport in the window's slot.
    bool make(int number, int width, int height);

    int number_ = 0;
    int texWidth_ = 1;
    int texHeight_ = 1;
    OwnedTarget target_;
    OwnedTexture chips_;
    float x_ = 0.0f;
    float y_ = 0.0f;
    int width_ = 1;
    int height_ = 1;
    float layer_ = 0.0f;
};
