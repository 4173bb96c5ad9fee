#include "bindings/bound_states.h"

#include <tolua++.h>

#include <cstddef>
#include <cstring>
#include <new>

#include "bindings/binding_support.h"
#include "engine/script/lua_param_item.h"
#include "engine/script/lua_stack_guard.h"
#include "engine/script/script_object_hook.h"

namespace binding {

namespace {

// Registry keys: the addresses of these objects, as light user data.
char identityTablesKey;  // array of every distinct tolua identity table
char deletedMetatableKey;
char sentinelKey;
char scriptOwnedKey;  // set of addresses a script may delete
char membersKey;      // owner -> set of the member addresses handed out of it

// What the scripts may keep of tolua's own table: the type query and peers.
constexpr const char* kKeptToluaFunctions[] = {"type", "setpeer", "getpeer"};

// Pushes the type name registered for the metatable at `index`, or nil.
void pushTypeName(lua_State* L, int index) {
    lua_pushvalue(L, index);           // +1 mt
    lua_rawget(L, LUA_REGISTRYINDEX);  // replace by registry[mt]
}

// True when the registry entry key -> value at (-2, -1) is a tolua class
// metatable: tolua registers registry[name] = mt and registry[mt] = name.
bool isClassMetatable(lua_State* L) {
    if (lua_type(L, -2) != LUA_TSTRING || !lua_istable(L, -1)) return false;
    pushTypeName(L, -1);  // +1 registry[mt]
    const bool match = lua_type(L, -1) == LUA_TSTRING && lua_rawequal(L, -1, -3);
    lua_pop(L, 1);  // -1
    return match;
}

int refuseReadOnly(lua_State* L) {
    return luaL_error(L, "attempt to assign the read-only variable '%s'",
                      lua_tostring(L, lua_upvalueindex(1)));
}

int refuseConstMember(lua_State* L) {
    return luaL_error(L, "attempt to assign '%s' of a const object",
                      lua_tostring(L, lua_upvalueindex(1)));
}

// Whether the table at index `t` (absolute) holds `key` as a light user data
// key. A raw read: it never allocates.
bool rawHasLightKey(lua_State* L, int t, const void* key) {
    lua_pushlightuserdata(L, const_cast<void*>(key));  // +1
    lua_rawget(L, t);                                  // value or nil
    const bool has = !lua_isnil(L, -1);
    lua_pop(L, 1);
    return has;
}

// Drops `key` from the value on top of the stack when that is a table holding
// it. Only a raw write of nil to a key that exists, which never allocates.
void rawRemoveLightKey(lua_State* L, const void* key) {
    if (!lua_istable(L, -1)) return;
    const int t = lua_gettop(L);
    if (!rawHasLightKey(L, t, key)) return;
    lua_pushlightuserdata(L, const_cast<void*>(key));  // +1
    lua_pushnil(L);                                    // +1
    lua_rawset(L, t);                                  // -2 t[key] = nil
}

// Every string key of the table at `from` that the table at `own` lacks (both
// absolute indices, two different tables) gets in `own` a closure of
// `refuse` with the key as its upvalue.
void addMissingRefusals(lua_State* L, int from, int own, lua_CFunction refuse) {
    lua_pushnil(L);
    while (lua_next(L, from)) {  // key value
        lua_pop(L, 1);           // -1
        if (lua_type(L, -1) != LUA_TSTRING) continue;
        lua_pushvalue(L, -1);  // +1 key
        lua_rawget(L, own);    // own[key] or nil
        const bool missing = lua_isnil(L, -1);
        lua_pop(L, 1);
        if (!missing) continue;
        lua_pushvalue(L, -1);            // +1 key
        lua_pushvalue(L, -1);            // +1 key as upvalue
        lua_pushcclosure(L, refuse, 1);  // replace by the closure
        lua_rawset(L, own);              // -2
    }
}

// Pops the value on top of the stack; when it is a table it joins the set at
// index `set` (absolute) as set[table] = true.
void popIntoSetIfTable(lua_State* L, int set) {
    if (!lua_istable(L, -1)) {
        lua_pop(L, 1);
        return;
    }
    lua_pushboolean(L, 1);  // +1
    lua_rawset(L, set);     // -2 set[table] = true
}

// Pushes t[name] (raw), creating an empty table there when it is missing.
void pushRawSubtable(lua_State* L, int t, const char* name) {
    lua_pushstring(L, name);  // +1
    lua_rawget(L, t);         // replace by t[name]
    if (lua_istable(L, -1)) return;
    lua_pop(L, 1);
    lua_newtable(L);          // +1
    lua_pushstring(L, name);  // +1
    lua_pushvalue(L, -2);     // +1
    lua_rawset(L, t);         // -2 t[name] = new table
}

// Every variable of table `t` (a module or class table) that has a getter and
// no setter gets a setter that refuses the assignment. Without one, tolua
// would store the value as a plain field that hides the variable from then
// on (and, for a class table, in its base class's table).
void refuseReadOnlyAssignments(lua_State* L, int t) {
    lua_pushstring(L, ".get");
    lua_rawget(L, t);  // +1 getters
    if (!lua_istable(L, -1)) {
        lua_pop(L, 1);
        return;
    }
    const int getters = lua_gettop(L);
    pushRawSubtable(L, t, ".set");  // +1 setters
    addMissingRefusals(L, getters, lua_gettop(L), &refuseReadOnly);
    lua_pop(L, 2);  // -2 setters, getters
}

// A const object must not be written through a member setter (the named
// values such as Vector2.ZERO are the program's own constants). tolua looks
// for setters from the const type's metatable up through the class and its
// bases, so the const metatable gets a refusing setter for every member
// setter found on that way.
void refuseConstMemberAssignments(lua_State* L, int constMt) {
    pushRawSubtable(L, constMt, ".set");  // +1 the const type's own setters
    const int own = lua_gettop(L);
    lua_pushvalue(L, constMt);         // +1 walker
    while (lua_getmetatable(L, -1)) {  // +1 next metatable up
        lua_remove(L, -2);             // -1 walker: it in its place
        lua_pushstring(L, ".set");
        lua_rawget(L, -2);  // +1 setters of this class
        if (lua_istable(L, -1)) addMissingRefusals(L, lua_gettop(L), own, &refuseConstMember);
        lua_pop(L, 1);  // -1 setters
    }
    lua_pop(L, 2);  // -2 walker, own
}

void removeUnsafeToluaFunctions(lua_State* L) {
    lua_getglobal(L, "tolua");  // +1 tolua
    if (!lua_istable(L, -1)) {
        lua_pop(L, 1);
        return;
    }
    lua_newtable(L);  // +1 kept
    for (const char* name : kKeptToluaFunctions) {
        lua_getfield(L, -2, name);  // +1
        lua_setfield(L, -2, name);  // -1
    }
    // Empty the original table in place (scripts may hold it) and refill it.
    for (;;) {
        lua_pushnil(L);               // +1 first key
        if (!lua_next(L, -3)) break;  // -1 +2 key value, or -1 at the end
        lua_pop(L, 1);                // -1 value
        lua_pushnil(L);               // +1
        lua_rawset(L, -4);            // -2 tolua[key] = nil
    }
    lua_pushnil(L);            // +1
    while (lua_next(L, -2)) {  // kept: key value
        lua_pushvalue(L, -2);  // +1 key
        lua_insert(L, -2);     // key key value
        lua_rawset(L, -5);     // -2 tolua[key] = value
    }
    lua_pop(L, 2);  // -2 kept, tolua
}

}  // namespace

BoundStates& BoundStates::instance() {
    alignas(BoundStates) static std::byte storage[sizeof(BoundStates)];
    static BoundStates* states = new (storage) BoundStates();  // never destroyed
    return *states;
}

int BoundStates::sharedEquality(lua_State* L) {
    // Lua calls __eq only for two different values that share this handler;
    // the class tables share it too, so anything that is not two objects is
    // simply unequal.
    if (lua_type(L, 1) != LUA_TUSERDATA || lua_type(L, 2) != LUA_TUSERDATA) {
        lua_pushboolean(L, 0);
        return 1;
    }
    lua_settop(L, 2);
    // The operator of the left operand's class, found through the metatable
    // chain (a const type's metatable has the class's metatable as its own).
    lua_pushvalue(L, 1);  // 3: walker
    bool found = false;
    while (lua_getmetatable(L, -1)) {  // +1 mt
        lua_remove(L, -2);             // -1 walker: mt in its place
        lua_pushstring(L, ".eq");      // +1
        lua_rawget(L, -2);             // replace by mt[".eq"]
        if (lua_isfunction(L, -1)) {
            found = true;
            break;
        }
        lua_pop(L, 1);  // -1
    }
    if (found) {
        // The right operand must be acceptable to the operator; otherwise the
        // values are of different classes and unequal.
        lua_getmetatable(L, 1);  // +1 mt of the left operand
        pushTypeName(L, -1);     // +1 its name
        const char* name = lua_tostring(L, -1);
        bool acceptable = false;
        if (name) {
            const char* base = std::strncmp(name, "const ", 6) == 0 ? name + 6 : name;
            lua_pushfstring(L, "const %s", base);  // +1
            tolua_Error err;
            acceptable = tolua_isusertype(L, 2, lua_tostring(L, -1), 0, &err) != 0;
            lua_pop(L, 1);  // -1
        }
        lua_pop(L, 2);  // -2 name, mt
        if (!acceptable) {
            lua_pushboolean(L, 0);
            return 1;
        }
        lua_pushvalue(L, 1);  // +1
        lua_pushvalue(L, 2);  // +1
        lua_call(L, 2, 1);    // -3 +1 result
        lua_pushboolean(L, lua_toboolean(L, -1));
        return 1;
    }
    // No operator: one object pushed under two unrelated type names. A
    // script can lend this handler to any user datum (newproxy,
    // debug.setmetatable), so only boxes of registered classes are read.
    void* a = qel::LuaParamItem::boxedObject(L, 1);
    void* b = qel::LuaParamItem::boxedObject(L, 2);
    lua_pushboolean(L, a != nullptr && a == b);
    return 1;
}

// tolua looks for the setter of a class table's own static variable in the
// table's metatable (its base class), never finds it and stores the value
// there, where every class of that base then sees it. Assignments to a class
// table's own variables go to their setter here (a refusing one for the
// read-only); everything else keeps tolua's behaviour.
int BoundStates::classNewIndex(lua_State* L) {
    if (lua_istable(L, 1)) {
        lua_pushstring(L, ".set");  // +1
        lua_rawget(L, 1);           // the table's own setters
        if (lua_istable(L, -1)) {
            lua_pushvalue(L, 2);  // +1 key
            lua_rawget(L, -2);    // setter
            if (lua_iscfunction(L, -1)) {
                lua_pushvalue(L, 1);  // +1
                lua_pushvalue(L, 3);  // +1
                lua_call(L, 2, 0);    // -3
                return 0;
            }
        }
        lua_settop(L, 3);
    }
    lua_pushvalue(L, lua_upvalueindex(1));  // +1 tolua's event
    lua_insert(L, 1);
    lua_call(L, 3, 0);
    return 0;
}

int BoundStates::deletedObjectAccess(lua_State* L) {
    return luaL_error(L, "attempt to use a deleted object");
}

int BoundStates::closeSentinel(lua_State* L) {
    auto* bound = static_cast<lua_State**>(lua_touserdata(L, 1));
    if (bound && *bound) instance().detach(*bound);
    return 0;
}

void BoundStates::attach(lua_State* L) {
    if (!lua_checkstack(L, 20)) luaL_error(L, "stack overflow");
    const qel::LuaStackGuard guard(L);
    const int top = guard.top();

    // The shared equality event on every class metatable, and the set of
    // identity tables (one per family of classes, plus tolua's global one).
    lua_pushcfunction(L, &BoundStates::sharedEquality);  // top+1 eq
    lua_newtable(L);                                     // top+2 set of identity tables
    lua_getfield(L, LUA_REGISTRYINDEX, "tolua_ubox");    // +1
    popIntoSetIfTable(L, top + 2);
    lua_pushnil(L);
    while (lua_next(L, LUA_REGISTRYINDEX)) {  // key mt
        if (isClassMetatable(L)) {
            const int mt = lua_gettop(L);
            refuseReadOnlyAssignments(L, mt);
            if (std::strncmp(lua_tostring(L, mt - 1), "const ", 6) == 0) {
                refuseConstMemberAssignments(L, mt);
            }
            lua_pushstring(L, "__newindex");  // +1
            lua_pushstring(L, "__newindex");  // +1
            lua_rawget(L, mt);                // tolua's event
            lua_pushcclosure(L, &BoundStates::classNewIndex, 1);
            lua_rawset(L, mt);                // -2
            lua_pushstring(L, "__eq");        // +1
            lua_pushvalue(L, top + 1);        // +1 eq
            lua_rawset(L, mt);                // -2 (raw: class tables have events of their own)
            lua_pushstring(L, "tolua_ubox");  // +1
            lua_rawget(L, mt);
            popIntoSetIfTable(L, top + 2);
        }
        lua_pop(L, 1);  // -1 value, key stays for lua_next
    }
    lua_pushlightuserdata(L, &identityTablesKey);  // +1 key
    lua_newtable(L);                               // +1 list
    int count = 0;
    lua_pushnil(L);
    while (lua_next(L, top + 2)) {    // ubox true
        lua_pop(L, 1);                // -1
        lua_pushvalue(L, -1);         // +1 ubox
        lua_rawseti(L, -3, ++count);  // -1 list[count] = ubox
    }
    lua_rawset(L, LUA_REGISTRYINDEX);  // -2 registry[key] = list

    // The metatable of forgotten values: any use of one raises a clean error,
    // tolua reports it under its own type name, and it has no collector.
    lua_pushlightuserdata(L, &deletedMetatableKey);  // +1 key
    lua_newtable(L);                                 // +1 mt
    lua_pushcfunction(L, &BoundStates::deletedObjectAccess);
    lua_setfield(L, -2, "__index");
    lua_pushcfunction(L, &BoundStates::deletedObjectAccess);
    lua_setfield(L, -2, "__newindex");
    lua_pushvalue(L, -1);                 // +1 mt
    lua_pushstring(L, kDeletedTypeName);  // +1
    lua_rawset(L, LUA_REGISTRYINDEX);     // -2 registry[mt] = name
    lua_rawset(L, LUA_REGISTRYINDEX);     // -2 registry[key] = mt

    lua_getglobal(L, "C");  // +1 the module
    if (lua_istable(L, -1)) refuseReadOnlyAssignments(L, lua_gettop(L));
    lua_pop(L, 1);

    lua_pushlightuserdata(L, &scriptOwnedKey);  // +1
    lua_rawget(L, LUA_REGISTRYINDEX);
    const bool hasOwnedSet = lua_istable(L, -1);
    lua_pop(L, 1);
    if (!hasOwnedSet) {
        lua_pushlightuserdata(L, &scriptOwnedKey);  // +1
        lua_newtable(L);                            // +1
        lua_rawset(L, LUA_REGISTRYINDEX);           // -2
    }

    lua_pushlightuserdata(L, &membersKey);  // +1
    lua_rawget(L, LUA_REGISTRYINDEX);
    const bool hasMembers = lua_istable(L, -1);
    lua_pop(L, 1);
    if (!hasMembers) {
        lua_pushlightuserdata(L, &membersKey);  // +1
        lua_newtable(L);                        // +1
        lua_rawset(L, LUA_REGISTRYINDEX);       // -2
    }

    removeUnsafeToluaFunctions(L);

    // The sentinel that takes the state off the list when lua_close finalizes
    // it. It exists before the state is listed, so a failure anywhere below
    // leaves at worst an unreferenced sentinel, whose finalizer unlists the
    // state again; a second registration keeps the first sentinel.
    lua_pushlightuserdata(L, &sentinelKey);  // +1
    lua_rawget(L, LUA_REGISTRYINDEX);        // the sentinel or nil
    const bool hasSentinel = !lua_isnil(L, -1);
    lua_pop(L, 1);
    if (!hasSentinel) {
        auto* box = static_cast<lua_State**>(lua_newuserdata(L, sizeof(lua_State*)));  // +1
        *box = L;
        lua_newtable(L);  // +1 its metatable
        lua_pushcfunction(L, &BoundStates::closeSentinel);
        lua_setfield(L, -2, "__gc");
        lua_setmetatable(L, -2);  // -1
    }
    {
        qel::ScopedLock guard(lock_);
        bool listed = false;
        for (lua_State* slot : states_) {
            if (slot == L) listed = true;
        }
        for (lua_State*& slot : states_) {
            if (!listed && !slot) {
                slot = L;
                listed = true;
            }
        }
        if (!listed) luaL_error(L, "too many Lua states with script bindings");
    }
    if (!hasSentinel) {
        lua_pushlightuserdata(L, &sentinelKey);  // +1 key
        lua_insert(L, -2);                       // key sentinel
        lua_rawset(L, LUA_REGISTRYINDEX);        // -2 registry[key] = sentinel
    }
}

void BoundStates::noteScriptOwned(lua_State* L, const void* object) {
    lua_pushlightuserdata(L, &scriptOwnedKey);  // +1
    lua_rawget(L, LUA_REGISTRYINDEX);           // the set or nil
    if (lua_istable(L, -1)) {
        lua_pushlightuserdata(L, const_cast<void*>(object));  // +1
        lua_pushboolean(L, 1);                                // +1
        lua_rawset(L, -3);                                    // -2 (may raise: memory)
    }
    lua_pop(L, 1);  // -1 the set
}

bool BoundStates::mayScriptDelete(lua_State* L, const void* object) {
    lua_pushlightuserdata(L, &scriptOwnedKey);  // +1
    lua_rawget(L, LUA_REGISTRYINDEX);           // the set or nil
    if (!lua_istable(L, -1)) {
        lua_pop(L, 1);
        return true;
    }
    const bool madeByBinding = rawHasLightKey(L, lua_gettop(L), object);
    lua_pop(L, 1);
    if (madeByBinding) return true;
    lua_pushstring(L, "tolua_gc");     // +1
    lua_rawget(L, LUA_REGISTRYINDEX);  // tolua's collector table
    const bool ownedByLua = lua_istable(L, -1) && rawHasLightKey(L, lua_gettop(L), object);
    lua_pop(L, 1);
    return ownedByLua;
}

void BoundStates::detach(lua_State* L) {
    qel::ScopedLock guard(lock_);
    for (lua_State*& slot : states_) {
        if (slot == L) slot = nullptr;
    }
}

bool BoundStates::isBound(lua_State* L) {
    qel::ScopedLock guard(lock_);
    for (lua_State* slot : states_) {
        if (slot == L) return true;
    }
    return false;
}

void BoundStates::apply(const Edit& edit) {
    qel::ScopedLock guard(lock_);
    for (lua_State* L : states_) {
        if (!L) continue;
        if (edit.forget) {
            forgetIn(L, edit.address);
        } else {
            claimIn(L, edit.address);
        }
    }
}

void BoundStates::edit(const Edit& edit) {
    qel::CriticalSection& running = qel::scriptStateLock();
    if (!running.tryEnter()) {
        // Another thread runs the scripts: it applies the edit, in order.
        bool deferred = false;
        {
            qel::ScopedLock guard(lock_);
            try {
                deferred_.push_back(edit);
                hasDeferred_ = true;
                deferred = true;
            } catch (const std::bad_alloc&) {
            }
        }
        if (deferred) return;
        // No room to defer: wait for the run to end (the list's lock is
        // free again, so the running thread is not held up meanwhile).
        running.enter();
    }
    applyDeferred();  // earlier edits first
    apply(edit);
    running.leave();
}

void BoundStates::applyDeferred() {
    if (!hasDeferred_) return;
    qel::CriticalSection& running = qel::scriptStateLock();
    if (!running.tryEnter()) return;
    std::vector<Edit> edits;
    {
        qel::ScopedLock guard(lock_);
        edits.swap(deferred_);
        hasDeferred_ = false;
    }
    for (const Edit& e : edits) apply(e);
    running.leave();
}

void BoundStates::forget(const void* address) {
    edit(Edit{address, true});
}

void BoundStates::noteMember(lua_State* L, const void* owner, const void* member) {
    const qel::LuaStackGuard guard(L);
    lua_pushlightuserdata(L, &membersKey);  // +1
    lua_rawget(L, LUA_REGISTRYINDEX);       // the table of owners or nil
    if (!lua_istable(L, -1)) return;
    const int owners = lua_gettop(L);
    lua_pushlightuserdata(L, const_cast<void*>(owner));  // +1
    lua_rawget(L, owners);                               // the owner's set or nil
    if (!lua_istable(L, -1)) {
        lua_pop(L, 1);
        lua_newtable(L);                                     // +1 (may raise: memory)
        lua_pushlightuserdata(L, const_cast<void*>(owner));  // +1
        lua_pushvalue(L, -2);                                // +1
        lua_rawset(L, owners);                               // -2 owners[owner] = set
    }
    lua_pushlightuserdata(L, const_cast<void*>(member));  // +1
    lua_pushboolean(L, 1);                                // +1
    lua_rawset(L, -3);                                    // -2 set[member] = true
}

// Only raw reads, and raw writes of nil to keys that exist, which never
// allocate; so nothing here can raise a Lua error, and a destructor may call
// it. It uses at most eight stack slots at a time, within the twenty Lua
// gives every C function (and far within the idle stack between calls), so
// it does not grow the stack either. The members registered with an address
// are forgotten with it, and theirs with them; the pending addresses wait
// in a fixed list, and a list that fills up is worked off by a nested call.
void BoundStates::forgetIn(lua_State* L, const void* address) {
    constexpr int kPending = 32;
    const void* pending[kPending];
    int count = 0;
    pending[count++] = address;
    while (count > 0) {
        const void* current = pending[--count];
        forgetOne(L, current);
        const qel::LuaStackGuard guard(L);
        lua_pushlightuserdata(L, &membersKey);  // +1
        lua_rawget(L, LUA_REGISTRYINDEX);       // the table of owners or nil
        if (!lua_istable(L, -1)) continue;
        const int owners = lua_gettop(L);
        lua_pushlightuserdata(L, const_cast<void*>(current));  // +1
        lua_rawget(L, owners);                                 // its set or nil
        if (!lua_istable(L, -1)) continue;
        const int set = lua_gettop(L);
        lua_pushnil(L);             // +1 first key
        while (lua_next(L, set)) {  // key value
            lua_pop(L, 1);          // -1 value
            const void* member = lua_touserdata(L, -1);
            if (member == current) continue;
            if (count < kPending) {
                pending[count++] = member;
            } else {
                forgetIn(L, member);
            }
        }
        lua_pushlightuserdata(L, const_cast<void*>(current));  // +1
        lua_pushnil(L);                                        // +1
        lua_rawset(L, owners);                                 // -2 owners[current] = nil
    }
}

void BoundStates::forgetOne(lua_State* L, const void* address) {
    const qel::LuaStackGuard guard(L);
    const int top = guard.top();
    void* key = const_cast<void*>(address);
    lua_pushlightuserdata(L, &identityTablesKey);    // +1
    lua_rawget(L, LUA_REGISTRYINDEX);                // list
    lua_pushlightuserdata(L, &deletedMetatableKey);  // +1
    lua_rawget(L, LUA_REGISTRYINDEX);                // dead mt
    const int list = top + 1;
    const int dead = top + 2;
    if (lua_istable(L, list) && lua_istable(L, dead)) {
        const int n = static_cast<int>(lua_objlen(L, list));
        for (int i = 1; i <= n; ++i) {
            lua_rawgeti(L, list, i);        // +1 ubox
            lua_pushlightuserdata(L, key);  // +1
            lua_rawget(L, -2);              // value
            if (lua_type(L, -1) == LUA_TUSERDATA) {
                *static_cast<void**>(lua_touserdata(L, -1)) = nullptr;
                lua_pushvalue(L, dead);         // +1
                lua_setmetatable(L, -2);        // -1
                lua_pushlightuserdata(L, key);  // +1
                lua_pushnil(L);                 // +1
                lua_rawset(L, -4);              // -2 ubox[address] = nil
            }
            lua_pop(L, 2);  // -2 value, ubox
        }
    }
    claimIn(L, address);
}

// The ownership mark: an object is the script's while the set of objects a
// script may delete or tolua's collector table holds it. Dropping both is
// a claim; like forgetIn, only raw reads and writes of nil to existing keys.
void BoundStates::claimIn(lua_State* L, const void* address) {
    lua_pushlightuserdata(L, &scriptOwnedKey);  // +1
    lua_rawget(L, LUA_REGISTRYINDEX);           // the set
    rawRemoveLightKey(L, address);
    lua_pop(L, 1);
    lua_pushstring(L, "tolua_gc");     // +1 (an interned string: no allocation)
    lua_rawget(L, LUA_REGISTRYINDEX);  // gc table
    rawRemoveLightKey(L, address);
    lua_pop(L, 1);
}

void BoundStates::claim(const void* address) {
    edit(Edit{address, false});
}

}  // namespace binding
