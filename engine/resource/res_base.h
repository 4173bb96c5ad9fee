// A named, shared resource with a load state, and the reference that holds
// one.
//
// Kept true: the count is the number of holders: the resource map's own
// reference, each handle (a render-target handle two), each loader while it
// exists and each caller of SysResource::getFileMemory. Nobody but
// SysResource deletes a resource: its collection deletes a registered one
// whose count is below 2, and its term the rest. Counts change on the game
// thread and, when a finished loader goes, on the loader thread, so they are
// atomic. The load state is written only under the resource's lock and
// last, after the data, so a reader that sees "loaded" sees the data.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <utility>

#include "engine/core/core.h"
#include "engine/core/critical_section.h"

namespace qel {

class ResBase : public Core {
public:
    QEL_CLASS_WITHOUT_FACTORY(ResBase, Core, Pool::Resources);

    enum State : std::int32_t { kNotLoaded = 0, kLoaded = 1, kFailed = 2 };

    ResBase() = default;
    ResBase(const ResBase&) = delete;
    ResBase& operator=(const ResBase&) = delete;

    // The name the resource map keys it by; set when it is registered.
    const std::string& getName() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }

    std::int32_t getState() const;
    void setState(std::int32_t state);

    std::int32_t getRefCount() const { return refs_.load(); }
    void addRef() { refs_.fetch_add(1); }
    // Gives one reference back; the resource stays until it is collected.
    void release() { refs_.fetch_sub(1); }

    virtual void onLostDevice() {}
    virtual void onResetDevice() {}

private:
    std::string name_;
    std::int32_t state_ = kNotLoaded;
    std::atomic<std::int32_t> refs_{1};
    mutable CriticalSection lock_;
};

// One counted reference on a resource (or none): taken when set, given
// back when replaced or destroyed.
template <class T>
class ResRef {
public:
    ResRef() = default;
    explicit ResRef(T* res) : res_(res) {
        if (res_) res_->addRef();
    }
    ~ResRef() { reset(); }
    ResRef(const ResRef&) = delete;
    ResRef& operator=(const ResRef&) = delete;

    void reset(T* res = nullptr) {
        if (res) res->addRef();
        if (res_) res_->release();
        res_ = res;
    }
    T* get() const { return res_; }
    T* operator->() const { return res_; }
    T& operator*() const { return *res_; }
    explicit operator bool() const { return res_ != nullptr; }

private:
    T* res_ = nullptr;
};

}  // namespace qel
