// A shader effect as the render code drives it: technique "TMain" with two
// passes, begun and ended, one pass at a time, and committed before
// drawing. No effect file is compiled: every effect is the built-in
// pass-through one (texture times diffuse colour, which is what the device
// draws), made with the macro list its feature flags ask for, so a shader
// of any flag word loads and draws.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qel {

struct ShaderMacro {
    std::string name;
    std::string definition;

    bool operator==(const ShaderMacro&) const = default;
};

// The macros of a feature-flag word, each "1" when its bits are set and "0"
// otherwise, in the effect's order.
std::vector<ShaderMacro> shaderMacros(std::uint32_t flags);

class Effect {
public:
    static constexpr int kPassCount = 2;

    Effect(std::string path, std::vector<ShaderMacro> macros)
        : path_(std::move(path)), macros_(std::move(macros)) {}

    const std::string& path() const { return path_; }
    const std::vector<ShaderMacro>& macros() const { return macros_; }
    const std::string& technique() const { return technique_; }

    void setTechnique(std::string name) { technique_ = std::move(name); }
    void begin() { begun_ = true; }
    void end() { begun_ = false; }
    // False (nothing begun) for a pass the technique lacks.
    bool beginPass(int pass);
    void endPass() { pass_ = -1; }
    void commit() { ++commits_; }

    bool isBegun() const { return begun_; }
    // The pass begun, or -1.
    int activePass() const { return pass_; }
    int commits() const { return commits_; }

private:
    std::string path_;
    std::vector<ShaderMacro> macros_;
    std::string technique_;
    bool begun_ = false;
    int pass_ = -1;
    int commits_ = 0;
};

}  // namespace qel
