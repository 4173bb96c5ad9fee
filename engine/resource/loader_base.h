// A load waiting for its turn: it fills one resource from one path, on the
// loader thread or at once on the caller's, and is deleted right after its
// load by whoever ran it.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "engine/core/core.h"
#include "engine/resource/res_base.h"

namespace qel {

class LoaderBase : public Core {
public:
    QEL_CLASS_WITHOUT_FACTORY(LoaderBase, Core, Pool::System);

    enum State : std::int32_t { kIdle = 0, kLoading = 1, kDone = 2, kFailed = 3 };

    explicit LoaderBase(std::string path) : path_(std::move(path)) {}

    // Loads on the calling thread; true on success.
    virtual bool load() = 0;

    std::int32_t getState() const { return state_.load(); }
    const std::string& getPath() const { return path_; }

protected:
    void setState(std::int32_t state) { state_.store(state); }
    // The last step of every load: the target's state (loaded or failed),
    // then the loader's own. Returns ok.
    bool finish(ResBase& target, bool ok);

private:
    std::atomic<std::int32_t> state_{kIdle};
    std::string path_;
};

}  // namespace qel
