#include "game/shell/ui/outline.h"

#include <algorithm>

#include "engine/render/sys_render_line.h"

namespace ui_outline {

void queueRect(int viewport, int x1, int y1, int x2, int y2, Color colour) {
    qel::LineDesc line;
    const float left = static_cast<float>(x1);
    const float top = static_cast<float>(y1);
    const float right = static_cast<float>(x2);
    const float bottom = static_cast<float>(y2);
    line.points[0] = Vector2(left, top);
    line.points[1] = Vector2(right, top);
    line.points[2] = Vector2(right, bottom);
    line.points[3] = Vector2(left, bottom);
    line.points[4] = Vector2(left, top);
    line.count = 5;
    line.colour = colour;
    qel::SysRenderLine::instance().drawLine(viewport, line);
}

void queueFrame(int viewport, int width, int height, Color colour) {
    queueRect(viewport, 0, 0, std::max(width, 1) - 1, std::max(height, 1) - 1, colour);
}

}  // namespace ui_outline
