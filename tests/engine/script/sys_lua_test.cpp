#include "engine/script/sys_lua.h"

#include <gtest/gtest.h>
#include <tolua++.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "engine/core/memory_allocator.h"
#include "engine/core/object_operation.h"
#include "engine/file/scramble_bytes.h"
#include "tests/engine/script/pool_hog.h"
#include "tests/support/scratch_folder.h"

namespace qel {
namespace {

// A program object of a class registered with tolua++ under "ObjectItem".
struct Gem {
    int value = 42;
};

int gemGetValue(lua_State* L) {
    const auto* gem = static_cast<const Gem*>(tolua_tousertype(L, 1, nullptr));
    lua_pushnumber(L, gem ? gem->value : -1);
    return 1;
}

int registerGem(lua_State* L) {
    tolua_open(L);
    tolua_module(L, nullptr, 0);
    tolua_beginmodule(L, nullptr);
    tolua_usertype(L, "ObjectItem");
    tolua_cclass(L, "ObjectItem", "ObjectItem", "", nullptr);
    tolua_beginmodule(L, "ObjectItem");
    tolua_function(L, "getValue", gemGetValue);
    tolua_endmodule(L);
    tolua_endmodule(L);
    return 0;
}

class SysLuaTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(lua.init());
        L = lua.state();
        // A value of the caller's own below everything the host does.
        lua_pushinteger(L, 1234);
    }
    void TearDown() override {
        EXPECT_EQ(lua_gettop(L), 1);
        EXPECT_EQ(lua_tointeger(L, 1), 1234);
    }
    void define(const char* chunk) { ASSERT_TRUE(lua.runBuffer(chunk, 0, "=test")) << chunk; }
    std::string globalText(const char* name) {
        lua_getglobal(L, name);
        std::string text = lua_isstring(L, -1) ? lua_tostring(L, -1) : "<none>";
        lua_pop(L, 1);
        return text;
    }

    test::ScratchFolder scratch;
    SysLua lua;
    lua_State* L = nullptr;
};

TEST_F(SysLuaTest, RunsBuffersAndFiles) {
    EXPECT_TRUE(lua.runBuffer("a = 'whole'", 0, "=zero length"));
    EXPECT_EQ(globalText("a"), "whole");

    const char* text = "b = 'first' -- and not c = 'second'";
    EXPECT_TRUE(lua.runBuffer("c = 'prefix'; d = 1", 14, "=prefix"));
    EXPECT_EQ(globalText("c"), "prefix");
    EXPECT_EQ(globalText("d"), "<none>");
    EXPECT_TRUE(lua.runBuffer(text, 0, "=comment"));
    EXPECT_EQ(globalText("b"), "first");

    const auto path = scratch.path() / "sys_lua_test_file.lua";
    std::ofstream(path) << "fromFile = 'yes'\n";
    EXPECT_TRUE(lua.runFile(path.c_str()));
    EXPECT_EQ(globalText("fromFile"), "yes");
    std::filesystem::remove(path);

    EXPECT_FALSE(lua.runFile(path.c_str()));
    ASSERT_NE(lua.lastError(), nullptr);
    EXPECT_NE(std::string(lua.lastError()).find("sys_lua_test_"), std::string::npos);
    EXPECT_FALSE(lua.runBuffer(nullptr, 0, "=null"));
    EXPECT_FALSE(lua.runBuffer("x = 1", -1, "=negative"));
}

// Script paths were written for a file system that takes '\\' and ignores
// case; a script file is found as every other game file is.
TEST_F(SysLuaTest, RunsFilesNamedAsTheScriptsWriteThem) {
    const std::string stem = "Sys_Lua_Case";
    const auto dir = scratch.path();
    const auto path = dir / (stem + ".lua");
    std::ofstream(path)
        << "#!first line is not Lua\nlocal t = {}\nfromCase = 'yes'\nerror('line')\n";
    const std::string asWritten = dir.string() + "\\" + "sys_lua_case.LUA";
    EXPECT_FALSE(lua.runFile(asWritten.c_str()));
    EXPECT_EQ(globalText("fromCase"), "yes");
    // The skipped first line still counts, and the chunk carries its path.
    EXPECT_NE(std::string(lua.lastError()).find(asWritten + ":4: line"), std::string::npos)
        << lua.lastError();
    std::filesystem::remove(path);
}

