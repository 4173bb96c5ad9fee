// Helpers that the generated bindings call in place of the generator's own
// conversions, and the handlers behind the forgetting that keeps scripts
// from reaching freed objects (engine/core/script_object.h).
//
// Who owns what a script holds:
//   - Borrowed objects (the program's map objects, tasks, definitions, the
//     settings' values, the named colours): pushed without a collector; the
//     program frees them, and they are forgotten by construction: a class
//     of the object model derives from qel::ScriptObject (the build refuses
//     a bound one that does not, checkForgets below), a plain record handed
//     out by pointer from qel::ScriptRecord, and a view into an object (a
//     member returned by reference, a member variable) is registered with
//     the object it was asked of (pushReference below) and goes with it.
//   - Lua-owned objects (results by value, new_local, calling a class
//     table): registered with tolua's collector table; the collector frees
//     them through destroyObject(), which forgets them first.
//   - Objects made with `new`: the script's until it calls `delete` (also
//     destroyObject()) or hands them to an operation that takes them over.
//   - An operation that takes over an object a script made or Lua owns
//     calls qel::claimScriptObject() (claimScriptObject() below): the
//     object loses its mark as the script's and its collector entry, so
//     from then on it is the program's like any borrowed object.
//   - A script's `delete` of anything it does not own (a borrowed or
//     claimed object) is refused with a Lua error; nothing is freed.
//   - A map object a script deletes (or Lua collects) goes the program's
//     way (ObjectBase::destroy, through destroyByProgram): every bound
//     function is an operation on objects (engine/core/object_operation.h),
//     so what a script asks to delete leaves the world at once and is freed
//     only as the outermost operation returns.
//
// A new binding is safe by construction when it keeps to this:
//   - A class of the object model derives from qel::ScriptObject, a plain
//     record the program hands out by pointer from qel::ScriptRecord; the
//     class then needs a row in tests/bindings/script_values_test.cpp (a
//     bound class without one fails it), saying how the program hands it
//     out and deletes it.
//   - A member handed out by reference or as a member variable needs
//     nothing: the generated code registers it with its object. A
//     reference into anything else reaches the script as its own copy; a
//     pointer to another object is that object's own (it forgets itself).
//   - An object the script is to delete goes through giveToScript; one the
//     program takes over from a script, through claimScriptObject.
//   - A binding that keeps a pointer to an object after it returns holds
//     it weakly (an ObjectRef for a map object), never a raw pointer.
//   - A list operation keeps the program's lists to the program's nodes
//     (object_glue.h).
// A new hook (a call from the program into a script) goes through
// ScriptCall (game/world/script_call.h), the only way into the scripts:
// it holds everything the call and its caller use until the outermost
// operation ends, and forgets a record on the C++ stack it hands over (a
// temporary) when the call returns.
//
// What forgetScriptObject() keeps true, for every Lua state that has the
// bindings open: after it returns, no identity table maps the address to a
// Lua value, the collector table holds no entry for it, and every Lua value
// that stood for it has a null pointer and the "deleted object" metatable.
// So a new object at the same address gets a fresh Lua value, a stale value
// raises a clean error wherever it is used, and nothing is freed twice.
//
// Every conversion of a Lua number to a C++ number is defined for every input:
// integers are truncated toward zero through 64 bits and wrapped to their
// width (4294967295 read as int32 is -1; NaN is 0), floats follow IEEE
// rounding with overflow to infinity.
#pragma once

#include <tolua++.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <lua.hpp>
#include <string>
#include <string_view>
#include <type_traits>

#include "engine/core/script_object.h"

// The generated bindings must keep their argument tests and null checks.
#ifdef TOLUA_RELEASE
#error "TOLUA_RELEASE removes the bindings' argument tests; it must never be defined"
#endif

namespace binding {

// The name the "deleted object" values report as their type.
inline constexpr const char* kDeletedTypeName = "deleted object";

// Truncates toward zero and reduces modulo 2^64 (two's complement); NaN and
// infinities give 0.
std::uint64_t wrapToWord64(double value);

template <class T, bool = std::is_enum_v<T>>
struct IntegerOf {
    using type = T;
};
template <class T>
struct IntegerOf<T, true> {
    using type = std::underlying_type_t<T>;
};

template <class T>
T fromNumber(double value) {
    if constexpr (std::is_same_v<T, bool>) {
        return value != 0.0;
    } else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
        using U = std::make_unsigned_t<typename IntegerOf<T>::type>;
        return static_cast<T>(static_cast<U>(wrapToWord64(value)));
    } else if constexpr (std::is_same_v<T, float>) {
        // Beyond the largest float, values below half a step past it still
        // round to it; from that midpoint on they round to infinity.
        constexpr float kMax = std::numeric_limits<float>::max();
        constexpr double kOverflow = 0x1.ffffffp127;
        if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
        if (value >= kOverflow) return std::numeric_limits<float>::infinity();
        if (value <= -kOverflow) return -std::numeric_limits<float>::infinity();
        if (value > kMax) return kMax;
        if (value < -kMax) return -kMax;
        return static_cast<float>(value);
    } else {
        return static_cast<T>(value);
    }
}

