// Script calls run many times a frame (every decorator hook of every
// character), so a call of a defined callback with an object argument and
// one result, and the lookup of an undefined one, must stay cheap.
#include <benchmark/benchmark.h>

#include "engine/script/sys_lua.h"

namespace {

void BM_CallWithArgumentsAndResult(benchmark::State& state) {
    qel::SysLua lua;
    if (!lua.init() || !lua.runBuffer("function hook(o, name, n) return n + 1 end", 0, "=bench")) {
        state.SkipWithError("no Lua state");
        return;
    }
    int object = 0;
    for (auto _ : state) {
        qel::LuaParam args;
        args.addUserType(&object, "ObjectChara");
        args.addString("beginTurn");
        args.addNumber(41);
        qel::LuaParam results;
        lua.call("hook", 1, &args, &results);
        benchmark::DoNotOptimize(results.toNumber());
    }
}
BENCHMARK(BM_CallWithArgumentsAndResult);

void BM_CallUndefined(benchmark::State& state) {
    qel::SysLua lua;
    if (!lua.init()) {
        state.SkipWithError("no Lua state");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(lua.call("NotDefined", 0, nullptr, nullptr));
}
BENCHMARK(BM_CallUndefined);

}  // namespace
