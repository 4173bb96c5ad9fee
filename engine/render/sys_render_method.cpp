#include "engine/render/sys_render_method.h"

#include "engine/render/i_method_buffer.h"

namespace qel {

SysRenderMethod& SysRenderMethod::instance() {
    static SysRenderMethod system;
    return system;
}

void SysRenderMethod::term() {
    for (IMethodBuffer* buffer : buffers_) buffer->release();
}

void SysRenderMethod::add(IMethodBuffer* buffer) {
    buffers_.push_back(buffer);
}

void SysRenderMethod::resetAll() {
    for (IMethodBuffer* buffer : buffers_) buffer->reset();
}

}  // namespace qel
