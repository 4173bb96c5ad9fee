// The base of the blinking markers (the message log's marker, the map
// cursor): a sprite shown steadily, blinking over a cycle of
// CURSOR_BLINK_ON + CURSOR_BLINK_OFF frames, or hidden. Each marker says
// where it stands and fills the rest of its sprite.
//
// What it keeps true: the phase stays below the cycle (0 for a cycle of 0
// frames, which shows the marker steadily) and runs on while the marker is
// hidden.
#pragma once

#include "engine/render/sprite_desc.h"
#include "engine/task/task_base.h"
#include "game/shell/ui/target_view.h"
#include "game/world/value_types.h"

class TaskBlinkObject : public qel::TaskBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(TaskBlinkObject, qel::TaskBase, qel::Pool::Tasks);

    enum Mode : int { kHidden = 0, kShown = 1, kBlinking = 2 };

    int getMode() const { return mode_; }
    // Any value but 1 and 2 hides the marker.
    void setMode(int mode) { mode_ = mode; }
    int getPhase() const { return phase_; }
    void setPhase(int phase) { phase_ = phase; }
    bool isVisible() const;

    void update() override;
    void draw() override;

protected:
    explicit TaskBlinkObject(int viewport) : viewport_(viewport) {}

    // Where the sprite's anchor lands.
    virtual Vector2 getPosition() const = 0;
    // The source rectangle, size, anchor, scale and layer of the sprite.
    virtual void setSprite(qel::SpriteDesc& sprite) const = 0;

    void setTexture(OwnedTexture texture) { texture_ = std::move(texture); }
    const qel::RenderTexture* texture() const { return texture_.get(); }

private:
    OwnedTexture texture_;
    int mode_ = kBlinking;
    int phase_ = 0;
    int viewport_;
};
