#include "game/shell/ui/target_view.h"

#include <algorithm>
#include <atomic>
#include <string>

#include "engine/render/sys_camera.h"
#include "engine/render/viewport.h"
#include "engine/resource/sys_resource.h"
#include "engine/system/message_box.h"
#include "game/shell/settings.h"

namespace target_view {

namespace {

// Pictures other than the title's load with opaque black as transparent.
constexpr std::uint32_t kChipColorKey = 0xFF000000u;

}  // namespace

OwnedTarget make(int slot, int width, int height, Color clearColour) {
    return make(ViewportInfo(slot, 0, slot), width, height, clearColour);
}

OwnedTarget make(const ViewportInfo& record, int width, int height, Color clearColour) {
    OwnedTarget target(qel::SysResource::instance().createRenderTarget(
        static_cast<std::uint32_t>(std::max(width, 1)),
        static_cast<std::uint32_t>(std::max(height, 1)), qel::PixelFormat::A8R8G8B8));
    if (!target) return target;
    auto* view =
        new qel::Viewport(qel::Viewport::Rect{}, static_cast<std::uint32_t>(record.order),
                          static_cast<std::uint32_t>(record.pass), target.get(), 0.0f, 1.0f);
    view->setClear(0, qel::kClearTarget, clearColour.argb(), 1.0f, 0);
    qel::SysCamera::instance().setViewport(record.index, view);
    return target;
}

void drop(int slot, const qel::RenderTarget* target) {
    if (!target) return;
    qel::SysCamera& camera = qel::SysCamera::instance();
    if (qel::Viewport* view = camera.getViewport(slot); view && view->getTarget() == target)
        camera.setViewport(slot, nullptr);
}

OwnedTexture chips() {
    qel::SysResource& resources = qel::SysResource::instance();
    OwnedTexture chips(
        resources.getTexture(RES_TEX_CHIP, kChipColorKey, qel::SysResource::kLoadNow));
    // Without its chips the map is flat squares: the player is told once,
    // as of any data file (the loader has logged why).
    const qel::ResTexture* texture = chips ? chips->getTexture() : nullptr;
    static std::atomic<bool> told{false};
    if ((!texture || texture->getState() == qel::ResBase::kFailed) && !told.exchange(true)) {
        const std::string text = std::string(kChipsFailedText) + RES_TEX_CHIP;
        qel::MessageBox::show(text.c_str(), kChipsFailedCaption);
    }
    return chips;
}

}  // namespace target_view
