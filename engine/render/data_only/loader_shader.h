// Loads the effect of a feature-flag word into a ResShader: the macro list
// of the flags, given to the effect maker (the built-in pass-through effect
// unless a test puts in another, for instance one that fails).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/render/data_only/effect.h"
#include "engine/render/data_only/res_shader.h"
#include "engine/resource/loader_base.h"

namespace qel {

class EffectPool;

// Makes the effect of a file with macros; null when it cannot.
using EffectMaker = std::function<std::unique_ptr<Effect>(const std::string& path,
                                                          const std::vector<ShaderMacro>& macros)>;

class LoaderShader : public LoaderBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(LoaderShader, LoaderBase, Pool::System);

    LoaderShader(std::string path, ResShader* target, std::uint32_t flags, EffectPool* pool,
                 EffectMaker maker);

    bool load() override;

    // The built-in effect: always made.
    static std::unique_ptr<Effect> builtInEffect(const std::string& path,
                                                 const std::vector<ShaderMacro>& macros);

private:
    ResRef<ResShader> target_;
    std::uint32_t flags_;
    EffectPool* pool_;
    EffectMaker maker_;
};

}  // namespace qel
