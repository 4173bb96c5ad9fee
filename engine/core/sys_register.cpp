#include "engine/core/sys_register.h"

#include <algorithm>

namespace qel {

SysRegister& SysRegister::instance() {
    static SysRegister sys;
    return sys;
}

void SysRegister::add(IRegister* reg) {
    if (!reg || std::find(registers_.begin(), registers_.end(), reg) != registers_.end()) return;
    try {
        registers_.push_back(reg);
    } catch (const std::bad_alloc&) {
        // The list is for enumeration only; a registry missing from it still works.
    }
}

void SysRegister::remove(IRegister* reg) {
    registers_.erase(std::remove(registers_.begin(), registers_.end(), reg), registers_.end());
}

}  // namespace qel
