// The 32-bit sort key of a render command, compared as an unsigned number:
//
//   bits 29-31  viewport order 0-7        } the viewport's key
//   bits 24-28  shader pass 0-31          }
//   bits 20-23  command kind 0-15           the producer's
//   bits  0-19  order within the kind       the producer's
//
// A viewport's key is (order << 5 | pass) << 24. kUnsortedKey marks a
// command for the unsorted queue, which runs first, in queuing order
// (viewport index 48 gives it).
#pragma once

#include <cstdint>

namespace qel {

inline constexpr std::uint32_t kUnsortedKey = 0xFFFFFFFFu;
// The viewport index that means "no viewport": the unsorted queue.
inline constexpr int kUnsortedViewport = 48;
inline constexpr int kViewportSlots = 48;

// The kinds the engine queues. Sprites are kinds 1, 6, 7 and 10.
enum RenderKind : std::uint32_t {
    kKindViewport = 0,      // viewport set-up (order 0), then its lights (order 1)
    kKindSprite = 1,        // sprites drawn before models
    kKindModel = 3,         // models
    kKindModelLate = 5,     // animated models
    kKindSpriteMiddle = 6,  // sprites between models and the late sprites
    kKindSpriteLate = 7,    // sprites drawn after models
    kKindLine = 8,
    kKindText = 9,
    kKindSpriteTop = 10,  // sprites drawn after text
};

constexpr std::uint32_t viewportKey(std::uint32_t order, std::uint32_t pass) {
    return ((order & 7u) << 5 | (pass & 31u)) << 24;
}
constexpr std::uint32_t keyPass(std::uint32_t key) {
    return (key >> 24) & 31u;
}
constexpr std::uint32_t keyKind(std::uint32_t key) {
    return (key >> 20) & 15u;
}
constexpr std::uint32_t kindBits(std::uint32_t kind, std::uint32_t order) {
    return (kind & 15u) << 20 | (order & 0xFFFFFu);
}
constexpr bool isSpriteKind(std::uint32_t kind) {
    return kind == kKindSprite || kind == kKindSpriteMiddle || kind == kKindSpriteLate ||
           kind == kKindSpriteTop;
}
constexpr bool isModelKind(std::uint32_t kind) {
    return kind == kKindModel || kind == kKindModelLate;
}

}  // namespace qel
