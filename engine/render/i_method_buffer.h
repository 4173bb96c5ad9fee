// The type-free face of a MethodBuffer, through which SysRenderMethod
// resets and releases every buffer.
#pragma once

#include "engine/core/core.h"

namespace qel {

class IMethodBuffer : public Core {
public:
    QEL_CLASS_WITHOUT_FACTORY(IMethodBuffer, Core, Pool::System);

    // The frame is over: every method object may be handed out again.
    virtual void reset() = 0;
    // Deletes every method object.
    virtual void release() = 0;
};

}  // namespace qel
