#include "game/world/object_anim.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/render/render_key.h"
#include "engine/render/sys_render.h"
#include "engine/render/sys_render_sprite.h"
#include "game/world/object_effect.h"
#include "game/world/object_gimmick.h"
#include "game/world/object_trap.h"
#include "tests/game/world/object_fixture.h"

namespace {

using OB = ObjectBase;

ObjectAnim* makeAnim(Point pos) {
    return new ObjectAnim("anim", Point(2, 3), Color(0xFF808080u), OB::TYPE_ENEMY, OB::INFO_NPC,
                          pos, true, false);
}

class ObjectAnimTest : public ObjectFixture {
protected:
    void SetUp() override {
        ObjectFixture::SetUp();
        dungeon_ = GameData::instance().getDungeon();
        setLight(TILE_VIEW);
    }
    void TearDown() override {
        setLight(TILE_DARK);
        ObjectFixture::TearDown();
    }
    void setLight(std::int32_t state) {
        for (std::int32_t i = 0; i < Dungeon::kCellCount; ++i) dungeon_->cellAt(i).setState(state);
    }
    // Frames until the manager has no animation left (capped).
    int framesToFinish() {
        for (int frame = 1; frame <= 1000; ++frame) {
            if (manager_->updateAnimations()) return frame;
        }
        return -1;
    }
    Dungeon* dungeon_ = nullptr;
};

TEST_F(ObjectAnimTest, StepsEndWhenTheirCountReachesTheirFrames) {
    struct Case {
        std::int32_t frames;
        int updates;
    };
    for (const Case c : {Case{-1, 1}, Case{0, 1}, Case{1, 1}, Case{7, 7}}) {
        SCOPED_TRACE(c.frames);
        ObjectAnim* a = makeAnim(Point(3, 3));
        a->addAnim(Vector2(80, 48), c.frames);
        EXPECT_FALSE(a->isDrawField());
        EXPECT_EQ(manager_->animatingCount(), 1u);
        const Vector2 p = a->getAnimPos();
        EXPECT_EQ(p.x, 48.0f) << "no division by a step's frames";
        EXPECT_EQ(framesToFinish(), c.updates);
        EXPECT_TRUE(a->isDrawField());
        EXPECT_EQ(a->getAnimPos().x, 48.0f) << "back to the cell once done";
        delete a;
    }
    EXPECT_TRUE(manager_->updateAnimations()) << "an empty list is done at once";
}

TEST_F(ObjectAnimTest, QueuedStepsFollowTheirRules) {
    ObjectAnim* a = makeAnim(Point(3, 3));
    a->addAnimWait(0);
    EXPECT_FALSE(a->haveAnim());
    EXPECT_EQ(manager_->animatingCount(), 0u);

    a->addAnimHit(Point(1, 0), 7);
    ASSERT_EQ(a->steps().size(), 2u);
    EXPECT_EQ(a->steps()[0].frames, 3);
    EXPECT_EQ(a->steps()[1].frames, 4);
    EXPECT_EQ(a->steps()[0].target.x, 48.0f + 8.0f);
    EXPECT_EQ(a->steps()[1].target.x, 48.0f);
    EXPECT_EQ(a->getPos(), Point(3, 3));
    a->clearAnim();

    a->addAnimThrow(Point(3, -1), 4, true);
    EXPECT_EQ(a->getAnimLen(), 12);
    EXPECT_EQ(a->getPos(), Point(6, 2));
    EXPECT_NEAR(a->steps()[0].angle, -0.32175f, 1e-4f);
    EXPECT_EQ(a->steps()[0].target.x, 96.0f);
    a->clearAnim();

    a->addAnimThrow(Point(0, 0), 4);
    EXPECT_EQ(a->getAnimLen(), 0);
    EXPECT_EQ(a->getPos(), Point(6, 2));
    a->clearAnim();

    a->addAnimMove(Point(0, 1), 8, false);
    EXPECT_EQ(a->getPos(), Point(6, 2)) << "moveCell false leaves the cell";
    a->addAnimMove(Point(1, 0), 8);
    EXPECT_EQ(a->getPos(), Point(7, 2));
    EXPECT_EQ(a->getEndPos().x, 112.0f);
    EXPECT_EQ(a->getEndPos().y, 48.0f);
    a->addAnimWait(10);
    EXPECT_EQ(a->getAnimLen(), 26);
    a->updateAnim();
    EXPECT_EQ(a->getAnimLen(), 25);
    EXPECT_EQ(a->getMovePos().x, 112.0f) << "a step without move leaves the move position";
    EXPECT_FALSE(makeAnim(Point(0, 0))->updateAnim());
}

TEST_F(ObjectAnimTest, UnseenStepsAreSkippedWhole) {
    setLight(TILE_DARK);
    ObjectAnim* a = makeAnim(Point(3, 3));
    a->addAnimMove(Point(1, 0), 8);
    a->addAnimMove(Point(1, 0), 8);
    EXPECT_TRUE(a->updateAnim());
    EXPECT_FALSE(a->updateAnim());
    a->setSkip(false);
    a->addAnimMove(Point(1, 0), 8);
    EXPECT_EQ(framesToFinish(), 8);
    a->setSkip(true);
    a->setForceDraw(true);
    a->addAnimMove(Point(1, 0), 8);
    EXPECT_EQ(framesToFinish(), 8);
}

TEST_F(ObjectAnimTest, SpriteDescriptionOfTheHeadStep) {
    ObjectAnim* a = makeAnim(Point(3, 3));
    EXPECT_FALSE(a->describeSprite(Vector2()).has_value()) << "no step, drawn on the field";
    a->addAnimMove(Point(1, 0), 4);
    a->updateAnim();
    const auto d = a->describeSprite(Vector2(100, 50));
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->x, 48 + 4 + 100 + 8);
    EXPECT_EQ(d->y, 48 + 50 + 8);
    EXPECT_EQ(d->source, Point(32, 48));
    EXPECT_EQ(d->color.argb(), 0xFF808080u);
    a->addAnimWait(5, false);
    a->clearAnim();
    a->addAnimWait(5, false);
    EXPECT_FALSE(a->describeSprite(Vector2()).has_value()) << "a step without its draw flag";
    setLight(TILE_OPEN);
    a->clearAnim();
    a->addAnimWait(5);
    EXPECT_FALSE(a->describeSprite(Vector2()).has_value()) << "an unseen cell";
}

