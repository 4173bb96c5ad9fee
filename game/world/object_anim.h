// A map object with a queue of animation steps that move its drawn picture
// in pixels over frames (a walk, a lunge, a throw, a pause).
//
// What it keeps true:
//   - A step ends when its frame count reaches or passes its frames, so a
//     step of 0 or fewer frames ends after one update, and the drawing
//     position never divides by zero.
//   - While a step is queued the object sits in one manager's animating
//     list (its own manager's, or the game's for an object in none), and it
//     leaves that list before it is freed.
//   - The start of the head step is where its picture was when it began.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/core/memory_allocator.h"
#include "engine/resource/res_texture.h"
#include "game/world/object_base.h"
#include "game/world/value_types.h"

class ObjectAnim : public ObjectBase {
public:
    struct Step {
        Vector2 target;  // pixels
        std::int32_t frames;
        float angle;  // radians
        bool draw;
        bool move;
    };

    // What draw() puts on screen: one tile of the chip sheet.
    struct SpriteDescription {
        std::int32_t x = 0;  // centre, whole pixels
        std::int32_t y = 0;
        Point source;  // top left in the chip sheet, pixels
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        float angle = 0.0f;  // radians, about the centre
        Color color;
    };

    ObjectAnim();
    ObjectAnim(std::string_view name, const Point& chip, const Color& color, std::int32_t type,
               INFO info, const Point& pos, bool visible, bool keep);
    ~ObjectAnim() override;

    QEL_CLASS(ObjectAnim, ObjectBase, qel::Pool::World);

    bool serialize(VersionFile& file) override;
    float getDrawAlpha(const Point& cell) const override;

    // Advances the head step one frame; false when no step is left.
    virtual bool updateAnim();
    // Queues the head step's sprite (see describeSprite) from the chip
    // texture into the drawing viewport, layered by the drawing priority.
    virtual void draw();
    std::optional<SpriteDescription> describeSprite(const Vector2& viewOffset) const;

    void addAnim(const Vector2& target, std::int32_t frames, float angleDegrees = 0.0f,
                 bool draw = true, bool move = false);
    void addAnimMove(const Point& delta, std::int32_t frames, bool moveCell = true);
    void addAnimHit(const Point& dir, std::int32_t frames);
    void addAnimThrow(const Point& offset, std::int32_t framesPerCell, bool rotate = false);
    void addAnimWait(std::int32_t frames, bool draw = true);
    void clearAnim();
    bool haveAnim() const { return !steps_.empty(); }
    // Frames still to play: all queued frames minus those elapsed.
    std::int32_t getAnimLen() const;
    const std::vector<Step, qel::PoolAllocator<Step, qel::Pool::World>>& steps() const {
        return steps_;
    }

    Vector2 getEndPos() const;
    Vector2 getAnimPos() const;
    Vector2 getMovePos() const;

    bool getSkip() const { return skip_; }
    void setSkip(bool on) { skip_ = on; }
    bool getForceDraw() const { return forceDraw_; }
    void setForceDraw(bool on) { forceDraw_ = on; }

    // The map view's scroll, read when objects draw.
    static void setViewOffset(const Vector2& offset);
    static Vector2 getViewOffset();
    // Where objects draw: the chip sheet and the viewport index (the map
    // view sets them, keeps the texture alive and clears them before it
    // lets it go; until then, and with a negative index, nothing draws).
    static void setDrawTarget(qel::ResTexture* chips, int viewport);

protected:
    Vector2 cellPixels() const;
    Point cellOf(const Vector2& pixels) const;
    void registerAnimating();

private:
    friend class ObjectManager;
    void finishStep();

    std::vector<Step, qel::PoolAllocator<Step, qel::Pool::World>> steps_;
    std::int32_t elapsed_ = 0;
    Vector2 start_;
    bool skip_ = true;
    bool forceDraw_ = false;
    ObjectManager* animManager_ = nullptr;
};
