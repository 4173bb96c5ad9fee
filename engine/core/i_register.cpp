#include "engine/core/i_register.h"

namespace qel {

const ClassInfo& IRegister::staticClassInfo() {
    static const ClassInfo info = ClassInfo::makeWithoutFactory<IRegister, Core>("IRegister");
    return info;
}

}  // namespace qel
