// The light subsystem: up to 16 lights, and for every viewport of the frame
// one command, sorted right after the viewport's set-up (its key with the
// lowest bit set), that enables on the active shader exactly the lights
// shining in that viewport.
//
// Kept true: shader light indices are packed (the k-th light enabled for a
// viewport gets index k - 1), and indices enabled by the previous command
// and not used now are disabled.
#pragma once

#include <cstdint>

#include "engine/core/sys_base.h"
#include "engine/render/render_key.h"
#include "engine/render/render_method.h"

namespace qel {

class Light;
class SysCamera;

class SysLight : public SysBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(SysLight, SysBase, Pool::System);

    static constexpr int kLightSlots = 16;

    class MethodLight : public RenderMethod {
    public:
        QEL_CLASS(MethodLight, RenderMethod, Pool::RenderCommands);

        void execute() override;

        SysLight* owner = nullptr;
        std::int32_t slot = 0;
    };

    static SysLight& instance();
    SysLight();
    ~SysLight() override;
    SysLight(const SysLight&) = delete;
    SysLight& operator=(const SysLight&) = delete;

    void term() override;
    void draw() override;
    void onResetDevice() override { enabledCount_ = 0; }

    // Puts the light (owned from now on) in a slot 0-15, deleting a different
    // one there.
    void setLight(int slot, Light* light);
    Light* getLight(int slot) const;
    // Enables the lights of the viewport slot on the active shader.
    void apply(int viewportSlot);
    std::uint32_t enabledCount() const { return enabledCount_; }

    // Where the viewports are (the program's camera subsystem by default).
    void setCamera(SysCamera* camera) { camera_ = camera; }

private:
    Light* lights_[kLightSlots] = {};
    MethodLight commands_[kViewportSlots];
    std::uint32_t enabledCount_ = 0;
    SysCamera* camera_ = nullptr;
};

}  // namespace qel
