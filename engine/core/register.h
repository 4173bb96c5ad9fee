// Register<T>: finds live instances of T by an integer key and sub-key, so
// game code can reach a running task by its class instead of holding a
// pointer to it.
//
// What it keeps true: an entry exists only for a non-negative key and
// sub-key; a key is present exactly while at least one sub-key under it holds
// an instance (an emptied key is erased at once, so "lowest free key" sees it
// free again). Registering does not own the instance: the caller records the
// registry and keys in the task (see registerSingle and friends in the task
// headers), and killing the task removes its entry.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "engine/core/i_register.h"
#include "engine/core/memory_allocator.h"
#include "engine/core/sys_register.h"

namespace qel {

template <class T>
class Register final : public IRegister {
public:
    // One registry per class, built on first use and destroyed at exit; the
    // destructor frees the maps, never the instances.
    static Register& instance() {
        static Register reg;
        return reg;
    }

    // Written out rather than declared with QEL_CLASS: the record's name is
    // built from T's. The pool is IRegister's.
    static const ClassInfo& staticClassInfo() {
        static const std::string name = std::string("Register<") + T::staticClassInfo().name + ">";
        static const ClassInfo info =
            ClassInfo::makeWithoutFactory<Register, IRegister>(name.c_str());
        return info;
    }
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    ~Register() override { SysRegister::instance().remove(this); }
    Register(const Register&) = delete;
    Register& operator=(const Register&) = delete;

    // Key 0, sub-key 0; false when that slot is taken.
    bool addSingle(T* obj) { return AddWithId(obj, 0, 0); }

    // Under sub-key 0 of the lowest key not in use; -1 when it cannot be stored.
    int addLowestFree(T* obj) {
        if (!obj) return -1;
        int key = 0;
        for (const auto& entry : keys_) {
            if (entry.first > key) break;
            if (entry.first == key) ++key;
        }
        return AddWithId(obj, key, 0) ? key : -1;
    }

    // False when the slot is taken, the keys are negative or memory runs out.
    bool AddWithId(T* obj, int key, int subKey = 0) {
        if (!obj || key < 0 || subKey < 0) return false;
        try {
            auto it = keys_.find(key);
            if (it == keys_.end()) it = keys_.emplace(key, Inner()).first;
            if (!it->second.emplace(subKey, obj).second) return false;
        } catch (const std::bad_alloc&) {
            eraseIfEmpty(key);
            return false;
        }
        return true;
    }

    T* Find(int key, int subKey = 0) const {
        auto it = keys_.find(key);
        if (it == keys_.end()) return nullptr;
        auto sub = it->second.find(subKey);
        return sub == it->second.end() ? nullptr : sub->second;
    }

    T* getSingle() const { return Find(0, 0); }

    Core* lookup(int key, int subKey) const override { return Find(key, subKey); }

    void remove(int key, int subKey) override {
        auto it = keys_.find(key);
        if (it == keys_.end()) return;
        it->second.erase(subKey);
        eraseIfEmpty(key);
    }

    void clear() override {
        // Empty first and delete afterwards: a destructor may look the
        // registry up. Deletion follows key order; an instance that sits
        // under several keys is deleted once, at its first.
        std::vector<T*> doomed;
        for (const auto& entry : keys_) {
            for (const auto& sub : entry.second) {
                if (std::find(doomed.begin(), doomed.end(), sub.second) == doomed.end()) {
                    doomed.push_back(sub.second);
                }
            }
        }
        keys_.clear();
        for (T* obj : doomed) delete obj;
    }

    // Number of keys in use (for diagnostics and tests).
    std::size_t keyCount() const { return keys_.size(); }
    // Number of sub-keys in use under `key`.
    std::size_t subKeyCount(int key) const {
        auto it = keys_.find(key);
        return it == keys_.end() ? 0 : it->second.size();
    }

private:
    static_assert(std::is_base_of_v<Core, T>, "registries hold Core objects");

    using Inner =
        std::map<int, T*, std::less<int>, PoolAllocator<std::pair<const int, T*>, Pool::System>>;
    using Outer = std::map<int, Inner, std::less<int>,
                           PoolAllocator<std::pair<const int, Inner>, Pool::System>>;

    Register() { SysRegister::instance().add(this); }

    void eraseIfEmpty(int key) {
        auto it = keys_.find(key);
        if (it != keys_.end() && it->second.empty()) keys_.erase(it);
    }

    Outer keys_;
};

}  // namespace qel