// tolua_tonumber followed by the conversion above.
template <class T>
T toNumber(lua_State* L, int narg, double def) {
    return fromNumber<T>(tolua_tonumber(L, narg, def));
}

// An array index: truncated toward zero, saturating, NaN -1, so that an index
// far outside the range can never wrap into it.
int toIndex(lua_State* L, int narg, double def);

// A std::string argument or value: nil, a missing value or a value Lua cannot
// turn into text gives the empty string (never a null pointer).
const char* toCppString(lua_State* L, int narg, const char* def);

// A `const char*` parameter as the generated code reads it (toText below):
// its text, the default for a missing value, and null for nil (tolua's
// reading). Null reaches only a function that takes `const char*` itself,
// for which nil has a meaning of its own (the shipped table, "names
// nothing", an error); a function that takes std::string or
// std::string_view reads the empty text, never a string made from a null
// pointer.
class Text {
public:
    explicit Text(const char* text) : text_(text) {}
    operator const char*() const { return text_; }
    operator std::string_view() const {
        return text_ ? std::string_view(text_) : std::string_view();
    }
    operator std::string() const { return text_ ? std::string(text_) : std::string(); }

private:
    const char* text_;
};
Text toText(lua_State* L, int narg, const char* def);

// Removes `address` from every bound Lua state (see the file comment). Safe to
// call for addresses scripts never saw, from any destructor, any number of
// times; it raises no Lua error.
void forgetScriptObject(const void* address);

// The program takes the object over in every bound Lua state (see the file
// comment). Like forgetScriptObject: any thread, any number of times, no
// Lua error.
void claimScriptObject(const void* address);

// Every class the bindings register passes this check (the build rewrites
// each registration to call it): a class of the object model must forget
// its objects when they are destroyed, so it derives from ScriptObject.
template <class T>
constexpr void checkForgets() {
    static_assert(!std::is_base_of_v<qel::Core, T> || std::is_base_of_v<qel::ScriptObject, T>,
                  "a bound class of the object model derives from qel::ScriptObject "
                  "(engine/core/script_object.h)");
}

// Forgets the address, then deletes the object: what the program does when
// it frees an object scripts may have seen, and what a permitted script
// delete or a collector does.
template <class T>
void destroyObject(T* object) {
    binding::forgetScriptObject(object);
    delete object;
}

// Bookkeeping of what a script may delete, kept per Lua state: objects made
// by a constructor binding or a result by value (recorded when made), and
// objects owned by Lua (in tolua's collector table). Everything else a
// script sees is borrowed from the program.
void noteScriptOwned(lua_State* L, const void* object);
bool mayScriptDelete(lua_State* L, const void* object);
[[noreturn]] void refuseScriptDelete(lua_State* L);

// Customisation point: the other objects whose fields a class's methods
// hand out by reference (an item's kind for its colour, dice and targets).
// A reference inside one of them is a view registered with it, so it goes
// with that object; found by argument-dependent lookup, none by default.
struct ViewOwner {
    const void* object = nullptr;
    std::size_t size = 0;
};
using ViewOwners = std::array<ViewOwner, 2>;
inline ViewOwners viewOwners(const void*) {
    return {};
}

// Every `new` in generated code: records the object; when recording fails
// the object is deleted and the Lua error passes on.
// Customisation points, found by argument-dependent lookup for the classes
// that need them (bindings/object_glue.h): whether the program took an
// object over while it was being made (it is then never recorded as the
// script's), and what a class does when a binding makes or frees one.
inline bool takenByProgram(const void*) {
    return false;
}
inline void onScriptMade(const void*) {}
inline void onScriptFree(const void*) {}
// A class whose objects the program deletes in its own way (map objects
// wait for the end of the operation: ObjectBase::destroy) deletes the
// object here and answers true.
inline bool destroyByProgram(const void*) {
    return false;
}

template <class T>
T* recordMade(lua_State* L, T* object) {
    if (!object || takenByProgram(object)) return object;
    try {
        noteScriptOwned(L, object);
        onScriptMade(object);
    } catch (...) {  // a Lua error (the C++ build of Lua throws)
        delete object;
        throw;
    }
    return object;
}

// Every `delete` in generated code (the delete bindings and the collectors):
// an object the program owns is refused with a Lua error and left alone.
template <class T>
void deleteFromScript(lua_State* L, T* object) {
    if (!mayScriptDelete(L, object)) refuseScriptDelete(L);
    onScriptFree(object);
    if (!destroyByProgram(object)) destroyObject(object);
}

