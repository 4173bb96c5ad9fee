// The root of every engine and game class with virtual operations.
//
// Each class carries one static ClassInfo record, built on first use, that
// names it, knows how to create a default instance in the class's memory
// pool, and points at its parent's record. The record is the class's
// identity: there is exactly one per class, so objects are created through
// records and tested for their class by walking the parent chain and
// comparing record addresses. Every Core object allocated with new comes from a memory pool (the
// general pool unless the class or an ancestor picks another) and is deleted
// through the pool recorded in its block header, wherever it came from.
//
// Declaring a class. Every class of the object model opens its public
// section with one line naming the class, its parent and its pool:
//
//     class File : public Core {
//     public:
//         QEL_CLASS(File, Core, Pool::System);
//
// which declares, and defines inline, exactly what the object model needs
// of it: `staticClassInfo()` (the record, named after the class, built on
// first use, with a factory when the class can be default-constructed),
// the `classInfo()` override returning it, and the class's pool
// `operator new`/`operator delete` (with the placement pair, which a
// class-scope operator new would otherwise hide). Singletons and classes
// that must never be made from their record write
// QEL_CLASS_WITHOUT_FACTORY instead. Types outside the object model that
// still live in a pool (script-created values, list nodes) write
// QEL_POOLED(pool) for the operator pair alone. The macros change no access
// and nothing but these members; they end in a declaration, so the line
// takes a semicolon.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>

#include "engine/core/pool.h"

namespace qel {

class Core;

// Allocation from a pool (see memory_allocator.h); null when exhausted.
void* poolAllocate(Pool pool, std::size_t size) noexcept;
// Returns a pooled block to the pool recorded in its header; null is ignored.
void poolFree(void* p) noexcept;

// A class's record, and its identity: class tests compare record addresses,
// so a record is never copied (a copy would be a class of its own).
struct ClassInfo {
    const char* name = nullptr;
    // Creates a default instance in the class's pool; null for classes never
    // created from their record. Returns null when the pool has no block.
    Core* (*factory)() = nullptr;
    const ClassInfo* parent = nullptr;

    ClassInfo(const char* n, Core* (*f)(), const ClassInfo* p) : name(n), factory(f), parent(p) {}
    ClassInfo(const ClassInfo&) = delete;
    ClassInfo& operator=(const ClassInfo&) = delete;

    // True when this record or an ancestor is `base`.
    bool isKindOf(const ClassInfo& base) const {
        for (const ClassInfo* r = this; r; r = r->parent) {
            if (r == &base) return true;
        }
        return false;
    }
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

    // Pooled allocation. Each class names its pool in its declaration (see
    // above); poolFree serves every pool, but the compiler checks that new
    // and delete are paired. Being noexcept, a new-expression yields null on
    // exhaustion instead of throwing.
    static void* operator new(std::size_t size) noexcept {
        return poolAllocate(Pool::General, size);
    }
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
    Core* (*factory)() = nullptr;
    if constexpr (std::is_default_constructible_v<T> && !std::is_abstract_v<T>) {
        factory = &detail::createDefault<T>;
    }
    return ClassInfo(name, factory, &Parent::staticClassInfo());
}

template <class T, class Parent>
ClassInfo ClassInfo::makeWithoutFactory(const char* name) {
    static_assert(std::is_base_of_v<Core, T>);
    static_assert(std::is_base_of_v<Parent, T>, "a class record names a base class as parent");
    return ClassInfo(name, nullptr, &Parent::staticClassInfo());
}

// The record of T, built on the first call. One per class: the function-local
// static of an inline template is shared by every translation unit.
template <class T, class Parent, bool kWithFactory>
const ClassInfo& classRecord(const char* name) {
    static const ClassInfo info = kWithFactory ? ClassInfo::make<T, Parent>(name)
                                               : ClassInfo::makeWithoutFactory<T, Parent>(name);
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

#define QEL_POOLED(pool)                                                                     \
    static void* operator new(std::size_t size) noexcept {                                   \
        return ::qel::poolAllocate(pool, size);                                              \
    }                                                                                        \
    static void operator delete(void* p) noexcept {                                          \
        ::qel::poolFree(p);                                                                  \
    }                                                                                        \
    static void* operator new(std::size_t, void* where) noexcept {                           \
        return where;                                                                        \
    }                                                                                        \
    static void operator delete(void*, void*) noexcept {}                                    \
    static_assert(::qel::poolIndex(pool) >= 0 && ::qel::poolIndex(pool) < ::qel::kPoolCount, \
                  "one of the eight pools")

#define QEL_CLASS_DECLARATION_(Class, Parent, pool, withFactory)       \
    static const ::qel::ClassInfo& staticClassInfo() {                 \
        return ::qel::classRecord<Class, Parent, withFactory>(#Class); \
    }                                                                  \
    const ::qel::ClassInfo& classInfo() const override {               \
        return staticClassInfo();                                      \
    }                                                                  \
    QEL_POOLED(pool)

#define QEL_CLASS(Class, Parent, pool) QEL_CLASS_DECLARATION_(Class, Parent, pool, true)
#define QEL_CLASS_WITHOUT_FACTORY(Class, Parent, pool) \
    QEL_CLASS_DECLARATION_(Class, Parent, pool, false)
