// The one entry point that builds the scripts' view of the program: the
// user-type names, the global C_ functions and the module C.
//
// What it keeps true: it runs entirely inside a protected call, so a failure
// (memory, a second state beyond the limit) is reported instead of unwinding
// into the caller; the Lua stack is left as it was found either way.
#pragma once

#include <string>

struct lua_State;

// Registers the bindings on `L`, which must be the main state of a Lua host.
// Returns 1 when every registration succeeded and 0 when it failed, with the
// Lua error text in `error` when one is given. The boot loader calls it once,
// after the optional config.txt has run.
int openScriptBindings(lua_State* L, std::string* error = nullptr);
