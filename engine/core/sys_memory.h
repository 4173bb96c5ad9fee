// The memory subsystem: brings the eight pools into existence and keeps a
// table of them by number for code that picks a pool at run time.
#pragma once

#include "engine/core/memory_allocator.h"
#include "engine/core/sys_base.h"

namespace qel {

class SysMemory : public SysBase {
public:
    static SysMemory& instance();
    QEL_CLASS(SysMemory, SysBase, Pool::System);

    // Creates every pool not created yet; false when a pool has no arena.
    bool init() override;
    // Null for a value outside the eight pools.
    MemoryAllocatorBase* pool(Pool pool) const {
        const int n = poolIndex(pool);
        return n >= 0 && n < kPoolCount ? pools_[n] : nullptr;
    }

private:
    MemoryAllocatorBase* pools_[kPoolCount] = {};
};

}  // namespace qel
