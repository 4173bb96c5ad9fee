#include "engine/render/sys_render_line.h"

#include "engine/gfx/graphics_device.h"
#include "engine/render/render_key.h"
#include "engine/render/sys_render.h"

namespace qel {

SysRenderLine& SysRenderLine::instance() {
    static SysRenderLine system;
    return system;
}

bool SysRenderLine::init() {
    methods_ = &MethodBuffer<MethodLine>::instance();
    lineObject_ = true;
    return true;
}

bool SysRenderLine::drawLine(int viewport, const LineDesc& line) {
    if (line.count < 2 || line.count > LineDesc::kMaxPoints) return false;
    if (!methods_) methods_ = &MethodBuffer<MethodLine>::instance();
    MethodLine* m = methods_->get();
    if (!m) return false;
    m->line = line;
    return SysRender::instance().pushMethod(kKindLine, viewport, 0, m);
}

void SysRenderLine::MethodLine::execute() {
    GraphicsDevice* device = SysRender::instance().device();
    if (!device || !SysRenderLine::instance().hasLineObject()) return;
    LinePoint points[LineDesc::kMaxPoints];
    for (std::uint32_t i = 0; i < line.count; ++i) points[i] = {line.points[i].x, line.points[i].y};
    device->drawLine(std::span<const LinePoint>(points, line.count), line.colour.argb());
}

}  // namespace qel
