// The seam between the render queue's executor and the sprite batcher: the
// executor ends the open sprite batch (draws what is pending, sets sampler
// 0's addressing back to wrap, resets the sprite counter) whenever the
// command kind leaves a sprite kind, before any method that is not a sprite
// runs, and at the end of each queue. The sprite subsystem implements it
// and hands itself to SysRender::setSpriteBatch.
#pragma once

namespace qel {

class SpriteBatchEnd {
public:
    virtual ~SpriteBatchEnd() = default;
    // Must do nothing when no batch is open.
    virtual void endSpriteBatch() = 0;
};

}  // namespace qel
