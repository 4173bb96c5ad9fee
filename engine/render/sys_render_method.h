// The registry of method buffers: every MethodBuffer joins it when first
// used, and the render subsystem resets them all at the end of each frame
// and releases them at term.
#pragma once

#include <vector>

#include "engine/core/sys_base.h"

namespace qel {

class IMethodBuffer;

class SysRenderMethod : public SysBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(SysRenderMethod, SysBase, Pool::System);

    static SysRenderMethod& instance();

    void term() override;

    void add(IMethodBuffer* buffer);
    void resetAll();
    std::size_t bufferCount() const { return buffers_.size(); }

private:
    SysRenderMethod() = default;

    std::vector<IMethodBuffer*> buffers_;
};

}  // namespace qel