TEST_F(ObjectAnimTest, DrawQueuesOneSpriteIntoTheDrawingViewport) {
    qel::SysRender& render = qel::SysRender::instance();
    ObjectAnim* a = makeAnim(Point(3, 3));
    a->addAnimWait(5);
    a->draw();
    EXPECT_EQ(render.unsortedQueue().count(), 0u) << "no drawing viewport yet";
    ObjectAnim::setDrawTarget(nullptr, qel::kUnsortedViewport);
    a->draw();
    ASSERT_EQ(render.unsortedQueue().count(), 1u);
    auto* m = static_cast<qel::SysRenderSprite::MethodSprite*>(
        render.unsortedQueue().entries()[0].method);
    // Centred on the cell's middle (56, 56), one 16 x 16 chip.
    EXPECT_FLOAT_EQ(m->corners[0].x, 48.0f - 0.5f);
    EXPECT_FLOAT_EQ(m->corners[3].y, 64.0f - 0.5f);
    EXPECT_EQ(m->corners[0].color, 0xFF808080u);
    ObjectAnim::setDrawTarget(nullptr, -1);
    render.draw();  // no device: the frame is only emptied
    EXPECT_EQ(render.unsortedQueue().count(), 0u);
}

// Runs a hook from inside its own update.
class HookAnim : public ObjectAnim {
public:
    std::function<void()> hook;
    bool updateAnim() override {
        if (hook) std::exchange(hook, nullptr)();
        return ObjectAnim::updateAnim();
    }
};

TEST_F(ObjectAnimTest, UpdateSurvivesObjectsAddedAndDeletedMidWalk) {
    auto* first = new HookAnim();
    ObjectAnim* victim = makeAnim(Point(1, 1));
    ObjectAnim* late = makeAnim(Point(2, 2));
    first->addAnimWait(3);
    victim->addAnimWait(3);
    bool lateQueued = false;
    first->hook = [&] {
        delete victim;  // animating, deleted mid-step before its turn
        late->addAnimWait(1);
        lateQueued = true;
    };
    EXPECT_FALSE(manager_->updateAnimations());
    EXPECT_TRUE(lateQueued);
    EXPECT_EQ(late->getAnimLen(), 1) << "added mid-walk: starts next frame";
    EXPECT_EQ(manager_->animatingCount(), 2u);
    EXPECT_EQ(recorder_.deleted.size(), 1u);
    EXPECT_FALSE(manager_->updateAnimations());
    EXPECT_EQ(late->getAnimLen(), 0);
    EXPECT_TRUE(manager_->updateAnimations());
    delete first;
}

