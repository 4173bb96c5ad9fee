#include "game/world/object_manager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "game/world/object_anim.h"
#include "game/world/object_effect.h"
#include "game/world/object_gimmick.h"
#include "game/world/object_item.h"
#include "game/world/object_trap.h"
#include "game/world/version_file.h"
#include "tests/game/world/object_fixture.h"

namespace {

using OB = ObjectBase;

OB* makeObject(const char* name, Point pos, std::int32_t type = OB::TYPE_ITEM, bool keep = false) {
    return new OB(name, Point(1, 2), Color(0xFF102030u), type, OB::INFO_ITEM, pos, true, keep);
}

class ObjectManagerTest : public ObjectFixture {};

TEST_F(ObjectManagerTest, IdsAreConsecutiveNeverZeroAndSettable) {
    OB::SetNextId(1000);
    OB a;
    OB b;
    EXPECT_EQ(a.getId(), 1000u);
    EXPECT_EQ(b.getId(), 1001u);
    OB::SetNextId(0);
    EXPECT_EQ(OB::GetNextId(), 1u);
    OB::SetNextId(0xFFFFFFFFu);
    OB last;
    OB wrapped;
    EXPECT_EQ(last.getId(), 0xFFFFFFFFu);
    EXPECT_EQ(wrapped.getId(), 1u);
    // Duplicates stay; a lookup takes the first in the all list (the newest).
    OB::SetNextId(7);
    OB* older = makeObject("a", Point(1, 1));
    OB::SetNextId(7);
    OB* newer = makeObject("b", Point(1, 1));
    EXPECT_EQ(manager_->search(7), newer);
    EXPECT_NE(older, newer);
    EXPECT_EQ(manager_->search(123456), nullptr);
}

TEST_F(ObjectManagerTest, FullConstructorFilesTheObjectInThreeLists) {
    OB plain;
    EXPECT_EQ(plain.getManager(), nullptr);
    EXPECT_EQ(plain.getLinkAll(), nullptr);
    EXPECT_TRUE(plain.isVisible());
    EXPECT_TRUE(plain.isDrawField());

    OB* item = makeObject("item", Point(3, 4));
    OB* enemy = makeObject("enemy", Point(3, 4), OB::TYPE_ENEMY);
    EXPECT_EQ(item->getManager(), manager_);
    EXPECT_EQ(allList(), (std::vector<OB*>{enemy, item}));
    EXPECT_EQ(cellList(3, 4), (std::vector<OB*>{enemy, item}));
    EXPECT_EQ(manager_->getLinkType(OB::LINK_ITEM)->obj, item);
    EXPECT_EQ(manager_->getLinkType(OB::LINK_NPC)->obj, enemy);
    EXPECT_EQ(manager_->getLinkType(OB::LINK_PLAYER), nullptr);
    EXPECT_EQ(manager_->getLinkType(5), nullptr);
    EXPECT_EQ(manager_->getLinkTypeRoot(-1), nullptr);
    EXPECT_EQ(manager_->getLinkPos(50, 0), nullptr);
    EXPECT_EQ(manager_->getLinkPosRoot(-1, 3), nullptr);
    // The cell list head sits at x * 30 + y.
    EXPECT_EQ(manager_->getLinkPosRoot(3, 4) - manager_->getLinkPosRoot(0, 0), 3 * 30 + 4);

    EXPECT_FALSE(manager_->add(item)) << "an object already managed is refused";
    EXPECT_FALSE(manager_->add(nullptr));
    OB* copy = new OB(*item);
    EXPECT_NE(copy->getId(), item->getId());
    EXPECT_STREQ(copy->getName(), "item");
    EXPECT_EQ(copy->getManager(), manager_);
    EXPECT_EQ(allList().front(), copy);
}

TEST_F(ObjectManagerTest, OffMapMovesFollowTheCellNodeOnlyOnTheMap) {
    OB* o = makeObject("o", Point(-1, -1));
    EXPECT_EQ(o->getPos(), Point(-1, -1));
    EXPECT_FALSE(o->getLinkPos()->isLinked());
    struct Move {
        Point to;
        bool found;
    };
    const Move moves[] = {{{2, 3}, true}, {{60, 3}, false}, {{-5, 0}, false},
                          {{2, 3}, true}, {{49, 29}, true}, {{49, 29}, true}};
    for (const Move& m : moves) {
        o->setPos(m.to);
        EXPECT_EQ(o->getPos(), m.to);
        EXPECT_EQ(cellList(m.to.x, m.to.y) == std::vector<OB*>{o}, m.found)
            << m.to.x << "," << m.to.y;
        EXPECT_EQ(o->getLinkPos()->isLinked(), m.found);
    }
    o->addPos(1, -1);
    EXPECT_EQ(o->getPos(), Point(50, 28));
    EXPECT_TRUE(cellList(49, 29).empty());
}

TEST_F(ObjectManagerTest, RemovalIsQueuedOnceAndDeletesOnce) {
    OB* a = makeObject("a", Point(1, 1));
    OB* b = makeObject("b", Point(1, 1));
    const std::uint32_t idA = a->getId();
    manager_->remove(a);
    a->kill();
    EXPECT_EQ(manager_->queuedCount(), 1u);
    EXPECT_EQ(manager_->search(idA), a) << "still found until exeRemove";
    manager_->exeRemove();
    EXPECT_EQ(manager_->search(idA), nullptr);
    EXPECT_EQ(allList(), std::vector<OB*>{b});
    EXPECT_EQ(cellList(1, 1), std::vector<OB*>{b});
    EXPECT_EQ(recorder_.deleted, std::vector<OB*>{a});
    EXPECT_EQ(recorder_.queued, std::vector<OB*>{a}) << "queued once, told once";

    // A queued object deleted otherwise leaves the queue.
    b->kill();
    delete b;
    EXPECT_EQ(manager_->queuedCount(), 0u);
    manager_->exeRemove();
    EXPECT_EQ(recorder_.deleted.size(), 2u);

    // kill of an object in no manager hands it to the game's manager.
    auto* loose = new OB();
    loose->kill();
    EXPECT_EQ(loose->getManager(), manager_);
    manager_->exeRemove();
    EXPECT_EQ(manager_->ownedCount(), 0u);
    EXPECT_EQ(recorder_.deleted.size(), 3u);

    // An object of another manager is not queued here.
    DeletionRecorder otherRecorder;
    {
        ObjectManager other;
        other.addListener(&otherRecorder);
        auto* foreign = new OB();
        ASSERT_TRUE(other.add(foreign));
        manager_->remove(foreign);
        EXPECT_EQ(manager_->queuedCount(), 0u);
        EXPECT_EQ(recorder_.queued.size(), 3u) << "a, b and the loose one";
    }
    // Its end deletes its objects, then tells its listeners it is gone.
    EXPECT_EQ(otherRecorder.deleted.size(), 1u);
    ASSERT_EQ(otherRecorder.ended.size(), 1u);
}

TEST_F(ObjectManagerTest, ClearExceptKeepLeavesExactlyTheKeptObjects) {
    std::vector<OB*> kept;
    for (int i = 0; i < 10; ++i) {
        OB* o = makeObject("o", Point(i, i), OB::TYPE_ITEM, i % 3 == 0);
        if (o->isKeep()) kept.insert(kept.begin(), o);
    }
    manager_->clearExceptKeep();
    EXPECT_EQ(allList(), kept);
    EXPECT_EQ(recorder_.deleted.size(), 6u);
    manager_->clearAll();
    EXPECT_EQ(recorder_.deleted.size(), 10u) << "one notice per object";
    EXPECT_EQ(manager_->getLinkAll(), nullptr);
}

TEST_F(ObjectManagerTest, ListSurgeryNeverHandsAnObjectOutTwice) {
    OB* a = makeObject("a", Point(1, 1));
    OB* b = makeObject("b", Point(2, 2));
    OB* c = makeObject("c", Point(3, 3));
    // a's cell node into the all list, b's all node into a cell list, and a
    // node of c made by hand in the all list as well.
    manager_->getLinkAllRoot()->insert(a->getLinkPos());
    manager_->getLinkPosRoot(5, 5)->insert(b->getLinkAll());
    auto* extra = new LinkList<OB>(c);
    manager_->getLinkAllRoot()->insert(extra);

    EXPECT_EQ(manager_->search(b->getId()), nullptr) << "b's own all node left the list";
    EXPECT_EQ(manager_->search(a->getId()), a);

    ASSERT_TRUE(write(103, false));
    manager_->clearAll();
    EXPECT_EQ(recorder_.deleted.size(), 3u);
    EXPECT_EQ(extra->obj, c) << "a hand-made node is not the manager's to empty";
    delete extra;  // still linked among the head-less remains; unlinks itself
    ASSERT_TRUE(read(103));
    std::vector<std::string> names;
    for (OB* o : allList()) names.push_back(o->getName());
    EXPECT_EQ(names, (std::vector<std::string>{"c", "a"}));
}

// The object section.
using ObjectSection = ObjectManagerTest;

TEST_F(ObjectSection, RoundTripsAtBothVersions) {
    for (std::uint32_t version : {102u, 103u}) {
        SCOPED_TRACE(version);
        manager_->clearAll();
        OB::SetNextId(50);
        OB* first = makeObject("first", Point(4, 5));
        first->setExceptionKeep(true);
        first->setDrawField(false);
        auto* trap = new ObjectTrap("trap", "pit", Point(7, 8), Color(0x80FF0000u), Point(-1, -1));
        trap->setWork(7, -9);
        auto* gimmick = new ObjectGimmick("gim", "table", Point(1, 1), Color(0u),
                                          OB::INFO_GIMMICK_TABLE, Point(10, 2));
        gimmick->setSkip(false);
        gimmick->setForceDraw(true);
        makeObject("kept", Point(0, 0), OB::TYPE_ITEM, true);
        OB* queued = makeObject("queued", Point(0, 0));
        const std::uint32_t queuedId = queued->getId();
        queued->kill();
        ASSERT_TRUE(write(version, false));
        EXPECT_EQ(manager_->search(queuedId), nullptr) << "writing runs exeRemove first";
        manager_->clearAll();
        ASSERT_TRUE(read(version));

        std::vector<std::string> names;
        for (OB* o : allList())
            names.push_back(std::string(o->getClassName()) + ":" + o->getName());
        EXPECT_EQ(names, (std::vector<std::string>{"ObjectGimmick:gim", "ObjectTrap:trap",
                                                   "ObjectBase:first"}));
        OB* f = manager_->search(50);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->getChip(), Point(1, 2));
        EXPECT_EQ(f->getColor().argb(), 0xFF102030u);
        EXPECT_EQ(f->getInfo(), OB::INFO_ITEM);
        EXPECT_EQ(f->getPos(), Point(4, 5));
        EXPECT_FALSE(f->isDrawField());
        EXPECT_EQ(f->isExceptionKeep(), version >= 103);
        EXPECT_EQ(cellList(4, 5), std::vector<OB*>{f});
        auto* t = qel::classCast<ObjectTrap>(manager_->search(51));
        ASSERT_NE(t, nullptr);
        EXPECT_STREQ(t->getTag(), "pit");
        EXPECT_EQ(t->getWork(7), -9);
        EXPECT_FALSE(t->isVisible());
        EXPECT_EQ(t->getPos(), Point(-1, -1));
        auto* g = qel::classCast<ObjectGimmick>(manager_->search(52));
        ASSERT_NE(g, nullptr);
        EXPECT_FALSE(g->getSkip());
        EXPECT_TRUE(g->getForceDraw());
        EXPECT_EQ(g->getInfo(), OB::INFO_GIMMICK_TABLE);
    }
}

