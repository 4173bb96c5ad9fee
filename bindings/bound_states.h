// The Lua states that have the script bindings open, and what each needs so
// that a freed object can be forgotten in it.
//
// What it keeps true: a state is listed from the end of its registration
// until lua_close finalizes it (a sentinel user data in the registry takes it
// off the list), so forget() never touches a closed state. The list is
// guarded by a lock because destructors may run on any thread; a state itself
// is only ever touched by the thread that runs it, like every binding.
#pragma once

#include <array>
#include <lua.hpp>

#include "engine/core/critical_section.h"

namespace binding {

class BoundStates {
public:
    static constexpr std::size_t kCapacity = 32;

    static BoundStates& instance();

    // Runs inside the protected registration, after every class exists:
    // gives every class metatable the shared equality event, removes the
    // unsafe functions of the `tolua` table, creates the "deleted object"
    // metatable, gathers the identity tables and lists the state. Raises a
    // Lua error when the state cannot be listed.
    void attach(lua_State* L);

    // See forgetScriptObject() and claimScriptObject().
    void forget(const void* address);
    void claim(const void* address);

    bool isBound(lua_State* L);

    // The per-state record of objects a script may delete (see
    // binding_support.h). In a state without the bindings nothing is
    // recorded and every delete is allowed.
    static void noteScriptOwned(lua_State* L, const void* object);
    static bool mayScriptDelete(lua_State* L, const void* object);

private:
    void detach(lua_State* L);
    static void forgetIn(lua_State* L, const void* address);
    static void claimIn(lua_State* L, const void* address);
    static int closeSentinel(lua_State* L);
    static int sharedEquality(lua_State* L);
    static int classNewIndex(lua_State* L);
    static int deletedObjectAccess(lua_State* L);

    qel::CriticalSection lock_;
    std::array<lua_State*, kCapacity> states_{};
};

}  // namespace binding
