#include "game/world/object_anim.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "engine/render/sprite_desc.h"
#include "engine/render/sys_render_sprite.h"
#include "game/world/game_data.h"
#include "game/world/object_manager.h"
#include "game/world/version_file.h"
#include "game/world/world_settings.h"

namespace {

constexpr float kDegreesToRadians = 0.0174533f;
Vector2 g_viewOffset;
// Not counted: the map view holds it and clears it before letting it go.
qel::ResTexture* g_chips = nullptr;
int g_drawViewport = -1;
// Alpha blending: the chip's own transparency shows the floor below.
constexpr std::uint32_t kObjectStateWord = 1;

std::int32_t clampToInt32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

Vector2 tileSize() {
    return {static_cast<float>(CHIP_WIDTH), static_cast<float>(CHIP_HEIGHT)};
}

Vector2 scaled(const Point& p, const Vector2& size) {
    return {static_cast<float>(p.x) * size.x, static_cast<float>(p.y) * size.y};
}

}  // namespace

ObjectAnim::ObjectAnim() = default;

ObjectAnim::ObjectAnim(std::string_view name, const Point& chip, const Color& color,
                       std::int32_t type, INFO info, const Point& pos, bool visible, bool keep)
    : ObjectBase(name, chip, color, type, info, pos, visible, keep) {}

ObjectAnim::~ObjectAnim() {
    if (animManager_) animManager_->removeAnimating(this);
}

void ObjectAnim::setViewOffset(const Vector2& offset) {
    g_viewOffset = offset;
}

Vector2 ObjectAnim::getViewOffset() {
    return g_viewOffset;
}

void ObjectAnim::setDrawTarget(qel::ResTexture* chips, int viewport) {
    g_chips = chips;
    g_drawViewport = viewport;
}

bool ObjectAnim::serialize(VersionFile& file) {
    if (!ObjectBase::serialize(file)) return false;
    std::uint8_t flags[2] = {skip_, forceDraw_};
    if (!file.serializeBytes(flags, sizeof flags)) return false;
    skip_ = flags[0] != 0;
    forceDraw_ = flags[1] != 0;
    return true;
}

float ObjectAnim::getDrawAlpha(const Point& cell) const {
    const float full = CHIP_VIEW_COLOR;
    if (forceDraw_) return full;
    const Dungeon* dungeon = GameData::instance().getDungeon();
    const Tile* tile = dungeon ? dungeon->getTile(cell) : nullptr;
    if (!tile) return 0.0f;
    return tile->getState() == TILE_VIEW || tile->getState() == TILE_LIGHT ? full : 0.0f;
}

Vector2 ObjectAnim::cellPixels() const {
    return scaled(getPos(), tileSize());
}

Point ObjectAnim::cellOf(const Vector2& pixels) const {
    auto cell = [](float px, std::uint32_t size) {
        const double c = std::round(static_cast<double>(px) / std::max<std::uint32_t>(size, 1));
        return std::isfinite(c) ? clampToInt32(static_cast<std::int64_t>(
                                      std::clamp(c, -2147483648.0, 2147483647.0)))
                                : -1;
    };
    return {cell(pixels.x, CHIP_WIDTH), cell(pixels.y, CHIP_HEIGHT)};
}

void ObjectAnim::registerAnimating() {
    ObjectManager* manager = getManager() ? getManager() : gameManager();
    if (manager) manager->addAnimating(this);
}

void ObjectAnim::addAnim(const Vector2& target, std::int32_t frames, float angleDegrees, bool draw,
                         bool move) {
    const bool wasEmpty = steps_.empty();
    steps_.push_back({target, frames, angleDegrees * kDegreesToRadians, draw, move});
    if (!wasEmpty) return;
    elapsed_ = 0;
    start_ = cellPixels();
    registerAnimating();
    setDrawFieldRaw(false);
}

void ObjectAnim::addAnimMove(const Point& delta, std::int32_t frames, bool moveCell) {
    addAnim(getEndPos() + scaled(delta, tileSize()), frames, 0.0f, true, moveCell);
    if (moveCell) addPos(delta.x, delta.y);
}

void ObjectAnim::addAnimHit(const Point& dir, std::int32_t frames) {
    const Vector2 cell = cellPixels();
    const float per = ANIM_HIT_MOVE_PER;
    const Vector2 lunge = cell + scaled(dir, tileSize()) * per;
    const std::int32_t first = frames / 2;
    addAnim(lunge, first, 0.0f, true, false);
    addAnim(cell, clampToInt32(static_cast<std::int64_t>(frames) - first), 0.0f, true, false);
}

