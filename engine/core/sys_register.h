// The list of every instance registry in the process. Each registry joins it
// when constructed and leaves it when destroyed, so the list never holds a
// destroyed registry.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/core/i_register.h"
#include "engine/core/memory_allocator.h"
#include "engine/core/sys_base.h"

namespace qel {

class SysRegister : public SysBase {
public:
    static SysRegister& instance();
    QEL_CLASS_WITHOUT_FACTORY(SysRegister, SysBase, Pool::System);

    void add(IRegister* reg);
    void remove(IRegister* reg);
    std::size_t count() const { return registers_.size(); }
    IRegister* get(std::size_t i) const { return i < registers_.size() ? registers_[i] : nullptr; }

private:
    std::vector<IRegister*, PoolAllocator<IRegister*, Pool::System>> registers_;
};

}  // namespace qel
