#include "engine/core/sys_memory.h"

namespace qel {

SysMemory& SysMemory::instance() {
    static SysMemory memory;
    return memory;
}

bool SysMemory::init() {
    bool ok = true;
    for (int n = 0; n < kPoolCount; ++n) {
        pools_[n] = poolById(static_cast<Pool>(n));
        ok = ok && pools_[n]->arenaSize() > 0;
    }
    return ok;
}

}  // namespace qel
