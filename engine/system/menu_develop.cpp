#include "engine/system/menu_develop.h"

namespace qel {}  // namespace qel