TEST_F(SysLuaTest, FailedChunksGiveFalseAndKeepTheirErrorText) {
    struct Case {
        const char* name;
        const char* chunk;
        const char* ranValue;  // what `ran` holds afterwards
        const char* errorPart;
    };
    const Case cases[] = {
        {"syntax error runs nothing", "ran = 'yes'\nx = = 1", "<none>", "config.txt:2:"},
        {"runtime error stops midway", "ran = 'yes'\nerror('boom')", "yes", "boom"},
        {"error in a metamethod",
         "ran = 'yes'\nlocal t = setmetatable({}, {__index = "
         "function() error('deep') end}) local v = t.x",
         "yes", "deep"},
    };
    EXPECT_EQ(lua.lastError(), nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        define("ran = nil");
        EXPECT_FALSE(lua.runBuffer(c.chunk, 0, "@config.txt"));
        EXPECT_EQ(globalText("ran"), c.ranValue);
        ASSERT_NE(lua.lastError(), nullptr);
        EXPECT_NE(std::string(lua.lastError()).find(c.errorPart), std::string::npos)
            << lua.lastError();
        EXPECT_EQ(lua_gettop(L), 1);
    }
    // Runtime errors pass through the traceback handler.
    EXPECT_NE(std::string(lua.lastError()).find("stack traceback"), std::string::npos);
}

// Lua 5.1 does not verify precompiled chunks, so a crafted one corrupts
// memory: every road into the state takes script text only.
TEST_F(SysLuaTest, PrecompiledChunksAreRefusedOnEveryRoad) {
    define("chunk = string.dump(function() ran = 'yes' end)");
    lua_getglobal(L, "chunk");
    std::size_t length = 0;
    const char* dumped = lua_tolstring(L, -1, &length);
    const std::string bytecode(dumped, length);
    lua_pop(L, 1);
    ASSERT_EQ(bytecode[0], '\033');

    EXPECT_FALSE(lua.runBuffer(bytecode.data(), static_cast<std::int32_t>(length), "=dumped"));
    ASSERT_NE(lua.lastError(), nullptr);
    EXPECT_NE(std::string(lua.lastError()).find("dumped: precompiled chunk refused"),
              std::string::npos)
        << lua.lastError();

    const auto path = scratch.path() / "sys_lua_dumped_.lua";
    for (const std::string& prefix : {std::string(), std::string("#!interpreter line\n")}) {
        {
            std::ofstream out(path, std::ios::binary);
            out << prefix << bytecode;
        }
        // After a '#' line the chunk starts with its newline: text, which
        // then fails to parse.
        EXPECT_FALSE(lua.runFile(path.c_str())) << prefix;
        EXPECT_NE(std::string(lua.lastError())
                      .find(prefix.empty() ? "precompiled chunk refused" : "unexpected symbol"),
                  std::string::npos)
            << lua.lastError();
    }
    std::ofstream(path, std::ios::binary) << bytecode;

    // The scripts' own loaders refuse them as well, returning nil and the reason.
    lua_pushstring(L, path.c_str());
    lua_setglobal(L, "dumpedPath");
    define(
        "local pieces = {chunk}\n"
        "results = {}\n"
        "local f, e = loadstring(chunk) results[1] = f == nil and e or 'loaded'\n"
        "f, e = load(function() return table.remove(pieces, 1) end)\n"
        "results[2] = f == nil and e or 'loaded'\n"
        "f, e = loadfile(dumpedPath) results[3] = f == nil and e or 'loaded'\n"
        "local ok, e2 = pcall(dofile, dumpedPath) results[4] = ok and 'ran' or e2\n"
        "package.path = dumpedPath:gsub('sys_lua_dumped_', '?')\n"
        "ok, e2 = pcall(require, 'sys_lua_dumped_') results[5] = ok and 'ran' or e2\n"
        "results = table.concat(results, '|')");
    const std::string results = globalText("results");
    EXPECT_EQ(globalText("ran"), "<none>");
    std::size_t refusals = 0;
    for (std::size_t at = 0;
         (at = results.find("precompiled chunk refused", at)) != std::string::npos; ++at)
        ++refusals;
    EXPECT_EQ(refusals, 5u) << results;
    // Text still loads through the same roads.
    std::ofstream(path) << "ran = (ran or 0) + 1 return 'module'";
    define(
        "f = loadstring('ran = 1') f() assert(ran == 1)\n"
        "pieces = 'ran = nil' assert(load(function() local p = pieces pieces = nil return p "
        "end))()\n"
        "assert(loadfile(dumpedPath))() dofile(dumpedPath) assert(ran == 2)\n"
        "assert(require('sys_lua_dumped_') == 'module') assert(ran == 3)\n"
        "assert(not pcall(require, 'sys_lua_absent_'))");
    std::filesystem::remove(path);
}

