#include "engine/core/critical_section.h"

namespace qel {}  // namespace qel
