// The value types scripts create with new, and the pool each comes from.
#include <gtest/gtest.h>

#include "engine/core/memory_allocator.h"
#include "engine/math/color.h"
#include "engine/math/matrix.h"
#include "engine/math/point.h"
#include "engine/math/vector2.h"

namespace qel {
namespace {

struct Row {
    const char* name;
    Pool pool;
    void* (*make)();
    void (*destroy)(void*);
};

template <class T>
Row row(const char* name, Pool pool) {
    return {name, pool, [] { return static_cast<void*>(new T()); },
            [](void* p) { delete static_cast<T*>(p); }};
}

TEST(PooledValues, ScriptCreatedValuesComeFromTheGeneralPool) {
    const Row rows[] = {
        row<Point>("Point", Pool::General),
        row<Vector2>("Vector2", Pool::General),
        row<Color>("Color", Pool::General),
        row<Matrix>("Matrix", Pool::General),
    };
    for (const Row& r : rows) {
        void* made = r.make();
        ASSERT_NE(made, nullptr) << r.name;
        EXPECT_EQ(MemoryAllocatorBase::ownerOf(made), poolById(r.pool)) << r.name;
        r.destroy(made);
    }
}

}  // namespace
}  // namespace qel
