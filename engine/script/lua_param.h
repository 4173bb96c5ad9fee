// An ordered list of up to ten values passed to or returned from a script
// call. Callers keep one on the stack for the arguments and one for the
// results; the only allocations are the text copies the items own.
//
// Items [0, count) hold the values in the order appended; items past count
// hold nothing (clearing frees what they owned), so a list never keeps a
// stale copy alive.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/core.h"
#include "engine/script/lua_param_item.h"

struct lua_State;

namespace qel {

class LuaParam : public Core {
public:
    static constexpr int kCapacity = 10;

    LuaParam() = default;
    ~LuaParam() override { clear(); }
    LuaParam(const LuaParam&) = delete;
    LuaParam& operator=(const LuaParam&) = delete;

    QEL_CLASS(LuaParam, Core, Pool::Script);

    // Appending. Each refuses (false, list unchanged) once the list is full.
    bool addNil();
    bool addBoolean(bool value);
    bool addNumber(double value);
    bool addString(const char* text);
    bool addUserType(void* object, const char* typeName);

    void clear();
    int count() const { return count_; }
    // Items 0..kCapacity-1; those at or past count() are nil.
    const LuaParamItem& item(int index) const { return items_[index]; }

    // Reading a single result: the first item when it has the expected type,
    // else the "absent" value (0, false, null).
    double toNumber() const;
    // True only for the boolean true.
    bool toBoolean() const;
    const char* toString() const;
    void* toObject() const;

    // Pushes items 0..count-1 in order and returns count. Can raise a Lua
    // error (memory), so it must run inside a protected call.
    int push(lua_State* L) const;
    // Appends the n values at the top of the stack, deepest first. Values
    // past the capacity are dropped and the answer is false. Raises nothing.
    bool readResults(int n, lua_State* L);

private:
    LuaParamItem* append();

    LuaParamItem items_[kCapacity];
    std::int32_t count_ = 0;
};

}  // namespace qel
