// The player's status panel of the game scene. The scripts draw it: when
// the player's status changed, or a redraw was asked for, the panel's
// target is cleared and the script function DrawStatusView(player, panel)
// draws into it with drawText and drawChip; every frame the target is shown
// as one sprite.
//
// What it keeps true: the script runs at most once a frame and only on a
// change; the panel's viewport sits in slot 3 and renders into the panel's
// own target; the game's panel is found through Register<TaskStatusView>,
// and a deleted panel leaves it.
#pragma once

#include "engine/task/task_base.h"
#include "game/shell/ui/target_view.h"
#include "game/world/value_types.h"

class TaskStatusView : public qel::TaskBase {
public:
    QEL_CLASS(TaskStatusView, qel::TaskBase, qel::Pool::Tasks);

    static constexpr int kViewport = 3;
    static constexpr int kFont = 1;

    // Makes the game's panel under the scene and registers it.
    static TaskStatusView* create(qel::TaskBase* scene);
    // The game's panel, or null.
    static TaskStatusView* find();

    TaskStatusView();
    ~TaskStatusView() override;

    // DrawStatusView runs at the next draw.
    void redraw() { redraw_ = true; }
    bool redrawPending() const { return redraw_; }
    // Text in font 1 at (x, y) of the panel, or at the text pen.
    void drawText(int x, int y, const char* text, Color colour);
    void drawText(const char* text, Color colour);
    // The chip (column, row) of the chip picture at (x, y), scaled to
    // ICON_WIDTH x ICON_HEIGHT.
    void drawChip(float x, float y, Point chip, Color colour);

    qel::RenderTarget* target() const { return target_.get(); }

    bool init() override;
    void draw() override;
    void release() override;

private:
    OwnedTarget target_;
    OwnedTexture chips_;
    bool redraw_ = true;
};
