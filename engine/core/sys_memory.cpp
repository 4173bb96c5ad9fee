#include "engine/core/sys_memory.h"

namespace qel {

SysMemory& SysMemory::instance() {
    static SysMemory memory;
    return memory;
}

bool SysMemory::init() {
    bool ok = true;
    for (int n = 0; n < kPoolCount; ++n) {
        pools_[n] = poolById(n);
        ok = ok && pools_[n]->arenaSize() > 0;
    }
    return ok;
}

const ClassInfo& SysMemory::staticClassInfo() {
    static const ClassInfo info = ClassInfo::make<SysMemory, SysBase>("SysMemory");
    return info;
}

}  // namespace qel
