#include "engine/core/critical_section.h"

namespace qel {

const ClassInfo& CriticalSection::staticClassInfo() {
    static const ClassInfo info = ClassInfo::make<CriticalSection, Core>("CriticalSection");
    return info;
}

const ClassInfo& ScopedLock::staticClassInfo() {
    static const ClassInfo info = ClassInfo::makeWithoutFactory<ScopedLock, Core>("ScopedLock");
    return info;
}

}  // namespace qel