// Every tolua_register_gc in generated code: a result whose allocation failed
// reaches the script as nil and is not registered (tolua would read through
// the missing pointer), and neither is an object the program took over
// while it was made (recordMade did not record it).
int registerCollected(lua_State* L, int lo);

// No C++ exception may cross a Lua frame: Lua unwinds with exceptions of
// its own and would take a foreign one for a meaningless error. The
// registrations below (what tolua_function, tolua_variable and tolua_array
// become in generated code) store each function behind a guard that turns a
// std::exception into a Lua error carrying its text; Lua's own errors pass
// through untouched.
void registerFunction(lua_State* L, const char* name, lua_CFunction func);
void registerVariable(lua_State* L, const char* name, lua_CFunction get, lua_CFunction set);
void registerArray(lua_State* L, const char* name, lua_CFunction get, lua_CFunction set);
// tolua_pushusertype after the edits other threads deferred (bound_states.h).
void pushObject(lua_State* L, void* value, const char* type);
// What the generated code pushes for what a method called on an object
// returns by reference or by pointer, and for a member variable or array
// element of class type. An address that lies inside the object it was
// asked of (`self`, of the size the binding sees) is a view into it: pushed
// like pushObject and registered with `self`, so that the object's
// forgetting forgets it too. Anything else a pointer gives is another
// object with a life of its own and is pushed as it is; a reference inside
// one of the class's view owners (viewOwners above) is registered with
// that owner; a reference to anything else (a static, a value computed
// elsewhere) is handed over as a copy the script owns, under the same type
// name, since nothing would forget a view of it. Pushes one value.
// Returns whether the address is inside the owner (and was registered).
bool pushView(lua_State* L, const void* owner, std::size_t ownerSize, const void* value,
              const char* type);
template <class S, class T>
void pushPointer(lua_State* L, const S* self, const T* value, const char* type) {
    pushView(L, self, sizeof(S), value, type);
}
template <class S, class T>
void pushReference(lua_State* L, const S* self, const T* value, const char* type);

// Pushes `func` behind the guard. A function registered from a table (a
// setting, a flag bit) gets its row as `datum`, which it reads back with
// guardedDatum().
void pushGuarded(lua_State* L, lua_CFunction func, const void* datum = nullptr);
// Inside a function pushed by pushGuarded: its datum.
const void* guardedDatum(lua_State* L);
// Sets t[side][name] = func behind the guard, creating t[side] when missing
// (t on top of the stack; side ".get" or ".set").
void setAccessor(lua_State* L, const char* side, const char* name, lua_CFunction func,
                 const void* datum);

// For a binding whose result the script owns though no binding made it (an
// object the program creates and hands over, to be deleted by the script).
inline void giveToScript(lua_State* L, const void* object) {
    if (object) noteScriptOwned(L, object);
}

// The object a member getter or setter works on: argument 1 when it is an
// object that `typeName` accepts (the class's const name for a getter, its
// plain name for a setter, so a const object cannot be written), otherwise
// null, which the accessor reports as an invalid self. Reached through an
// object's own class every accessor fits; only a script calling one out of a
// class's raw `.get` or `.set` table could hand it another object.
void* memberSelf(lua_State* L, const char* typeName);

// Raises the variable error for argument `narg` expecting `typeName`.
[[noreturn]] void raiseVariableError(lua_State* L, int narg, const char* typeName);
// The index test of an array element getter or setter: the index as a
// number within 0..size-1, else the array errors.
int checkedIndex(lua_State* L, int size);

// The `_val` accessor pair shared by every 32-bit flag record and Color: the
// whole word as an unsigned number. Self must be an object of the record's
// own class (its const name for reading, its plain name for writing), like
// any member accessor's: the word of another class is not its first field.
int getWordValue(lua_State* L, const char* constTypeName);
int setWordValue(lua_State* L, const char* typeName);

template <class S, class T>
void pushReference(lua_State* L, const S* self, const T* value, const char* type) {
    using Value = std::remove_const_t<T>;
    constexpr bool kCopyable = std::is_copy_constructible_v<Value> &&
                               !std::is_base_of_v<qel::Core, Value> && !std::is_abstract_v<Value>;
    const auto first = reinterpret_cast<std::uintptr_t>(self);
    const auto at = reinterpret_cast<std::uintptr_t>(value);
    if (self && (at < first || at - first >= sizeof(S))) {
        for (const ViewOwner& owner : viewOwners(self)) {
            const auto start = reinterpret_cast<std::uintptr_t>(owner.object);
            if (owner.object && at >= start && at - start < owner.size) {
                pushView(L, owner.object, owner.size, value, type);
                return;
            }
        }
    }
    if constexpr (kCopyable) {
        if (self && (at < first || at - first >= sizeof(S))) {
            Value* copy = recordMade(L, new Value(*value));
            pushObject(L, copy, type);
            registerCollected(L, lua_gettop(L));
            return;
        }
    }
    pushView(L, self, sizeof(S), value, type);
}

}  // namespace binding
