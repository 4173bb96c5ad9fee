// One queued drawing command. Producers take method objects from their
// MethodBuffer during a frame's draw event, fill them and queue them under
// a sort key (see RenderQueue); the render subsystem executes them in key
// order and the buffers take them back at the end of the frame, so a method
// object is valid from its queuing to the end of that frame's execution.
#pragma once

#include "engine/core/core.h"

namespace qel {

class RenderMethod : public Core {
public:
    QEL_CLASS_WITHOUT_FACTORY(RenderMethod, Core, Pool::RenderCommands);

    virtual void execute() = 0;
    // Sprites say yes: the executor ends an open sprite batch before any
    // method that is not a sprite runs.
    virtual bool isSprite() const { return false; }
};

}  // namespace qel
