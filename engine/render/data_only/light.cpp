#include "engine/render/data_only/light.h"

#include "engine/render/shader_base.h"

namespace qel {

void Light::install(ShaderBase& shader, std::uint32_t index) {
    shader.setLight(index, *this);
}

}  // namespace qel
