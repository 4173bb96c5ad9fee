// The pulsing ring of arrows that shows the player a direction is asked
// for: a picture of 2 x 2 chips (DIRECTION_CHIP_X, DIRECTION_CHIP_Y) centred
// on the followed character's cell, its alpha following a sine over
// DIRECTION_BLINK_FRAME frames. C_DispDirection shows and removes it.
//
// What it keeps true: the phase stays below the period (0 for a period of
// 0, which shows the ring solid); a followed object that is deleted is let
// go and the ring stays on its last cell; one ring at a time, found through
// Register<TaskDirection>.
#pragma once

#include <cstdint>

#include "engine/task/task_base.h"
#include "game/shell/ui/followed_object.h"
#include "game/shell/ui/target_view.h"

class TaskDirection : public qel::TaskBase {
public:
    QEL_CLASS(TaskDirection, qel::TaskBase, qel::Pool::Tasks);

    enum Mode : int { kSolid = 1, kPulsing = 2 };

    // Shows the ring around `chara` under the scene, unless one is shown.
    static TaskDirection* show(qel::TaskBase* scene, ObjectBase* chara);
    // Removes the ring, if one is shown.
    static void hide();
    static TaskDirection* find();

    TaskDirection();
    ~TaskDirection() override;

    void setMode(int mode) { mode_ = mode; }
    int getPhase() const { return phase_; }
    void setPhase(int phase) { phase_ = phase; }
    ObjectBase* getFollowed() const { return followed_.get(); }
    // The ring's alpha now: 255 solid, the sine's while pulsing, 0 hidden.
    std::uint32_t alpha() const;

    bool init() override;
    void update() override;
    void draw() override;
    void release() override;

private:
    FollowedObject followed_;
    OwnedTexture chips_;
    int mode_ = kPulsing;
    int phase_ = 0;
    Point cell_;
};
