// The map view. The whole 50 x 30 map is kept drawn into the field target,
// one chip per cell, and only cells whose picture changed are drawn again;
// each frame the field target and the animating objects go into the light
// target, and a rectangle of that, centred on the player, is shown on the
// screen. The zoom child switches between two magnifications under the Tab
// key or, in the automatic mode, under the scripts' control, and eases
// between them.
//
// What it keeps true:
//   - The field target is cleared only by a redraw; a redraw draws every
//     remembered cell, and each frame's draw first draws (or blanks) the
//     cells marked changed, in rows from the top.
//   - The shown rectangle lies inside the light target whenever it fits,
//     starts at 0 where it does not, and is never narrower than one pixel; a
//     zoom scale that is not a positive finite number counts as 1.
//   - Without a player the rectangle is the one for pixel (0, 0), drawn in
//     white, and no sight is cast.
//   - The blur's second light target is made only at start: switching
//     FIELD_BLUR_ENABLE on later waits for the next map view, switching it
//     off stops the swap and the trail at once.
//   - While it runs the objects draw into its light viewport with its chip
//     sheet and the global record's zoom changes reach its zoom child; at its
//     end both are taken back.
#pragma once

#include <cstdint>

#include "engine/input/key_code.h"
#include "engine/task/task_base.h"
#include "game/shell/ui/target_view.h"
#include "game/world/value_types.h"

class TaskFieldZoom : public qel::TaskBase {
public:
    QEL_CLASS(TaskFieldZoom, qel::TaskBase, qel::Pool::Tasks);

    // Modes: 0 zoomed while Tab is held, 1 while it is not, 2 each press
    // toggles, 3 each press toggles and the scripts' count zooms too.
    static constexpr int kAutoMode = 3;
    static constexpr int kTabKey = qel::KEY_TAB;

    // Mode and zoom from the global record (mode 0, out without one).
    TaskFieldZoom();

    void update() override;

    // The automatic zoom's count (C_CountZoomCommand); mode 3 only.
    void countZoomCommand(bool zoomOut);

    std::int32_t getMode() const { return mode_; }
    void setMode(std::int32_t mode) { mode_ = mode; }
    bool isZoomed() const { return zoomed_; }
    void setZoomed(bool on) { zoomed_ = on; }
    // 0 zoomed out .. 1 zoomed in.
    float getFactor() const { return factor_; }
    void setFactor(float factor) { factor_ = factor; }
    std::uint32_t getCount() const { return count_; }

private:
    void toggle();

    std::int32_t mode_ = 0;
    bool zoomed_ = false;
    float factor_ = 0.0f;
    std::uint32_t count_ = 0;
};

class TaskField : public qel::TaskBase {
public:
    QEL_CLASS(TaskField, qel::TaskBase, qel::Pool::Tasks);

    static constexpr int kFieldViewport = 1;
    // The map view's slot: the map cursor and the direction ring draw there
    // with the objects (slot 2 is the item list's).
    static constexpr int kLightViewport = 14;
    // Layer of the map on the screen: below every window.
    static constexpr std::uint8_t kScreenLayer = 0;

    struct Rect {
        std::int32_t left = 0;
        std::int32_t top = 0;
        std::int32_t width = 1;
        std::int32_t height = 1;
        bool operator==(const Rect&) const = default;
    };

    // Makes the game's map view under the scene (its first task) and
    // publishes it in GameData; null when one runs already.
    static TaskField* start(qel::TaskBase* scene);
    // The running map view, or null.
    static TaskField* current();

    TaskField();
    ~TaskField() override;

    bool init() override;
    void update() override;
    void draw() override;
    void release() override;

    // Clears the field target at the next frame and draws every remembered
    // cell into it.
    void redraw();
    // Clears the field target at the next frame; nothing is drawn into it.
    void clearField();

    // The part of the light target shown for one zoom scale, around the
    // followed pixel position (half away from zero).
    static Rect viewRect(float scale, float followX, float followY);
    // Between the zoomed-out and zoomed-in rectangles, eased.
    static Rect shownRect(float factor, float followX, float followY);
    // What the shown rectangle is magnified by on the screen.
    static float shownScale(const Rect& shown);

    TaskFieldZoom* zoom() const { return zoom_; }
    qel::RenderTarget* fieldTarget() const { return field_.get(); }
    qel::RenderTarget* lightTarget() const { return light_[0].get(); }
    bool hasBlurTarget() const { return light_[1] != nullptr; }
    const Rect& lastShown() const { return shown_; }

private:
    void drawCell(std::int32_t x, std::int32_t y, bool blankUnseen);
    void drawChangedCells();
    void showLight();
    void installHooks(bool on);

    OwnedTexture chips_;
    OwnedTarget black_;
    OwnedTarget field_;
    OwnedTarget light_[2];
    Color colour_ = Color::BLACK;
    TaskFieldZoom* zoom_ = nullptr;
    Rect shown_;
    Rect lastShown_;
    bool haveLastShown_ = false;
};