TEST_F(SysLuaTest, ALongErrorTextIsKeptCutAtAWholeCharacter) {
    // The traceback makes each text far longer than the kept 4095 bytes.
    struct Case {
        int ascii;  // 'a's before the two-byte character
        std::string kept;
    };
    const Case cases[] = {
        {4093, std::string(4093, 'a') + "漢"},  // the character ends on the last byte
        {4094, std::string(4094, 'a')},         // it would straddle the end: dropped whole
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ascii);
        const std::string chunk =
            "error(string.rep('a', " + std::to_string(c.ascii) + ") .. '漢字', 0)";
        EXPECT_FALSE(lua.runBuffer(chunk.c_str(), 0, "=long"));
        ASSERT_NE(lua.lastError(), nullptr);
        EXPECT_EQ(std::string(lua.lastError()), c.kept);
    }
}

TEST_F(SysLuaTest, GlobalsThatAreNotFunctionsAreNotCalled) {
    define("aNumber = 3; aTable = {}; aString = 'f'");
    LuaParam args;
    args.addNumber(1);
    for (const char* name : {"undefinedCallback", "aNumber", "aTable", "aString"}) {
        SCOPED_TRACE(name);
        LuaParam results;
        results.addString("stale");
        EXPECT_FALSE(lua.call(name, 1, &args, &results));
        EXPECT_EQ(results.count(), 0);
    }
    for (int i = 0; i < 1000; ++i) ASSERT_FALSE(lua.call("undefinedCallback", 1, &args, nullptr));
    EXPECT_EQ(lua_gettop(L), 1);
    EXPECT_EQ(lua.lastError(), nullptr);  // a missing callback is not an error
    EXPECT_FALSE(lua.call(nullptr, 0, nullptr, nullptr));
}

TEST_F(SysLuaTest, ACallbackErrorGivesFalseAndAnEmptyResult) {
    define(
        "function raises() sideEffect = 'ran'; error('boom') end\n"
        "function raisesTable() error({}) end");
    LuaParam results;
    EXPECT_FALSE(lua.call("raises", 1, nullptr, &results));
    EXPECT_EQ(results.count(), 0);
    EXPECT_EQ(results.toNumber(), 0);
    const std::string error = lua.lastError();
    EXPECT_NE(error.find("boom"), std::string::npos);
    EXPECT_NE(error.find("stack traceback"), std::string::npos);

    EXPECT_FALSE(lua.call("raisesTable", 1, nullptr, &results));
    EXPECT_STREQ(lua.lastError(), "(error object is a table value)");
    EXPECT_EQ(results.count(), 0);
}

