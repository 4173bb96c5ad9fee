#include "engine/core/core.h"

namespace qel {

const ClassInfo& Core::staticClassInfo() {
    static const ClassInfo info("Core", &detail::createDefault<Core>, nullptr);
    return info;
}

}  // namespace qel
