// One-pixel outlines queued as closed five-point lines: the frames of the
// shell's windows, menus and lists.
#pragma once

#include "game/world/value_types.h"

namespace ui_outline {

// The rectangle with corners (x1, y1) and (x2, y2), both on the outline,
// queued into the viewport slot.
void queueRect(int viewport, int x1, int y1, int x2, int y2, Color colour);

// The outline of a whole width x height picture: x 0 and width - 1, y 0 and
// height - 1 (a side below 1 counts as 1).
void queueFrame(int viewport, int width, int height, Color colour);

}  // namespace ui_outline