TEST_F(SysLuaTest, ResultsArriveTyped) {
    struct Case {
        const char* body;
        std::int32_t type;
        const char* text;  // for strings
        double number;     // for numbers
        bool boolean;      // for booleans
    };
    const Case cases[] = {
        {"return true", LuaParamItem::kBoolean, nullptr, 0, true},
        {"return false", LuaParamItem::kBoolean, nullptr, 0, false},
        {"return 2.5", LuaParamItem::kNumber, nullptr, 2.5, false},
        {"return 'a' .. 'b'", LuaParamItem::kString, "ab", 0, false},
        {"return '漢字'", LuaParamItem::kString, "漢字", 0, false},
        {"return nil", LuaParamItem::kNil, nullptr, 0, false},
        {"", LuaParamItem::kNil, nullptr, 0, false},  // nothing returned: one nil
        {"return {}", LuaParamItem::kNil, nullptr, 0, false},
        {"return print", LuaParamItem::kNil, nullptr, 0, false},
        {"return coroutine.create(function() end)", LuaParamItem::kNil, nullptr, 0, false},
        {"return 1, 2", LuaParamItem::kNumber, nullptr, 1, false},  // extra results dropped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        define((std::string("function f() ") + c.body + " end").c_str());
        LuaParam results;
        ASSERT_TRUE(lua.call("f", 1, nullptr, &results));
        ASSERT_EQ(results.count(), 1);
        const LuaParamItem& item = results.item(0);
        EXPECT_EQ(item.type(), c.type);
        if (c.text) {
            EXPECT_STREQ(item.string(), c.text);
        }
        EXPECT_EQ(item.number(), c.number);
        EXPECT_EQ(item.boolean(), c.boolean);
    }
}

TEST_F(SysLuaTest, ArgumentsArriveTypedAndInOrder) {
    define(
        "function describe(...)\n"
        "  local parts = {}\n"
        "  for i = 1, select('#', ...) do\n"
        "    local v = select(i, ...)\n"
        "    parts[#parts + 1] = type(v) .. '=' .. tostring(v)\n"
        "  end\n"
        "  return table.concat(parts, ',')\n"
        "end");
    LuaParam args;
    args.addNil();
    args.addBoolean(true);
    args.addNumber(-2.5);
    args.addString("漢字");
    args.addString(nullptr);
    args.addUserType(nullptr, "ObjectItem");
    args.addBoolean(false);
    LuaParam results;
    ASSERT_TRUE(lua.call("describe", 1, &args, &results));
    EXPECT_STREQ(results.toString(),
                 "nil=nil,boolean=true,number=-2.5,string=漢字,nil=nil,nil=nil,boolean=false");
}

TEST_F(SysLuaTest, OneListMayCarryTheArgumentsAndReceiveTheResults) {
    define("function shout(s) return s .. '!' end");
    LuaParam list;
    list.addString("hey");
    ASSERT_TRUE(lua.call("shout", 1, &list, &list));
    EXPECT_EQ(list.count(), 1);
    EXPECT_STREQ(list.toString(), "hey!");
}

TEST_F(SysLuaTest, ObjectsPushUnderRegisteredTypesAndUnknownTypesPushNil) {
    ASSERT_TRUE(lua.runProtected(&registerGem, nullptr));
    define(
        "function named(item, a, b) return item:getValue() .. a .. b end\n"
        "function probe(o, a) return tostring(o == nil) .. ':' .. tostring(a) .. ':' .. "
        "select('#', o, a) end\n"
        "function same(o) return o end");
    Gem gem;

    LuaParam args;
    args.addUserType(&gem, "ObjectItem");
    args.addString("x");
    args.addString("y");
    LuaParam results;
    ASSERT_TRUE(lua.call("named", 1, &args, &results));
    ASSERT_EQ(results.count(), 1);
    EXPECT_EQ(results.item(0).type(), LuaParamItem::kString);
    // The result is a private copy that outlives Lua's own string.
    lua_gc(L, LUA_GCCOLLECT, 0);
    EXPECT_STREQ(results.toString(), "42xy");

    // An unknown type name pushes nil in its own place; later arguments keep theirs.
    args.clear();
    args.addUserType(&gem, "NoSuchClass");
    args.addString("after");
    ASSERT_TRUE(lua.call("probe", 1, &args, &results));
    EXPECT_STREQ(results.toString(), "true:after:2");

    // An object coming back is a full user datum with the program's pointer.
    args.clear();
    args.addUserType(&gem, "ObjectItem");
    ASSERT_TRUE(lua.call("same", 1, &args, &results));
    EXPECT_EQ(results.item(0).type(), LuaParamItem::kUserType);
    EXPECT_EQ(results.toObject(), &gem);
    EXPECT_STREQ(results.item(0).typeName(), "");
}

