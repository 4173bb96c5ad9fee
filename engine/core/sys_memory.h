// The memory subsystem: brings the eight pools into existence and keeps a
// table of them by number for code that picks a pool at run time.
#pragma once

#include "engine/core/memory_allocator.h"
#include "engine/core/sys_base.h"

namespace qel {

class SysMemory : public SysBase {
public:
    static SysMemory& instance();
    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    // Creates every pool not created yet; false when a pool has no arena.
    bool init() override;
    MemoryAllocatorBase* pool(int n) const {
        return n >= 0 && n < kPoolCount ? pools_[n] : nullptr;
    }

private:
    MemoryAllocatorBase* pools_[kPoolCount] = {};
};

}  // namespace qel