TEST_F(ObjectAnimTest, EffectsShowTheirSyncObjectAndLeave) {
    ObjectAnim* hidden = makeAnim(Point(4, 4));
    auto* fx = new ObjectEffect("fx", Point(0, 0), Color(0u), Point(4, 4));
    EXPECT_EQ(fx->getType(), OB::TYPE_NONE);
    EXPECT_EQ(fx->getInfo(), OB::INFO_EFFECT);
    EXPECT_TRUE(fx->isVisible());
    EXPECT_FALSE(fx->isDrawField());
    EXPECT_FALSE(fx->isInWater());
    fx->setSyncObject(hidden);
    EXPECT_FALSE(hidden->isVisible());
    fx->addAnimWait(2);
    EXPECT_EQ(framesToFinish(), 2) << "the last frame ends the effect";
    EXPECT_TRUE(hidden->isVisible());
    EXPECT_FALSE(fx->isVisible());
    EXPECT_EQ(manager_->queuedCount(), 1u);
    manager_->exeRemove();

    // The sync object died before the effect ended.
    auto* fx2 = new ObjectEffect("fx", Point(0, 0), Color(0u), Point(4, 4));
    fx2->setSyncObject(hidden);
    fx2->addAnimWait(1);
    delete hidden;
    EXPECT_TRUE(manager_->updateAnimations());
    manager_->exeRemove();
    EXPECT_EQ(manager_->ownedCount(), 0u);

    // A loaded effect has no steps: it ends at its first update.
    ObjectAnim* shown = makeAnim(Point(5, 5));
    auto* loaded = new ObjectEffect();
    shown->setVisible(false);
    loaded->setSyncObject(shown);
    shown->setVisible(false);
    ASSERT_TRUE(manager_->add(loaded));
    loaded->afterRead();
    EXPECT_EQ(manager_->search(loaded->getSyncId()), shown);
    EXPECT_TRUE(manager_->updateAnimations());
    EXPECT_TRUE(shown->isVisible());
    manager_->exeRemove();
    EXPECT_EQ(manager_->ownedCount(), 1u);
}

TEST_F(ObjectAnimTest, GimmicksAndTrapsCarryTagAndWork) {
    const std::string longTag(40, 'x');
    auto* g =
        new ObjectGimmick("g", longTag, Point(0, 0), Color(0u), OB::INFO_GIMMICK_WALL, Point(1, 1));
    auto* t =
        new ObjectTrap("t", "\x82\xa0" + std::string(31, 'y'), Point(0, 0), Color(0u), Point(1, 1));
    EXPECT_EQ(std::string(g->getTag()), std::string(32, 'x'));
    EXPECT_EQ(std::string(t->getTag()), "\x82\xa0" + std::string(30, 'y'))
        << "cut on a whole character";
    EXPECT_EQ(g->getType(), OB::TYPE_GIMMICK);
    EXPECT_TRUE(g->isVisible());
    EXPECT_EQ(t->getType(), OB::TYPE_TRAP);
    EXPECT_EQ(t->getInfo(), OB::INFO_TRAP);
    EXPECT_FALSE(t->isVisible()) << "a trap starts hidden";
    for (int i = 0; i < 8; ++i) EXPECT_EQ(g->getWork(i), 0);
    t->setWork(-1, 5);
    t->setWork(8, 5);
    t->setWork(3, 5);
    EXPECT_EQ(t->getWork(3), 5);
    EXPECT_EQ(t->getWork(8), 0);
    EXPECT_EQ(t->getWork(-1), 0);
    EXPECT_EQ(manager_->getLinkType(OB::LINK_TRAP)->obj, t);
    EXPECT_EQ(manager_->getLinkType(OB::LINK_OTHER)->obj, g);
}

}  // namespace
