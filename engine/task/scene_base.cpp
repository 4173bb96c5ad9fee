#include "engine/task/scene_base.h"

namespace qel {

const ClassInfo& SceneBase::staticClassInfo() {
    static const ClassInfo info = ClassInfo::make<SceneBase, TaskBase>("SceneBase");
    return info;
}

}  // namespace qel
