// A clean game object manager for each test, a recorder of its deletion
// notices, and a scratch file for its object section.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/memory_allocator.h"
#include "game/world/game_data.h"
#include "game/world/object_base.h"
#include "game/world/object_linker.h"
#include "game/world/object_manager.h"
#include "game/world/version_file.h"
#include "tests/support/scratch_folder.h"

struct DeletionRecorder : ObjectManager::Listener {
    std::vector<ObjectBase*> deleted;
    std::vector<ObjectBase*> queued;
    std::vector<ObjectManager*> ended;
    void objectDeleted(ObjectBase* object) override { deleted.push_back(object); }
    void objectQueued(ObjectBase* object) override { queued.push_back(object); }
    void managerDestroyed(ObjectManager* manager) override { ended.push_back(manager); }
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
        path_ = scratch_.file("o.dat");
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

    // The object section in the scratch file.
    bool write(std::uint32_t version, bool keep) {
        VersionFile out(path_, qel::File::MODE_WRITE);
        out.setVersion(version);
        return manager_->writeObjects(out, keep) && out.close();
    }
    bool read(std::uint32_t version) {
        VersionFile in(path_, qel::File::MODE_READ);
        in.setVersion(version);
        return manager_->readObjects(in);
    }
    void writeRaw(const std::string& bytes) {
        qel::File out(path_, qel::File::MODE_WRITE);
        ASSERT_TRUE(out.write(bytes.data(), bytes.size()));
        ASSERT_TRUE(out.close());
    }
    std::string readRaw() {
        std::vector<unsigned char> bytes;
        EXPECT_TRUE(qel::File::readWhole(path_, bytes));
        return std::string(bytes.begin(), bytes.end());
    }

    ObjectManager* manager_ = nullptr;
    qel::test::ScratchFolder scratch_;
    std::string path_;
    DeletionRecorder recorder_;
    std::size_t pool7Before_ = 0;
};
