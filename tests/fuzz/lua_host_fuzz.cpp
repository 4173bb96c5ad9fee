// The Lua host with the game's bindings over any script text: whatever the
// script does within its instruction budget, the host answers true or
// false, leaves the stack as it found it, reads any results it is given,
// and closing the state gives back every block of the state's pool. (Objects
// a script makes with `new` and never deletes are the program's, as in C++,
// and outlive the state.)
#include <string>

#include "bindings/script_bindings.h"
#include "engine/script/lua_param.h"
#include "engine/script/sys_lua.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr int kInstructionBudget = 200000;

void outOfBudget(lua_State* L, lua_Debug*) {
    luaL_error(L, "instruction budget spent");
}

// Takes from the scripts what would reach the process or the disc, or
// escape the budget.
const char* const kRemoved =
    "io = nil os = {time = os.time, clock = os.clock, date = os.date} "
    "package.loadlib = nil package.loaders[3] = nil package.loaders[4] = nil "
    "debug.sethook = nil";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel;
    using qel::fuzz::require;
    const fuzz::PoolBalance balance;
    {
        SysLua lua;
        require(lua.init(), "the host starts");
        lua_State* L = lua.state();
        std::string error;
        require(openScriptBindings(L, &error) == 1, "the bindings register");
        require(lua.runBuffer(kRemoved, 0, "=sandbox"), "the sandbox is set");
        lua_sethook(L, &outOfBudget, LUA_MASKCOUNT, kInstructionBudget);
        // A copy with its NUL: length 0 would mean the text's string length.
        const std::string script(reinterpret_cast<const char*>(data), size);
        const bool ran = script.empty() ||
                         lua.runBuffer(script.c_str(), static_cast<std::int32_t>(size), "=fuzz");
        require(ran || lua.lastError() != nullptr, "a failed run keeps its error");
        require(lua_gettop(L) == 0, "the run leaves the stack");

        LuaParam args;
        args.addNumber(1.5);
        args.addString("text");
        args.addBoolean(true);
        LuaParam results;
        lua_sethook(L, &outOfBudget, LUA_MASKCOUNT, kInstructionBudget);
        const bool called = lua.call("main", -1, &args, &results);
        require(called || results.count() == 0, "a failed call gives no results");
        require(lua_gettop(L) == 0, "the call leaves the stack");
    }
    balance.check(Pool::Script);
    return 0;
}
