#include "engine/task/task_root.h"

namespace qel {

const ClassInfo& TaskRoot::staticClassInfo() {
    static const ClassInfo info = ClassInfo::make<TaskRoot, TaskBase>("TaskRoot");
    return info;
}

}  // namespace qel
