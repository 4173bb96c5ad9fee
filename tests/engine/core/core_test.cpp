#include "engine/core/core.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <type_traits>

#include "engine/core/critical_section.h"
#include "engine/core/memory_allocator.h"
#include "engine/core/sys_memory.h"
#include "engine/core/thread.h"

namespace qel {
namespace {

// A small hierarchy of the shape the engine uses: a base with its own pool,
// a child inheriting it, and a grandchild.
struct Animal : Core {
    QEL_CLASS(Animal, Core, Pool::System);
};
// Declared by hand, as a class that leaves the pool to its parent would be.
struct Dog : Animal {
    static const ClassInfo& staticClassInfo() {
        static const ClassInfo info = ClassInfo::make<Dog, Animal>("Dog");
        return info;
    }
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
    int legs = 4;
};
struct Puppy : Dog {
    QEL_CLASS(Puppy, Dog, Pool::System);
};
// A sibling of Dog with the same shape, and a class that keeps its parent's
// record (it declares none of its own).
struct Cat : Animal {
    QEL_CLASS(Cat, Animal, Pool::System);
    int legs = 4;
};
struct Kitten : Cat {};
struct Singleton : Core {
    QEL_CLASS_WITHOUT_FACTORY(Singleton, Core, Pool::General);
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
        {Cat::staticClassInfo(), Dog::staticClassInfo(), false},
        {Dog::staticClassInfo(), Cat::staticClassInfo(), false},
        {Puppy::staticClassInfo(), Cat::staticClassInfo(), false},
        {Animal::staticClassInfo(), Dog::staticClassInfo(), false},
        {Core::staticClassInfo(), Animal::staticClassInfo(), false},
        {Cat::staticClassInfo(), Cat::staticClassInfo(), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.record.isKindOf(c.base), c.expected) << c.record.name << " / " << c.base.name;
    }
    EXPECT_EQ(Core::staticClassInfo().parent, nullptr);
    EXPECT_EQ(Puppy::staticClassInfo().parent, &Dog::staticClassInfo());
    EXPECT_STREQ(Puppy::staticClassInfo().name, "Puppy");
    // A record is the class's identity: it cannot be copied into a second one.
    static_assert(!std::is_copy_constructible_v<ClassInfo>);
}

// Casts through an object's own record, held as any of its bases.
TEST(ClassInfo, CastsFollowTheObjectsRecord) {
    Puppy puppy;
    Kitten kitten;
    const Core* p = &puppy;
    Core* k = &kitten;
    EXPECT_EQ(classCast<Dog>(p), &puppy);
    EXPECT_EQ(classCast<Animal>(p), &puppy);
    EXPECT_EQ(classCast<Cat>(p), nullptr);
    EXPECT_EQ(classCast<Puppy>(p), &puppy);
    // Kitten answers as the Cat whose record it keeps.
    EXPECT_EQ(&kitten.classInfo(), &Cat::staticClassInfo());
    EXPECT_EQ(classCast<Cat>(k), &kitten);
    EXPECT_EQ(classCast<Animal>(k), &kitten);
    EXPECT_EQ(classCast<Dog>(k), nullptr);
    EXPECT_EQ(classCast<Thread>(k), nullptr);
}

TEST(ClassInfo, FactoryCreatesInTheInheritedPool) {
    auto& pool6 = MemoryAllocator<Pool::System>::instance();
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
    EXPECT_EQ(MemoryAllocatorBase::ownerOf(core), &MemoryAllocator<Pool::General>::instance());
    delete core;
}

struct NoRoom : Core {
    static inline int constructed = 0;
    static const ClassInfo& staticClassInfo() {
        static const ClassInfo info = ClassInfo::make<NoRoom, Core>("NoRoom");
        return info;
    }
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
    // A pool that is always exhausted.
    static void* operator new(std::size_t) noexcept { return nullptr; }
    static void operator delete(void* p) noexcept { poolFree(p); }
    NoRoom() { ++constructed; }
};

struct Throws : Core {
    QEL_CLASS(Throws, Core, Pool::SmallRecords);
    Throws() { throw std::runtime_error("no"); }
};

TEST(ClassInfo, FactoryFailuresYieldNoObjectAndKeepThePool) {
    EXPECT_EQ(NoRoom::staticClassInfo().create(), nullptr);
    EXPECT_EQ(NoRoom::constructed, 0);

    auto& pool0 = MemoryAllocator<Pool::SmallRecords>::instance();
    const auto before = pool0.stats().usedBlocks;
    EXPECT_THROW(Throws::staticClassInfo().create(), std::runtime_error);
    EXPECT_EQ(pool0.stats().usedBlocks, before);
}

// The records of the core classes: name, parent and the pool a factory-made
// instance lands in (null: no factory).
TEST(ClassInfo, CoreClassRecords) {
    struct Case {
        const ClassInfo& record;
        const char* name;
        const ClassInfo* parent;
        const MemoryAllocatorBase* pool;
    };
    const MemoryAllocatorBase* general = poolById(Pool::General);
    const MemoryAllocatorBase* system = poolById(Pool::System);
    const Case cases[] = {
        {Core::staticClassInfo(), "Core", nullptr, general},
        {SysBase::staticClassInfo(), "SysBase", &Core::staticClassInfo(), system},
        {SysMemory::staticClassInfo(), "SysMemory", &SysBase::staticClassInfo(), system},
        {CriticalSection::staticClassInfo(), "CriticalSection", &Core::staticClassInfo(), general},
        {ScopedLock::staticClassInfo(), "ScopedLock", &Core::staticClassInfo(), nullptr},
        {Thread::staticClassInfo(), "Thread", &Core::staticClassInfo(), nullptr},
        {Singleton::staticClassInfo(), "Singleton", &Core::staticClassInfo(), nullptr},
        {Puppy::staticClassInfo(), "Puppy", &Dog::staticClassInfo(), system},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(c.record.name, c.name);
        EXPECT_EQ(c.record.parent, c.parent);
        Core* obj = c.record.create();
        if (!c.pool) {
            EXPECT_EQ(obj, nullptr);
            continue;
        }
        ASSERT_NE(obj, nullptr);
        EXPECT_EQ(&obj->classInfo(), &c.record);
        EXPECT_EQ(MemoryAllocatorBase::ownerOf(obj), c.pool);
        delete obj;
    }
}

TEST(SysMemory, InitFillsThePoolTable) {
    SysMemory& memory = SysMemory::instance();
    ASSERT_TRUE(memory.init());
    for (int n = 0; n < kPoolCount; ++n) {
        const Pool pool = static_cast<Pool>(n);
        ASSERT_NE(memory.pool(pool), nullptr);
        EXPECT_EQ(memory.pool(pool)->getId(), n);
        EXPECT_GT(memory.pool(pool)->arenaSize(), 0u);
    }
    EXPECT_EQ(memory.pool(static_cast<Pool>(8)), nullptr);
    EXPECT_EQ(memory.pool(static_cast<Pool>(-1)), nullptr);
}

}  // namespace
}  // namespace qel
