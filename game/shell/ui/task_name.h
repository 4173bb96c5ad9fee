// The framed text-entry window the scripts ask the player for a text with
// (the character's name, a message): a caption line and, below it, the
// engine's text-entry box (qel::TaskInputWindow, a child task) with the line
// being typed, its composition and caret, and the input mode's label.
// Finished lines are read with getInput. One exists at a time, made by the
// first request.
//
// What it keeps true: the window draws into its own target through
// viewport slot 12 and redraws it only when the caption or the layout
// changed or the box's picture did; the program owns it and a deleted
// window (with its box) leaves the registries.
#pragma once

#include <cstdint>
#include <string>

#include "engine/system/task_input_window.h"
#include "engine/task/task_base.h"
#include "game/shell/ui/target_view.h"
#include "game/world/value_types.h"

class TaskName : public qel::TaskBase {
public:
    QEL_CLASS(TaskName, qel::TaskBase, qel::Pool::Tasks);

    static constexpr int kViewport = 12;
    static constexpr int kFont = 1;
    static constexpr int kHiragana = 2;
    static constexpr int kAlphanumeric = 4;

    // The live window, hidden and emptied, or a new one under the task root.
    static TaskName* get();
    static TaskName* find();

    TaskName();
    ~TaskName() override;

    void setTag(const char* caption);
    void setDrawParam(float x, float y, int layer, int width);
    // Starts the entry with the text (cut to whole characters), asks for
    // hiragana or alphanumeric input, and plays SE_OK when asked.
    void open(const char* text = "", bool playSound = true, bool hiragana = true);
    void close();
    bool isOpen() const { return (getEventMask() & kEventDraw) != 0; }
    // The oldest finished line not yet read, or "".
    std::string getInput();

    int boxHeight() const;
    qel::RenderTarget* target() const { return target_.get(); }
    qel::TaskInputWindow* entryBox() const { return box_; }

    // A refused commit is answered with SE_CANCEL.
    void update() override;
    void draw() override;
    void release() override;

private:
    // Where the box sits in the window: the entry line's left and top.
    static int entryY();
    bool makeBox();
    void placeBox();
    void redraw();

    OwnedTarget target_;
    qel::TaskInputWindow* box_ = nullptr;  // a child: the tree owns it
    std::string caption_;
    float x_ = 0.0f;
    float y_ = 0.0f;
    int width_ = 1;
    float layer_ = 0.0f;
    bool dirty_ = true;
    std::uint32_t drawnRevision_ = 0;
};
