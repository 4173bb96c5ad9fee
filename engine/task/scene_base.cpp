#include "engine/task/scene_base.h"

namespace qel {}  // namespace qel
