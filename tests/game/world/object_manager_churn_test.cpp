// Random operations on the game's object manager, checking after each what
// the manager keeps true: every owned object is in the all list and its kind
// list through its own nodes, its cell node is linked exactly when it stands
// on the map (and then in its cell's list), the queue holds owned objects
// once each, exeRemove deletes exactly the queued objects, and each deletion
// is announced once. A failing seed
// replays alone by its number.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "game/world/object_anim.h"
#include "game/world/object_trap.h"
#include "tests/game/world/object_fixture.h"

namespace {

using OB = ObjectBase;

class ObjectManagerChurn : public ObjectFixture {
protected:
    std::uint32_t next() {
        seed_ = seed_ * 1664525u + 1013904223u;
        return seed_ >> 8;
    }
    Point anyCell() {
        // Now and then off the map on either side.
        return Point(static_cast<std::int32_t>(next() % 54) - 2,
                     static_cast<std::int32_t>(next() % 34) - 2);
    }
    OB* pick() { return live_.empty() ? nullptr : live_[next() % live_.size()]; }
    void forget(OB* o) { live_.erase(std::find(live_.begin(), live_.end(), o)); }

    bool inList(LinkList<OB>* head, LinkList<OB>* node) {
        for (LinkList<OB>* n = head ? head->next : nullptr; n; n = n->next) {
            if (n == node) return true;
        }
        return false;
    }

    void checkInvariants() {
        ASSERT_EQ(manager_->ownedCount(), live_.size());
        for (OB* o : live_) {
            ASSERT_EQ(o->getManager(), manager_);
            ASSERT_TRUE(inList(manager_->getLinkAllRoot(), o->getLinkAll()));
            ASSERT_TRUE(inList(manager_->getLinkTypeRoot(o->getTypeOfLink()), o->getLinkType()));
            LinkList<OB>* cell = manager_->getLinkPosRoot(o->getPos());
            ASSERT_EQ(o->getLinkPos()->isLinked(), cell != nullptr);
            if (cell) {
                ASSERT_TRUE(inList(cell, o->getLinkPos()));
            }
            ASSERT_EQ(manager_->search(o->getId()) != nullptr, true);
        }
        ASSERT_LE(manager_->queuedCount(), live_.size());
        ASSERT_EQ(recorder_.deleted.size(), deleted_) << "one notice per deleted object";
    }

    void step() {
        switch (next() % 9) {
            case 0:
            case 1: {
                OB* o = next() % 2 ? new OB("o", Point(), Color(), OB::TYPE_ITEM, OB::INFO_ITEM,
                                            anyCell(), true, next() % 4 == 0)
                                   : new ObjectTrap("t", "tag", Point(), Color(), anyCell());
                live_.push_back(o);
                break;
            }
            case 2: {
                auto* a = new ObjectAnim("a", Point(), Color(), OB::TYPE_ENEMY, OB::INFO_NPC,
                                         anyCell(), true, false);
                a->addAnimMove(Point(1, 0), static_cast<std::int32_t>(next() % 5) - 1);
                live_.push_back(a);
                break;
            }
            case 3:
                if (OB* o = pick()) o->setPos(anyCell());
                break;
            case 4:
                if (OB* o = pick()) o->kill();
                break;
            case 5: {
                const std::size_t queued = manager_->queuedCount();
                const std::size_t before = recorder_.deleted.size();
                manager_->exeRemove();
                ASSERT_EQ(recorder_.deleted.size() - before, queued);
                for (std::size_t i = before; i < recorder_.deleted.size(); ++i) {
                    forget(recorder_.deleted[i]);
                    ++deleted_;
                }
                break;
            }
            case 6:
                if (OB* o = pick()) {
                    forget(o);
                    ++deleted_;
                    delete o;
                }
                break;
            case 7:
                manager_->updateAnimations();
                break;
            case 8:
                if (next() % 8 == 0) {
                    const std::size_t before = recorder_.deleted.size();
                    manager_->clearExceptKeep();
                    for (std::size_t i = before; i < recorder_.deleted.size(); ++i) {
                        forget(recorder_.deleted[i]);
                        ++deleted_;
                    }
                    for (OB* o : live_) ASSERT_TRUE(o->isKeep());
                }
                break;
        }
    }

    std::uint32_t seed_ = 0;
    std::vector<OB*> live_;
    std::size_t deleted_ = 0;
};

TEST_F(ObjectManagerChurn, RandomOperationsKeepTheListsAndTheRecordSound) {
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        seed_ = seed;
        for (int i = 0; i < 300; ++i) {
            step();
            checkInvariants();
            if (HasFatalFailure()) return;
        }
        manager_->clearAll();
        deleted_ += live_.size();
        live_.clear();
        checkInvariants();
    }
}

}  // namespace
