// The line subsystem: screen-space polylines of 2 to 5 points in one
// colour (window frames, separators, cursors), queued as commands of kind 8
// and drawn solid, one pixel wide.
//
// Kept true: the line object exists between init (or a device reset) and
// term (or a lost device); a line executed while it is absent is skipped.
// Lines of other point counts are refused at queuing.
#pragma once

#include <cstdint>

#include "engine/core/sys_base.h"
#include "engine/math/color.h"
#include "engine/math/vector2.h"
#include "engine/render/method_buffer.h"
#include "engine/render/render_method.h"

namespace qel {

struct LineDesc {
    static constexpr std::uint32_t kMaxPoints = 5;
    Vector2 points[kMaxPoints];  // screen pixels
    std::uint32_t count = 2;     // points used, 2 to 5
    Color colour = Color::WHITE;
    // Kept with the line and not applied: every line is solid, one pixel
    // wide, without antialiasing.
    std::uint32_t pattern = 0xFFFFFFFFu;
    float patternScale = 1.0f;
    float width = 1.0f;
    bool antialias = false;
};

class SysRenderLine final : public SysBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(SysRenderLine, SysBase, Pool::System);

    class MethodLine final : public RenderMethod {
    public:
        QEL_CLASS(MethodLine, RenderMethod, Pool::RenderCommands);
        void execute() override;
        LineDesc line;
    };

    static SysRenderLine& instance();

    bool init() override;
    void term() override { lineObject_ = false; }
    void onLostDevice() override { term(); }
    void onResetDevice() override { init(); }

    // Queues the line for a viewport index (0-47, or 48 for the unsorted
    // queue); false for a count outside 2..5 or when the queue drops it.
    bool drawLine(int viewport, const LineDesc& line);

    bool hasLineObject() const { return lineObject_; }

private:
    MethodBuffer<MethodLine>* methods_ = nullptr;
    bool lineObject_ = false;
};

}  // namespace qel