void ObjectAnim::addAnimThrow(const Point& offset, std::int32_t framesPerCell, bool rotate) {
    const std::int64_t cells = std::max(std::llabs(static_cast<std::int64_t>(offset.x)),
                                        std::llabs(static_cast<std::int64_t>(offset.y)));
    const float angle = rotate ? static_cast<float>(std::atan2(static_cast<float>(offset.y),
                                                               static_cast<float>(offset.x)) /
                                                    kDegreesToRadians)
                               : 0.0f;
    addAnim(getEndPos() + scaled(offset, tileSize()), clampToInt32(framesPerCell * cells), angle,
            true, false);
    addPos(offset.x, offset.y);
}

void ObjectAnim::addAnimWait(std::int32_t frames, bool draw) {
    if (frames != 0) addAnim(getEndPos(), frames, 0.0f, draw, false);
}

void ObjectAnim::clearAnim() {
    steps_.clear();
}

std::int32_t ObjectAnim::getAnimLen() const {
    std::int64_t sum = 0;
    for (const Step& s : steps_) sum += s.frames;
    return clampToInt32(sum - (steps_.empty() ? 0 : elapsed_));
}

Vector2 ObjectAnim::getEndPos() const {
    return steps_.empty() ? cellPixels() : steps_.back().target;
}

Vector2 ObjectAnim::getAnimPos() const {
    if (steps_.empty()) return cellPixels();
    const Step& s = steps_.front();
    const float t =
        s.frames > 0 ? static_cast<float>(elapsed_) / static_cast<float>(s.frames) : 0.0f;
    return start_ + (s.target - start_) * t;
}

Vector2 ObjectAnim::getMovePos() const {
    return !steps_.empty() && steps_.front().move ? getAnimPos() : cellPixels();
}

void ObjectAnim::finishStep() {
    start_ = steps_.front().target;
    elapsed_ = 0;
    steps_.erase(steps_.begin());
}

bool ObjectAnim::updateAnim() {
    if (steps_.empty()) return false;
    const Step& s = steps_.front();
    if (elapsed_ == 0 && skip_ && getDrawAlpha(cellOf(start_)) <= 0.0f &&
        getDrawAlpha(cellOf(s.target)) <= 0.0f) {
        finishStep();
        return !steps_.empty();
    }
    ++elapsed_;
    if (elapsed_ >= s.frames) {
        finishStep();
        return !steps_.empty();
    }
    return true;
}

std::optional<ObjectAnim::SpriteDescription> ObjectAnim::describeSprite(
    const Vector2& viewOffset) const {
    if (steps_.empty() || !steps_.front().draw) return std::nullopt;
    const float alpha = getDrawAlpha(getPos());
    if (!(alpha > 0.0f)) return std::nullopt;
    const Vector2 size = tileSize();
    const Vector2 centre = getAnimPos() + viewOffset + size * 0.5f;
    SpriteDescription d;
    d.x = clampToInt32(std::llround(std::clamp(static_cast<double>(centre.x), -2e9, 2e9)));
    d.y = clampToInt32(std::llround(std::clamp(static_cast<double>(centre.y), -2e9, 2e9)));
    d.source = Point(clampToInt32(static_cast<std::int64_t>(getChip().x) * CHIP_WIDTH),
                     clampToInt32(static_cast<std::int64_t>(getChip().y) * CHIP_HEIGHT));
    d.width = CHIP_WIDTH;
    d.height = CHIP_HEIGHT;
    d.angle = steps_.front().angle;
    d.color = Color(getFieldColor() * alpha, 255);
    return d;
}

void ObjectAnim::draw() {
    if (g_drawViewport < 0) return;
    const std::optional<SpriteDescription> d = describeSprite(g_viewOffset);
    if (!d) return;
    qel::SpriteDesc sprite;
    sprite.set(g_chips, static_cast<float>(d->x), static_cast<float>(d->y), d->source.x,
               d->source.y, static_cast<std::int32_t>(d->width),
               static_cast<std::int32_t>(d->height), getPriority(), 0.5f, 0.5f, 1.0f, 1.0f,
               d->angle, d->color, kObjectStateWord, false);
    qel::SysRenderSprite::instance().draw(sprite, g_drawViewport);
}
