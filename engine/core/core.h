// The root of every engine and game class with virtual operations.
//
// Each class carries one static ClassInfo record, built on first use, that
// names it, identifies its type, knows how to create a default instance in
// the class's memory pool, and points at its parent's record. Objects are
// created through records and tested for their class by walking the parent
// chain. Every Core object allocated with new comes from a memory pool (pool
// 1 unless the class or an ancestor picks another) and is deleted through the
// pool recorded in its block header, wherever it came from.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <typeinfo>

namespace qel {

class Core;

// Allocation from pool 0..7 (see memory_allocator.h); null when exhausted.
void* poolAllocate(int pool, std::size_t size) noexcept;
// Returns a pooled block to the pool recorded in its header; null is ignored.
void poolFree(void* p) noexcept;

struct ClassInfo {
    const char* name = nullptr;
    const std::type_info* type = nullptr;
    // Creates a default instance in the class's pool; null for classes never
    // created from their record. Returns null when the pool has no block.
    Core* (*factory)() = nullptr;
    const ClassInfo* parent = nullptr;

    // True when this record or an ancestor has the type of `base`.
    bool isKindOf(const ClassInfo& base) const;
    Core* create() const { return factory ? factory() : nullptr; }

    template <class T, class Parent>
    static ClassInfo make(const char* name);
    template <class T, class Parent>
    static ClassInfo makeWithoutFactory(const char* name);
};

class Core {
public:
    Core() = default;
    Core(const Core&) = default;
    Core& operator=(const Core&) = default;
    virtual const ClassInfo& classInfo() const { return staticClassInfo(); }
    virtual ~Core() = default;

    static const ClassInfo& staticClassInfo();

    bool isKindOf(const ClassInfo& base) const { return classInfo().isKindOf(base); }

    // Pooled allocation. A class picks its pool by declaring its own
    // operator new, with the matching operator delete beside it (poolFree
    // serves every pool, but the compiler checks that the two are paired). Being noexcept, a
    // new-expression yields null on exhaustion instead of throwing.
    static void* operator new(std::size_t size) noexcept { return poolAllocate(1, size); }
    static void operator delete(void* p) noexcept { poolFree(p); }
    static void* operator new(std::size_t, void* where) noexcept { return where; }
    static void operator delete(void*, void*) noexcept {}
};

namespace detail {
template <class T>
Core* createDefault() {
    return new T();
}
}  // namespace detail

template <class T, class Parent>
ClassInfo ClassInfo::make(const char* name) {
    static_assert(std::is_base_of_v<Core, T>);
    static_assert(std::is_base_of_v<Parent, T>, "a class record names a base class as parent");
    ClassInfo info;
    info.name = name;
    info.type = &typeid(T);
    if constexpr (std::is_default_constructible_v<T> && !std::is_abstract_v<T>) {
        info.factory = &detail::createDefault<T>;
    }
    info.parent = &Parent::staticClassInfo();
    return info;
}

template <class T, class Parent>
ClassInfo ClassInfo::makeWithoutFactory(const char* name) {
    ClassInfo info = make<T, Parent>(name);
    info.factory = nullptr;
    return info;
}

// Checked downcast by class record: null when `obj` is null or not a T.
template <class T>
T* classCast(Core* obj) {
    return obj && obj->isKindOf(T::staticClassInfo()) ? static_cast<T*>(obj) : nullptr;
}
template <class T>
const T* classCast(const Core* obj) {
    return obj && obj->isKindOf(T::staticClassInfo()) ? static_cast<const T*>(obj) : nullptr;
}

}  // namespace qel
