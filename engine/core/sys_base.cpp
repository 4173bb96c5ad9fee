#include "engine/core/sys_base.h"

namespace qel {}  // namespace qel
