#include "engine/resource/loader_base.h"

namespace qel {

bool LoaderBase::finish(ResBase& target, bool ok) {
    target.setState(ok ? ResBase::kLoaded : ResBase::kFailed);
    setState(ok ? kDone : kFailed);
    return ok;
}

}  // namespace qel
