#include "engine/render/data_only/effect.h"

namespace qel {

std::vector<ShaderMacro> shaderMacros(std::uint32_t flags) {
    struct Bit {
        const char* name;
        std::uint32_t bits;
    };
    static constexpr Bit kBits[] = {
        {"LIGHTING", 0x1},           {"METAL_REFLECTION", 0x8},
        {"DIFFUSE_MAP", 0x2},        {"BUMP_MAP", 0x20},
        {"SPECULAR_MAP", 0x10},      {"DEPTH_BUFFER_SHADOW", 0x40},
        {"SPECULAR", 0x4},           {"FUR", 0x80},
        {"MULTI_PASS_DEPTH", 0x100}, {"DEPTH_MAP", 0x200},
        {"CROSS_BLEND", 0x400},      {"SOFT_PERTICLE", 0x800},
        {"POST_EFFECT", 0x800000},   {"BLUR_FILTER", 0x800001},
    };
    std::vector<ShaderMacro> macros;
    macros.reserve(std::size(kBits));
    for (const Bit& bit : kBits) {
        macros.push_back({bit.name, (flags & bit.bits) == bit.bits ? "1" : "0"});
    }
    return macros;
}

bool Effect::beginPass(int pass) {
    if (pass < 0 || pass >= kPassCount) return false;
    pass_ = pass;
    return true;
}

}  // namespace qel
