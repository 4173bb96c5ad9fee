// The parameters every effect shares (an effect pool): named matrices,
// four-float vectors, flags, textures and the material, as the shaders last
// set them. Reading a parameter never set answers null.
#pragma once

#include <array>
#include <map>
#include <string>

#include "engine/math/matrix.h"
#include "engine/render/data_only/material.h"

namespace qel {

class ResTexture;

class EffectPool {
public:
    using Vector4 = std::array<float, 4>;

    void setMatrix(const std::string& name, const Matrix& m) { matrices_[name] = m; }
    void setVector(const std::string& name, const Vector4& v) { vectors_[name] = v; }
    void setBool(const std::string& name, bool on) { bools_[name] = on; }
    void setTexture(const std::string& name, ResTexture* texture) { textures_[name] = texture; }
    void setMaterial(const std::string& name, const Material& m) { materials_[name] = m; }

    const Matrix* matrix(const std::string& name) const { return find(matrices_, name); }
    const Vector4* vector(const std::string& name) const { return find(vectors_, name); }
    const bool* flag(const std::string& name) const { return find(bools_, name); }
    ResTexture* const* texture(const std::string& name) const { return find(textures_, name); }
    const Material* material(const std::string& name) const { return find(materials_, name); }

private:
    template <class Map>
    static const typename Map::mapped_type* find(const Map& map, const std::string& name) {
        auto it = map.find(name);
        return it == map.end() ? nullptr : &it->second;
    }

    std::map<std::string, Matrix> matrices_;
    std::map<std::string, Vector4> vectors_;
    std::map<std::string, bool> bools_;
    std::map<std::string, ResTexture*> textures_;
    std::map<std::string, Material> materials_;
};

}  // namespace qel
