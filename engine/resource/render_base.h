// The base of the handles through which drawing code holds resources.
#pragma once

#include "engine/core/core.h"

namespace qel {

class RenderBase : public Core {
public:
    QEL_CLASS_WITHOUT_FACTORY(RenderBase, Core, Pool::RenderCommands);
};

}  // namespace qel
