// A clean game object manager for each test, and a recorder of its deletion
// notices.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "engine/core/memory_allocator.h"
#include "game/world/game_data.h"
#include "game/world/object_base.h"
#include "game/world/object_linker.h"
#include "game/world/object_manager.h"

struct DeletionRecorder : ObjectManager::Listener {
    std::vector<ObjectBase*> deleted;
    void objectDeleted(ObjectBase* object) override { deleted.push_back(object); }
};

class ObjectFixture : public ::testing::Test {
protected:
    void SetUp() override {
        manager_ = GameData::instance().getObjectManager();
        ASSERT_NE(manager_, nullptr);
        manager_->clearAll();
        ObjectLinker::instance().clear();
        pool7Before_ = qel::poolById(qel::Pool::World)->stats().usedBlocks;
        manager_->addListener(&recorder_);
    }
    void TearDown() override {
        manager_->clearAll();
        manager_->removeListener(&recorder_);
        ObjectLinker::instance().clear();
        EXPECT_EQ(qel::poolById(qel::Pool::World)->stats().usedBlocks, pool7Before_)
            << "world pool not restored";
    }

    // Objects in the all list from the first node on.
    std::vector<ObjectBase*> allList() const {
        std::vector<ObjectBase*> out;
        for (ObjectBase* o : *manager_->getLinkAllRoot()) out.push_back(o);
        return out;
    }
    std::vector<ObjectBase*> cellList(int x, int y) const {
        std::vector<ObjectBase*> out;
        if (LinkList<ObjectBase>* head = manager_->getLinkPosRoot(x, y)) {
            for (ObjectBase* o : *head) out.push_back(o);
        }
        return out;
    }

    ObjectManager* manager_ = nullptr;
    DeletionRecorder recorder_;
    std::size_t pool7Before_ = 0;
};
