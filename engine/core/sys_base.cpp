#include "engine/core/sys_base.h"

namespace qel {

const ClassInfo& SysBase::staticClassInfo() {
    static const ClassInfo info = ClassInfo::make<SysBase, Core>("SysBase");
    return info;
}

}  // namespace qel
