// Base of the engine subsystems that the application owns and drives each
// frame in a fixed order.
#pragma once

#include "engine/core/core.h"

namespace qel {

class SysBase : public Core {
public:
    QEL_CLASS(SysBase, Core, Pool::System);

    virtual bool init() { return true; }
    virtual void term() {}
    // False asks the application to stop.
    virtual bool update() { return true; }
    virtual void draw() {}
    virtual void onLostDevice() {}
    virtual void onResetDevice() {}
};

}  // namespace qel
