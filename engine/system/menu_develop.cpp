#include "engine/system/menu_develop.h"

namespace qel {

const ClassInfo& MenuDevelop::staticClassInfo() {
    static const ClassInfo info = ClassInfo::make<MenuDevelop, WindowMenuBase>("MenuDevelop");
    return info;
}

}  // namespace qel
