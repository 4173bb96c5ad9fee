// One typed value on its way into or out of a script call.
//
// An item owns the text it holds and nothing else: a string item owns its
// copy of the string, an object item owns its copy of the type name but never
// the object. Both copies come from the Lua pool (4). Every setter first
// frees what the item owned, so an item never leaks a copy and never shares
// one with another item. When the pool cannot supply a copy the item keeps
// its type with no text, which pushes as nil and reads as "absent".
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/core.h"

struct lua_State;

namespace qel {

class LuaParamItem : public Core {
public:
    // Lua's own type codes; no other code is ever stored.
    enum Type : std::int32_t {
        kNil = 0,
        kBoolean = 1,
        kNumber = 3,
        kString = 4,
        kUserType = 7,
    };

    LuaParamItem() = default;
    ~LuaParamItem() override;
    LuaParamItem(const LuaParamItem&) = delete;
    LuaParamItem& operator=(const LuaParamItem&) = delete;

    QEL_CLASS(LuaParamItem, Core, Pool::Script);

    void setNil();
    void setBoolean(bool value);
    void setNumber(double value);
    // Copies the text; a null text gives a string item with no string.
    void setString(const char* text);
    // Copies `length` bytes (which may hold NULs) and a terminating NUL.
    void setString(const char* text, std::size_t length);
    // Keeps the object pointer and copies its tolua++ type name, which
    // decides the script-side class of the pushed object.
    void setUserType(void* object, const char* typeName);

    std::int32_t type() const { return type_; }
    bool boolean() const { return type_ == kBoolean && boolean_; }
    double number() const { return type_ == kNumber ? number_ : 0.0; }
    // The owned copy, or null when this is not a string item or has no text.
    const char* string() const { return type_ == kString ? string_ : nullptr; }
    void* object() const { return type_ == kUserType ? object_ : nullptr; }
    const char* typeName() const { return type_ == kUserType ? typeName_ : nullptr; }

    // Pushes exactly one value. Can raise a Lua error (memory), so it must
    // run inside a protected call; SysLua::call does that.
    void push(lua_State* L) const;
    // Takes the value at `index` of the stack. Raises nothing.
    void read(lua_State* L, int index);

    // The object pointer tolua++ keeps at the start of its box at `index`;
    // null for anything that is not such a box of a registered class (a
    // user datum too small, or of the scripts' own). Raises nothing.
    static void* boxedObject(lua_State* L, int index);

private:
    void release();

    std::int32_t type_ = kNil;
    bool boolean_ = false;
    double number_ = 0.0;
    char* string_ = nullptr;
    // An object item's two pointers, each in its own field.
    void* object_ = nullptr;
    char* typeName_ = nullptr;
};

}  // namespace qel
