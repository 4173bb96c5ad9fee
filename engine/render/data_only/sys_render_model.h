// The render subsystem's place for three-dimensional models. The game draws
// none, so its two command stores stay empty and nothing is executed; it
// exists so that model kinds (3 and 5) sort and end like every other kind.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/memory_allocator.h"
#include "engine/core/sys_base.h"
#include "engine/math/matrix.h"
#include "engine/render/method_buffer.h"
#include "engine/render/render_method.h"

namespace qel {

class SysRenderModel : public SysBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(SysRenderModel, SysBase, Pool::System);

    static constexpr std::size_t kMatrixCapacity = 32;

    class MethodModel : public RenderMethod {
    public:
        QEL_CLASS(MethodModel, RenderMethod, Pool::RenderCommands);
        void execute() override {}
    };
    class MethodAnim : public RenderMethod {
    public:
        QEL_CLASS(MethodAnim, RenderMethod, Pool::RenderCommands);
        void execute() override {}
    };

    static SysRenderModel& instance();

    // Room for 32 matrices; both command stores.
    bool init() override;

    // Whether a model command began a shader effect that the executor must
    // end when the kind changes (no command does in this program).
    bool effectBegun = false;
    std::uint32_t commandCount = 0;

    MethodBuffer<MethodModel>* models() const { return models_; }
    MethodBuffer<MethodAnim>* animations() const { return animations_; }
    std::size_t matrixCapacity() const { return matrices_.capacity(); }

private:
    SysRenderModel();

    MethodBuffer<MethodModel>* models_ = nullptr;
    MethodBuffer<MethodAnim>* animations_ = nullptr;
    std::vector<Matrix, PoolAllocator<Matrix, Pool::RenderCommands>> matrices_;
};

}  // namespace qel
