#include "engine/render/data_only/camera.h"

#include <cmath>

#include "engine/render/shader_base.h"

namespace qel {

Matrix Camera::viewMatrix() const {
    const Vector3 z = normalize(lookAt - eye);
    const Vector3 x = normalize(cross(up, z));
    const Vector3 y = cross(z, x);
    return Matrix(x.x, y.x, z.x, 0.0f,  //
                  x.y, y.y, z.y, 0.0f,  //
                  x.z, y.z, z.z, 0.0f,  //
                  -dot(x, eye), -dot(y, eye), -dot(z, eye), 1.0f);
}

Matrix Camera::projectionMatrix() const {
    const float yScale = std::cos(fieldOfView / 2.0f) / std::sin(fieldOfView / 2.0f);
    const float xScale = yScale / aspect;
    const float q = farPlane / (farPlane - nearPlane);
    return Matrix(xScale, 0.0f, 0.0f, 0.0f,  //
                  0.0f, yScale, 0.0f, 0.0f,  //
                  0.0f, 0.0f, q, 1.0f,       //
                  0.0f, 0.0f, -nearPlane * q, 0.0f);
}

void Camera::apply(ShaderBase& shader) const {
    shader.setTransform(kTransformView, viewMatrix());
    shader.setTransform(kTransformProjection, projectionMatrix());
}

}  // namespace qel
