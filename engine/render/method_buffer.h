// A reusable store of method objects of one type, so that once the game has
// warmed up a frame allocates no command.
//
// Kept true: the first `used` objects are the ones handed out this frame;
// the rest wait for the next get(). Objects live until release().
//
// Usage (a producer's draw step):
//     MethodText* m = MethodBuffer<MethodText>::instance().get();
//     if (!m) return;            // no memory: the command is skipped
//     ...fill m...
//     render.queue(key, m);
#pragma once

#include <cstdint>
#include <new>
#include <vector>

#include "engine/render/i_method_buffer.h"
#include "engine/render/sys_render_method.h"

namespace qel {

template <class T>
class MethodBuffer final : public IMethodBuffer {
public:
    static const ClassInfo& staticClassInfo() {
        return classRecord<MethodBuffer<T>, IMethodBuffer, false>("MethodBuffer<T>");
    }
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
    QEL_POOLED(Pool::System);

    // One per method type, joined to the registry on first use.
    static MethodBuffer& instance() {
        static MethodBuffer buffer;
        return buffer;
    }

    // The next unused object of the frame; null when a new one cannot be made.
    T* get() {
        if (used_ == methods_.size()) {
            T* method = new T();
            if (!method) return nullptr;
            try {
                methods_.push_back(method);
            } catch (const std::bad_alloc&) {
                delete method;
                return nullptr;
            }
        }
        return methods_[used_++];
    }

    void reset() override { used_ = 0; }
    void release() override {
        for (T* method : methods_) delete method;
        methods_.clear();
        used_ = 0;
    }

    std::uint32_t used() const { return used_; }
    std::size_t size() const { return methods_.size(); }

private:
    MethodBuffer() { SysRenderMethod::instance().add(this); }
    ~MethodBuffer() override { release(); }

    std::vector<T*> methods_;
    std::uint32_t used_ = 0;
};

}  // namespace qel
