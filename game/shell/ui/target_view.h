// What the shell's windows share: sole ownership of texture and target
// handles, and a render target with the viewport slot that draws into it.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/resource/render_target.h"
#include "game/shell/ui/viewport_info.h"
#include "game/world/value_types.h"

struct DeleteTextureHandle {
    void operator()(qel::RenderTexture* handle) const { delete handle; }
};
using OwnedTexture = std::unique_ptr<qel::RenderTexture, DeleteTextureHandle>;
using OwnedTarget = std::unique_ptr<qel::RenderTarget, DeleteTextureHandle>;

namespace target_view {

// The state word windows, lists, the log and their icons are drawn with:
// source over (their half-transparent backgrounds and the transparent
// parts of chips let what lies beneath show), point filtering.
inline constexpr std::uint32_t kSourceOver = 1;

// A width x height target (sides below 1 count as 1) and, in the viewport
// slot, a viewport of order 0 and pass `slot` rendering into it and never
// clearing by itself; it replaces whatever the slot held. Null when the
// target cannot be made (the slot is then left alone).
OwnedTarget make(int slot, int width, int height, Color clearColour);
// The same in the record's slot, with the record's order and pass.
OwnedTarget make(const ViewportInfo& record, int width, int height, Color clearColour);
// Empties the slot when its viewport still renders into the target.
void drop(int slot, const qel::RenderTarget* target);
// The chip picture (RES_TEX_CHIP), loaded now with opaque black as its
// transparent colour; null when it cannot be had. The first that cannot be
// had shows a box naming the file.
OwnedTexture chips();
inline constexpr const char* kChipsFailedText = "画像ファイルの読み込みに失敗しました : ";
inline constexpr const char* kChipsFailedCaption = "エラー";

}  // namespace target_view
