#include "engine/render/data_only/loader_shader.h"

namespace qel {

LoaderShader::LoaderShader(std::string path, ResShader* target, std::uint32_t flags,
                           EffectPool* pool, EffectMaker maker)
    : LoaderBase(std::move(path)),
      target_(target),
      flags_(flags),
      pool_(pool),
      maker_(maker ? std::move(maker) : EffectMaker(&LoaderShader::builtInEffect)) {}

std::unique_ptr<Effect> LoaderShader::builtInEffect(const std::string& path,
                                                    const std::vector<ShaderMacro>& macros) {
    return std::make_unique<Effect>(path, macros);
}

bool LoaderShader::load() {
    setState(kLoading);
    std::unique_ptr<Effect> effect = maker_(getPath(), shaderMacros(flags_));
    if (!effect) return finish(*target_, false);
    target_->setEffect(std::move(effect));
    return finish(*target_, true);
}

}  // namespace qel