// What draws() below shows when the thread's generator starts at `seed`
// and `skip` draws have been taken: Lua 5.1's formulas over 15-bit draws.
std::string expectedDraws(std::uint32_t seed, int skip) {
    crtSeed(seed);
    for (int i = 0; i < skip; ++i) crtRand();
    auto next = [] { return static_cast<double>(crtRand() % 32767) / 32767; };
    char text[128];
    const double a = next(), b = next(), c = next();
    const double d = std::floor(next() * 6) + 1;
    const double e = std::floor(next() * 11) - 5;
    std::snprintf(text, sizeof text, "%.17g %.17g %.17g %d %d", a, b, c, static_cast<int>(d),
                  static_cast<int>(e));
    return text;
}

TEST_F(SysLuaTest, ScriptRandomNumbersComeFromTheThreadsRuntimeGenerator) {
    define(
        "function draws() return string.format('%.17g %.17g %.17g %d %d', math.random(), "
        "math.random(), math.random(), math.random(6), math.random(-5, 5)) end");
    auto draws = [this] {
        LuaParam results;
        EXPECT_TRUE(lua.call("draws", 1, nullptr, &results));
        return std::string(results.toString());
    };
    // The same stream in C++ and in the scripts, whichever side seeds it.
    const std::string fromSeven = expectedDraws(7, 0);
    crtSeed(7);
    EXPECT_EQ(draws(), fromSeven);
    const std::string fromScriptSeed = expectedDraws(12345, 0);
    define("math.randomseed(12345)");
    EXPECT_EQ(draws(), fromScriptSeed);
    define("math.randomseed(2^32 + 7)");  // seeds wrap to 32 bits
    EXPECT_EQ(draws(), fromSeven);
    // Scrambling a file reseeds the thread's generator from the clock: the
    // key's stream does not go on into the scripts' draws.
    unsigned char data[4] = {1, 2, 3, 4};
    ScrambleBytes(7, sizeof data, data);
    const std::string afterScramble = draws();
    EXPECT_NE(afterScramble, expectedDraws(7, 4));
}

TEST_F(SysLuaTest, OnlyBoxesOfBoundClassesComeBackAsObjects) {
    ASSERT_TRUE(lua.runProtected(&registerGem, nullptr));
    // A file handle is a full user datum holding a FILE*, a proxy one of no
    // size; neither is a program object, whatever its first bytes hold.
    define(
        "function foreign(gem) "
        "local p = newproxy(true) getmetatable(p).__index = {} "
        "return io.stdout, p, io.stdin, gem end");
    Gem gem;
    LuaParam args;
    args.addUserType(&gem, "ObjectItem");
    LuaParam results;
    ASSERT_TRUE(lua.call("foreign", 4, &args, &results));
    ASSERT_EQ(results.count(), 4);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(results.item(i).type(), LuaParamItem::kNil) << "result " << i;
        EXPECT_EQ(results.item(i).object(), nullptr) << "result " << i;
    }
    EXPECT_EQ(results.item(3).object(), &gem);
}

TEST(SysLuaWithoutBindingsTest, AnObjectPushesNilBeforeTolua) {
    SysLua lua;
    ASSERT_TRUE(lua.init());
    ASSERT_TRUE(lua.runBuffer("function probe(o, a) return tostring(o) .. a end", 0, "=t"));
    Gem gem;
    LuaParam args;
    args.addUserType(&gem, "ObjectItem");
    args.addString("!");
    LuaParam results;
    ASSERT_TRUE(lua.call("probe", 1, &args, &results));
    EXPECT_STREQ(results.toString(), "nil!");
}

