#include "engine/task/task_root.h"

namespace qel {}  // namespace qel
