#include "engine/core/i_register.h"

namespace qel {}  // namespace qel