// A binding that calls back into the scripts, as the decorator chain does.
int nestedBinding(lua_State* L) {
    auto* host = static_cast<SysLua*>(lua_touserdata(L, lua_upvalueindex(1)));
    LuaParam args;
    args.addNumber(lua_tonumber(L, 1));
    LuaParam results;
    const bool ok = host->call("inner", 1, &args, &results);
    lua_pushnumber(L, ok ? results.toNumber() : -1);
    return 1;
}

int installNested(lua_State* L) {
    lua_pushvalue(L, 1);                     // +1 the host as upvalue
    lua_pushcclosure(L, &nestedBinding, 1);  // replaces it by the closure
    lua_setglobal(L, "nested");              // -1
    return 0;
}

TEST_F(SysLuaTest, ScriptsMayReachTheHostAgainThroughABinding) {
    ASSERT_TRUE(lua.runProtected(&installNested, &lua));
    define(
        "function inner(x) return x * 10 end\n"
        "function outer(x) local a = nested(x); local b = nested(x + 1); return a + b end");
    LuaParam args;
    args.addNumber(2);
    LuaParam results;
    ASSERT_TRUE(lua.call("outer", 1, &args, &results));
    EXPECT_EQ(results.toNumber(), 50);
}

// A deletion a script asks for (through a function of the program) while
// the host runs it: it waits for the end of the run, or of the caller's
// operation around it. The script reads how many were done so far.
int g_finished = 0;
int askDeletion(lua_State* L) {
    static int doomed = 0;
    ObjectOperation::deleteWhenIdle(&doomed, [](void*) { ++g_finished; });
    lua_pushinteger(L, g_finished);
    return 1;
}

TEST_F(SysLuaTest, EveryRunIsAnOperationWhoseDeletionsWaitForItsEnd) {
    lua_register(L, "doom", &askDeletion);
    define("function Ask() seen = doom() end");
    const struct {
        const char* name;
        std::function<bool()> run;
    } runs[] = {
        {"a call", [&] { return lua.call("Ask", 0, nullptr, nullptr); }},
        {"a chunk", [&] { return lua.runBuffer("seen = doom()", 0, "=chunk"); }},
    };
    for (const auto& r : runs) {
        SCOPED_TRACE(r.name);
        g_finished = 0;
        ASSERT_TRUE(r.run());
        EXPECT_EQ(globalText("seen"), "0") << "not done while the script ran";
        EXPECT_EQ(g_finished, 1) << "done as the run ended";
        {
            const ObjectOperation caller;
            ASSERT_TRUE(r.run());
            EXPECT_EQ(g_finished, 1) << "the caller's operation still runs";
        }
        EXPECT_EQ(g_finished, 2);
    }
}

TEST_F(SysLuaTest, PrintWritesNothingButStillConvertsItsArguments) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const bool ok = lua.runBuffer(
        "local t = setmetatable({}, {__tostring = function() converted = 'yes'; return 't' end})\n"
        "print('text', t, nil, 3)\n"
        "print()",
        0, "=printing");
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(ok);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "");
    EXPECT_EQ(globalText("converted"), "yes");
}

// Lua must be the C++ build: an error raised under a C++ frame unwinds it.
struct Flag {
    bool* set;
    ~Flag() { *set = true; }
};
bool unwound = false;
int raiseUnderGuard(lua_State* L) {
    Flag guard{&unwound};
    return luaL_error(L, "thrown through a destructor");
}

TEST_F(SysLuaTest, LuaErrorsUnwindCppFrames) {
    lua_register(L, "raiseUnderGuard", &raiseUnderGuard);
    unwound = false;
    EXPECT_FALSE(lua.call("raiseUnderGuard", 0, nullptr, nullptr));
    EXPECT_TRUE(unwound);
}

