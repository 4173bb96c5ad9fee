#include "engine/render/data_only/sys_render_model.h"

#include <new>

namespace qel {

SysRenderModel& SysRenderModel::instance() {
    static SysRenderModel system;
    return system;
}

SysRenderModel::SysRenderModel() {
    try {
        matrices_.reserve(4);
    } catch (const std::bad_alloc&) {
    }
}

bool SysRenderModel::init() {
    try {
        matrices_.reserve(kMatrixCapacity);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (matrices_.size() > kMatrixCapacity) matrices_.resize(kMatrixCapacity);
    models_ = &MethodBuffer<MethodModel>::instance();
    animations_ = &MethodBuffer<MethodAnim>::instance();
    return true;
}

}  // namespace qel