TEST_F(ObjectSection, ObjectBytesAreLaidOutFieldByField) {
    OB::SetNextId(0x01020304u);
    auto* o = new OB("ab", Point(5, -1), Color(0xAABBCCDDu), OB::TYPE_TRAP, OB::INFO(0x1234u),
                     Point(2, 3), true, false);
    o->setExceptionKeep(true);
    ASSERT_TRUE(write(103, false));
    const std::string expected =
        std::string("ObjectBase\0", 11) +
        std::string(
            "\x04\x03\x02\x01"
            "ab\0",
            7) +
        std::string("\x05\0\0\0\xff\xff\xff\xff", 8) +  // chip
        std::string("\xdd\xcc\xbb\xaa", 4) +            // colour
        std::string("\x06\0\0\0\x34\x12\0\0", 8) +      // type, info
        std::string("\x02\0\0\0\x03\0\0\0", 8) +        // position
        std::string("\x01\x00\x01\x01", 4) +            // visible keep drawField exKeep
        std::string("\0", 1);
    EXPECT_EQ(readRaw(), expected);
}

TEST_F(ObjectSection, BadSectionsFailWithoutLeaking) {
    makeObject("a", Point(1, 1));
    makeObject("b", Point(2, 2));
    ASSERT_TRUE(write(103, false));
    const std::string whole = readRaw();
    manager_->clearAll();
    const std::size_t blocks = qel::poolById(qel::Pool::World)->stats().usedBlocks;
    struct Case {
        const char* name;
        std::string bytes;
        std::size_t objectsRead;
    };
    const Case cases[] = {
        {"cut in the second object", whole.substr(0, whole.size() - 10), 1},
        {"cut before the end mark", whole.substr(0, whole.size() - 1), 2},
        {"cut in the first name", whole.substr(0, 4), 0},
        {"unknown class", std::string("ObjectNothing\0", 14) + whole, 0},
        {"a class the reader cannot make yet", std::string("ObjectChara\0", 12), 0},
        {"empty file", std::string(), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeRaw(c.bytes);
        EXPECT_FALSE(read(103));
        EXPECT_EQ(manager_->ownedCount(), c.objectsRead);
        manager_->clearAll();
        EXPECT_EQ(qel::poolById(qel::Pool::World)->stats().usedBlocks, blocks);
    }
}

TEST_F(ObjectManagerTest, LinkerResolvesIdsAsSearchDoesAndForgetsTheDead) {
    OB* target = makeObject("t", Point(1, 1));
    OB* holder = makeObject("h", Point(1, 1));
    OB* doomed = makeObject("d", Point(1, 1));
    OB* place1 = holder;
    OB* place2 = holder;
    OB* place3 = target;
    OB* place4 = target;
    ObjectLinker& linker = ObjectLinker::instance();
    linker.record(target->getId(), holder, &place1);
    linker.record(999999, holder, &place2);
    linker.record(0, holder, &place3);
    EXPECT_EQ(place3, nullptr) << "id 0 stores null at once";
    linker.record(target->getId(), doomed, &place4);
    linker.recordHeldItem(target->getId(), doomed);
    EXPECT_EQ(linker.size(), 4u);
    delete doomed;
    EXPECT_EQ(linker.size(), 2u);
    linker.resolve(*manager_);
    EXPECT_EQ(place1, target);
    EXPECT_EQ(place2, nullptr);
    EXPECT_EQ(place4, target) << "a dead owner's place is never written";
    EXPECT_EQ(linker.size(), 0u);

    // A place that wants one class takes nothing else.
    OB* typed = holder;
    OB* untyped = nullptr;
    linker.record(target->getId(), holder, &typed, &ObjectItem::staticClassInfo());
    linker.record(target->getId(), holder, &untyped, &ObjectBase::staticClassInfo());
    linker.resolve(*manager_);
    EXPECT_EQ(typed, nullptr) << "a plain object is no item";
    EXPECT_EQ(untyped, target);
}

TEST_F(ObjectManagerTest, FailedReadDeletesTheHalfReadObject) {
    auto* e = new ObjectEffect("fx", Point(0, 0), Color(0u), Point(1, 1));
    ASSERT_TRUE(write(103, false));
    delete e;
    const std::string bytes = readRaw();
    writeRaw(bytes.substr(0, bytes.size() - 3));  // into the sync id
    EXPECT_FALSE(read(103));
    EXPECT_EQ(manager_->ownedCount(), 0u);
    EXPECT_EQ(manager_->animatingCount(), 0u);
}

}  // namespace
