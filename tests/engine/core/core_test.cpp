#include "engine/core/core.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/core/critical_section.h"
#include "engine/core/memory_allocator.h"
#include "engine/core/sys_memory.h"
#include "engine/core/thread.h"

namespace qel {
namespace {

// A small hierarchy of the shape the engine uses: a base with its own pool,
// a child inheriting it, and a grandchild.
struct Animal : Core {
    static const ClassInfo& staticClassInfo() {
        static const ClassInfo info = ClassInfo::make<Animal, Core>("Animal");
        return info;
    }
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
    static void* operator new(std::size_t n) noexcept { return poolAllocate(6, n); }
    static void operator delete(void* p) noexcept { poolFree(p); }
};
struct Dog : Animal {
    static const ClassInfo& staticClassInfo() {
        static const ClassInfo info = ClassInfo::make<Dog, Animal>("Dog");
        return info;
    }
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
    int legs = 4;
};
struct Puppy : Dog {
    static const ClassInfo& staticClassInfo() {
        static const ClassInfo info = ClassInfo::make<Puppy, Dog>("Puppy");
        return info;
    }
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
};

TEST(ClassInfo, ClassTestWalksTheParentChain) {
    struct Case {
        const ClassInfo& record;
        const ClassInfo& base;
        bool expected;
    };
    const Case cases[] = {
        {Puppy::staticClassInfo(), Dog::staticClassInfo(), true},
        {Puppy::staticClassInfo(), Animal::staticClassInfo(), true},
        {Puppy::staticClassInfo(), Core::staticClassInfo(), true},
        {Dog::staticClassInfo(), Puppy::staticClassInfo(), false},
        {Dog::staticClassInfo(), Thread::staticClassInfo(), false},
        {SysMemory::staticClassInfo(), SysBase::staticClassInfo(), true},
        {SysMemory::staticClassInfo(), Thread::staticClassInfo(), false},
        {CriticalSection::staticClassInfo(), Core::staticClassInfo(), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.record.isKindOf(c.base), c.expected) << c.record.name << " / " << c.base.name;
    }
    EXPECT_EQ(Core::staticClassInfo().parent, nullptr);
    EXPECT_EQ(Puppy::staticClassInfo().parent, &Dog::staticClassInfo());
    EXPECT_STREQ(Puppy::staticClassInfo().name, "Puppy");
}

TEST(ClassInfo, FactoryCreatesInTheInheritedPool) {
    auto& pool6 = MemoryAllocator<6>::instance();
    const auto before = pool6.stats().usedBlocks;
    Core* obj = Dog::staticClassInfo().create();
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(MemoryAllocatorBase::ownerOf(obj), &pool6);
    EXPECT_EQ(&obj->classInfo(), &Dog::staticClassInfo());
    Dog* dog = classCast<Dog>(obj);
    ASSERT_NE(dog, nullptr);
    EXPECT_EQ(dog->legs, 4);
    EXPECT_EQ(classCast<Puppy>(obj), nullptr);
    EXPECT_EQ(classCast<Dog>(static_cast<Core*>(nullptr)), nullptr);
    delete obj;
    EXPECT_EQ(pool6.stats().usedBlocks, before);

    // Classes that cannot be built from their record have no factory.
    EXPECT_EQ(ScopedLock::staticClassInfo().factory, nullptr);
    EXPECT_EQ(Thread::staticClassInfo().create(), nullptr);
    Core* core = Core::staticClassInfo().create();
    EXPECT_EQ(MemoryAllocatorBase::ownerOf(core), &MemoryAllocator<1>::instance());
    delete core;
}

struct NoRoom : Core {
    static inline int constructed = 0;
    static const ClassInfo& staticClassInfo() {
        static const ClassInfo info = ClassInfo::make<NoRoom, Core>("NoRoom");
        return info;
    }
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
    static void* operator new(std::size_t) noexcept { return nullptr; }
    static void operator delete(void* p) noexcept { poolFree(p); }
    NoRoom() { ++constructed; }
};

struct Throws : Core {
    static const ClassInfo& staticClassInfo() {
        static const ClassInfo info = ClassInfo::make<Throws, Core>("Throws");
        return info;
    }
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
    static void* operator new(std::size_t n) noexcept { return poolAllocate(0, n); }
    static void operator delete(void* p) noexcept { poolFree(p); }
    Throws() { throw std::runtime_error("no"); }
};

TEST(ClassInfo, FactoryFailuresYieldNoObjectAndKeepThePool) {
    EXPECT_EQ(NoRoom::staticClassInfo().create(), nullptr);
    EXPECT_EQ(NoRoom::constructed, 0);

    auto& pool0 = MemoryAllocator<0>::instance();
    const auto before = pool0.stats().usedBlocks;
    EXPECT_THROW(Throws::staticClassInfo().create(), std::runtime_error);
    EXPECT_EQ(pool0.stats().usedBlocks, before);
}

// The records of the core classes: name, parent and the pool a factory-made
// instance lands in (-1: no factory).
TEST(ClassInfo, CoreClassRecords) {
    struct Case {
        const ClassInfo& record;
        const char* name;
        const ClassInfo* parent;
        int pool;
    };
    const Case cases[] = {
        {Core::staticClassInfo(), "Core", nullptr, 1},
        {SysBase::staticClassInfo(), "SysBase", &Core::staticClassInfo(), 6},
        {SysMemory::staticClassInfo(), "SysMemory", &SysBase::staticClassInfo(), 6},
        {CriticalSection::staticClassInfo(), "CriticalSection", &Core::staticClassInfo(), 1},
        {ScopedLock::staticClassInfo(), "ScopedLock", &Core::staticClassInfo(), -1},
        {Thread::staticClassInfo(), "Thread", &Core::staticClassInfo(), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(c.record.name, c.name);
        EXPECT_EQ(c.record.parent, c.parent);
        Core* obj = c.record.create();
        if (c.pool < 0) {
            EXPECT_EQ(obj, nullptr);
            continue;
        }
        ASSERT_NE(obj, nullptr);
        EXPECT_EQ(&obj->classInfo(), &c.record);
        EXPECT_EQ(MemoryAllocatorBase::ownerOf(obj), poolById(c.pool));
        delete obj;
    }
}

TEST(SysMemory, InitFillsThePoolTable) {
    SysMemory& memory = SysMemory::instance();
    ASSERT_TRUE(memory.init());
    for (int n = 0; n < kPoolCount; ++n) {
        ASSERT_NE(memory.pool(n), nullptr);
        EXPECT_EQ(memory.pool(n)->getId(), n);
        EXPECT_GT(memory.pool(n)->arenaSize(), 0u);
    }
    EXPECT_EQ(memory.pool(8), nullptr);
    EXPECT_EQ(memory.pool(-1), nullptr);
}

}  // namespace
}  // namespace qel
