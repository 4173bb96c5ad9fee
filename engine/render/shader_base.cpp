#include "engine/render/shader_base.h"

#include "engine/render/sys_render.h"
#include "engine/render/sys_shader.h"
#include "engine/resource/render_target.h"
#include "engine/resource/render_texture.h"

namespace qel {

void ShaderBase::setTexture(std::uint32_t stage, const RenderTexture* handle) {
    setTexture(stage, handle ? handle->loadedTexture() : nullptr);
}

void ShaderBase::bindDeviceTexture(ResTexture* texture) {
    GraphicsDevice* device = system_.states().device();
    if (!device) return;
    if (!texture) {
        RenderTarget* white = SysRender::instance().whiteTarget();
        texture = white ? white->getTarget() : nullptr;
    }
    device->setTexture(texture ? texture->getSurface() : nullptr);
}

}  // namespace qel
