#include "engine/core/core.h"

namespace qel {

bool ClassInfo::isKindOf(const ClassInfo& base) const {
    for (const ClassInfo* r = this; r; r = r->parent) {
        if (r->type && base.type && *r->type == *base.type) return true;
    }
    return false;
}

const ClassInfo& Core::staticClassInfo() {
    static const ClassInfo info = [] {
        ClassInfo i;
        i.name = "Core";
        i.type = &typeid(Core);
        i.factory = &detail::createDefault<Core>;
        return i;
    }();
    return info;
}

}  // namespace qel
