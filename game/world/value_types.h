// The engine's value types under the names the scripts know them by. The
// binding generator binds global names and the game's classes keep theirs
// in the global namespace (the scripts see only the bound names), so the
// game and its bindings use these, not the qel:: spellings.
#pragma once

#include "engine/math/color.h"
#include "engine/math/matrix.h"
#include "engine/math/point.h"
#include "engine/math/value_arith.h"
#include "engine/math/vector2.h"

using qel::Color;
using qel::Matrix;
using qel::Point;
using qel::Vector2;
namespace value_arith = qel::value_arith;