TEST_F(SysLuaTest, AnExhaustedPoolFailsTheCallCleanly) {
    // A script that eats the pool meets Lua's memory error, not a crash.
    define(
        "function hog() local t = {} for i = 1, 1e9 do t[i] = string.rep('x', 4096) .. i end end\n"
        "function small(s) return s .. '!' end");
    EXPECT_FALSE(lua.call("hog", 0, nullptr, nullptr));
    EXPECT_STREQ(lua.lastError(), "not enough memory");
    lua_gc(L, LUA_GCCOLLECT, 0);

    LuaParam args;
    args.addString("still alive");
    LuaParam results;
    ASSERT_TRUE(lua.call("small", 1, &args, &results));
    EXPECT_STREQ(results.toString(), "still alive!");

    {
        // With no block left even the call's own bookkeeping cannot start.
        test::PoolHog hog(Pool::Script);
        EXPECT_FALSE(lua.call("small", 1, &args, &results));
        EXPECT_EQ(results.count(), 0);
        EXPECT_FALSE(lua.runBuffer("y = 1", 0, "=starved"));
        EXPECT_EQ(lua_gettop(L), 1);

        SysLua starved;
        EXPECT_FALSE(starved.init());
        EXPECT_EQ(starved.state(), nullptr);
        EXPECT_FALSE(starved.call("small", 1, &args, &results));
        EXPECT_FALSE(starved.runBuffer("y = 1", 0, "=starved"));
    }
    ASSERT_TRUE(lua.call("small", 1, &args, &results));
    EXPECT_STREQ(results.toString(), "still alive!");
    EXPECT_TRUE(poolById(Pool::Script)->checkConsistency());
}

TEST(SysLuaAllocateTest, FollowsLuaAllocationContract) {
    void* block = SysLua::allocate(nullptr, nullptr, 0, 100);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(MemoryAllocatorBase::ownerOf(block), poolById(Pool::Script));
    std::memset(block, 'a', 100);
    {
        test::PoolHog hog(Pool::Script);
        EXPECT_EQ(SysLua::allocate(nullptr, nullptr, 0, 16), nullptr);
        EXPECT_EQ(SysLua::allocate(nullptr, block, 100, 1 << 20), nullptr);  // growth fails...
        EXPECT_EQ(static_cast<char*>(block)[99], 'a');                       // ...leaving it intact
        EXPECT_EQ(SysLua::allocate(nullptr, block, 100, 10), block);  // shrinking never fails
    }
    block = SysLua::allocate(nullptr, block, 10, 5000);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(static_cast<char*>(block)[9], 'a');
    EXPECT_EQ(SysLua::allocate(nullptr, block, 5000, 0), nullptr);
    EXPECT_TRUE(poolById(Pool::Script)->checkConsistency());
}

TEST(SysLuaDeathTest, AnUnprotectedErrorEndsTheProcessWithoutRecursing) {
    EXPECT_EXIT(
        {
            SysLua lua;
            if (!lua.init()) std::exit(2);
            lua_State* L = lua.state();
            // An error object whose conversion itself raises: a panic handler
            // that converted it would re-enter itself.
            luaL_dostring(L,
                          "bad = setmetatable({}, {__tostring = function(self) error(self) end})");
            lua_getglobal(L, "bad");
            lua_error(L);
        },
        // Silent: a recursing panic would end in a stack overflow report.
        testing::ExitedWithCode(1), "^$");
}

TEST(SysLuaCloseTest, TheNextInitStartsAFreshState) {
    SysLua lua;
    ASSERT_TRUE(lua.init());
    ASSERT_TRUE(lua.runBuffer("kept = 1", 0, "set"));
    EXPECT_FALSE(lua.runBuffer("error('x')", 0, "fail"));
    lua.close();
    EXPECT_EQ(lua.state(), nullptr);
    EXPECT_EQ(lua.lastError(), nullptr);
    lua.close();  // a second close does nothing
    ASSERT_TRUE(lua.init());
    ASSERT_TRUE(lua.runBuffer("assert(kept == nil) assert(debug.traceback)", 0, "fresh"))
        << lua.lastError();
}

TEST(SysLuaSingletonTest, IsOneObject) {
    SysLua& lua = SysLua::instance();
    EXPECT_EQ(&lua, &SysLua::instance());
    EXPECT_STREQ(lua.classInfo().name, "SysLua");
}

}  // namespace
}  // namespace qel
