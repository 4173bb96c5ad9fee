#include "engine/render/sys_shader.h"

#include <cstdio>

#include "engine/render/data_only/render_shader.h"
#include "engine/render/default_shader.h"
#include "engine/render/sys_render.h"
#include "engine/resource/sys_resource.h"

namespace qel {

SysShader& SysShader::instance() {
    static SysShader system;
    return system;
}

SysShader::SysShader() = default;

SysShader::~SysShader() {
    releaseShaders();
}

bool SysShader::init() {
    if (!default_) default_ = new DefaultShader(*this);
    passMode_ = 4;
    return default_ != nullptr;
}

void SysShader::term() {
    SysRender& render = SysRender::instance();
    ShaderBase* current = render.currentShader();
    if (current == default_ || classCast<RenderShader>(current)) render.setCurrentShader(nullptr);
    releaseShaders();
    // A new start begins from the start values.
    view = Matrix::IDENTITY;
    projection = Matrix::IDENTITY;
    world = Matrix::IDENTITY;
}

void SysShader::releaseShaders() {
    for (auto& [flags, shader] : cache_) delete shader;
    cache_.clear();
    delete default_;
    default_ = nullptr;
}

RenderShader* SysShader::find(std::uint32_t flags) const {
    auto it = cache_.find(flags);
    return it == cache_.end() ? nullptr : it->second;
}

RenderShader* SysShader::create(std::uint32_t flags) {
    SysResource& resources = resources_ ? *resources_ : SysResource::instance();
    char name[32];
    std::snprintf(name, sizeof name, "SHADER 0x%08X", flags);
    auto* resource = new ResShader(flags);
    if (!resource) return nullptr;
    resources.registerResource(resource, name);
    auto runLoader = [&](const char* path, std::uint32_t macroFlags) {
        if (auto* loader = new LoaderShader(path, resource, macroFlags, &pool_, maker_)) {
            loader->load();
            delete loader;
        }
    };
    runLoader(kDefaultEffectPath, flags);
    if (!resource->getEffect()) runLoader(kErrorEffectPath, 0);
    auto* shader = new RenderShader(*this, resource);
    // The map and the shader hold it now (or only the map, to be collected).
    resource->release();
    if (!shader) return nullptr;
    cache_.emplace(flags, shader);
    return shader;
}

ShaderBase* SysShader::Select(std::uint32_t flags) {
    RenderShader* shader = find(flags);
    if (!shader) shader = create(flags);
    ShaderBase* next = shader && shader->getEffect() ? static_cast<ShaderBase*>(shader) : default_;
    activate(next);
    return next;
}

void SysShader::activate(ShaderBase* shader) {
    SysRender& render = SysRender::instance();
    ShaderBase* current = render.currentShader();
    if (!shader || shader == current) return;
    if (current && current->isBegun()) {
        current->end();
        shader->begin();
    }
    render.setCurrentShader(shader);
}

}  // namespace qel
