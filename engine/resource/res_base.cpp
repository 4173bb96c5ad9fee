#include "engine/resource/res_base.h"

namespace qel {

std::int32_t ResBase::getState() const {
    ScopedLock lock(lock_);
    return state_;
}

void ResBase::setState(std::int32_t state) {
    ScopedLock lock(lock_);
    state_ = state;
}

}  // namespace qel
