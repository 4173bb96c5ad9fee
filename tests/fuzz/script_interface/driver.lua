-- Random programs over the live script interface, run inside the real game.
--
-- The start script sets FUZZ and runs this file:
--   FUZZ = {mode = "generate", seed = 7, ticks = 400, transcript = "t.lua", summary = "s.txt"}
--   FUZZ = {mode = "replay", transcript = "kept.lua", summary = "s.txt"}
--
-- Generating, a seeded generator writes a program one statement at a time:
-- calls of every class's functions (enumerated from module C and the
-- registry at run time), every C_ function, constructors, fields, module
-- variables, operators, deletions, garbage collection, floor changes, new
-- adventures and saves. Statements run between the game's frames (in the
-- hooks the game calls every frame: InputPlayer, ProgressTurn,
-- InputOpening, whose answers also play turns) and inside every hook the
-- program calls, where they work on what the hook was handed (deleting it
-- among other things). Each statement is written to the transcript before
-- it runs, keyed by the hook and the number of its call, and is run from
-- that very text; the transcript is itself a program: replayed, it runs the
-- same statements at the same calls, so a run that found a fault, cut down
-- to the lines that matter, is kept as a regression script.
--
-- The generator learns from the interface's own errors: "argument #2 is
-- 'number'; 'Point' expected" makes the next call of that function more
-- likely to pass a Point. Garbage is collected only where the program says
-- so, so a replay frees Lua-owned objects at the same points.
--
-- The summary (written as the run ends) counts statements, calls that
-- succeeded and failed, and lists every function reached.
--
-- Options in FUZZ: statements (the budget, default 4000), hooks = false
-- (statements only between frames, none inside the other hooks), avoid = {
-- class names whose values are never kept in a slot }, skip = { functions
-- never called: "Class.name", "C_Name" or "Class()" }, collectAtEnd = true
-- (the slots emptied and Lua's objects collected before the game ends, so
-- none is left for the Lua state's closing). The transcript's header records
-- avoid and collectAtEnd, so a replay keeps what the run kept.

local cfg = FUZZ or {}
local header = {}  -- the run's options, written at the top of the transcript
local replaying = cfg.mode == "replay"
local avoided = {}
-- The opening's own tables reloaded from a file that is not there: the game
-- rightly stops with its data error.
local skipped = {["OpeningParam.loadClassFile"] = true, ["OpeningParam.loadRaceFile"] = true}
for _, key in ipairs(cfg.skip or {}) do skipped[key] = true end

collectgarbage("stop")

-- ---- The generator's random numbers (Park-Miller, exact in doubles) ----

local rngState = 1
local function seedRandom(seed)
    rngState = (math.floor(seed) % 2147483646) + 1
end
local function nextRandom()
    rngState = (rngState * 48271) % 2147483647
    return rngState
end
-- 1..n
local function rand(n)
    return nextRandom() % n + 1
end
local function chance(p)
    return nextRandom() / 2147483647 < p
end
local function pick(list)
    if #list == 0 then return nil end
    return list[rand(#list)]
end

-- ---- The interface, enumerated ------------------------------------------

local registry = debug.getregistry()
local classes = {}      -- name -> {name, table, methods = {name...}, fields, setters, parent}
local classNames = {}   -- sorted
local globalNames = {}  -- sorted C_ functions
local moduleVars = {}   -- sorted names of module C's variables
local constants = {}    -- numbers found in module C and its classes

local function sortedKeys(t)
    local keys = {}
    for k in pairs(t) do
        if type(k) == "string" then keys[#keys + 1] = k end
    end
    table.sort(keys)
    return keys
end

local function scanClass(tbl)
    local name = registry[tbl]
    if type(name) ~= "string" or classes[name] then return end
    local class = {name = name, table = tbl, methods = {}, fields = {}, setters = {}}
    classes[name] = class
    for _, k in ipairs(sortedKeys(tbl)) do
        local v = rawget(tbl, k)
        if type(v) == "function" and k:sub(1, 2) ~= "__" and k:sub(1, 1) ~= "." and
            k ~= "tolua_ubox" then
            class.methods[#class.methods + 1] = k
        elseif type(v) == "number" then
            constants[#constants + 1] = v
        elseif type(v) == "table" and registry[v] then
            scanClass(v)
        end
    end
    local get, set = rawget(tbl, ".get"), rawget(tbl, ".set")
    if type(get) == "table" then class.fields = sortedKeys(get) end
    if type(set) == "table" then class.setters = sortedKeys(set) end
    class.indexed = rawget(tbl, ".geti") ~= nil
    class.constructor = rawget(tbl, ".call") ~= nil
    local parent = getmetatable(tbl)
    if parent and registry[parent] then
        class.parent = registry[parent]
        scanClass(parent)
    end
end

local function scanInterface()
    for _, k in ipairs(sortedKeys(C)) do
        local v = C[k]
        if type(v) == "table" and registry[v] then
            scanClass(v)
        elseif type(v) == "number" then
            constants[#constants + 1] = v
        end
    end
    local get = rawget(C, ".get")
    if type(get) == "table" then moduleVars = sortedKeys(get) end
    for _, k in ipairs(sortedKeys(_G)) do
        if k:sub(1, 2) == "C_" and type(_G[k]) == "function" then globalNames[#globalNames + 1] = k end
    end
    classNames = sortedKeys(classes)
end

-- The classes a class is, itself first.
local function lineage(name)
    local out = {}
    while name and classes[name] do
        out[#out + 1] = name
        name = classes[name].parent
    end
    return out
end

local function isA(name, wanted)
    while name do
        if name == wanted then return true end
        name = classes[name] and classes[name].parent
    end
    return false
end

-- ---- The run's values -----------------------------------------------------

-- Slots the statements assign: v[1] .. v[SLOTS], reused in turn.
local SLOTS = 160
v = {}
local nextSlot = 0
local function newSlot()
    nextSlot = nextSlot % SLOTS + 1
    return nextSlot
end

local numbers = {0, 1, 2, 3, 4, 5, 7, 10, 12, 16, 25, 29, 30, 49, 50, 57, 58, 100, -1, -2, 255,
                 256, 1000, 65535, 65536, 2147483647, -2147483648, 4294967296, 0.5, -0.5, 1e9,
                 -1e9, 1 / 0, 0 / 0}
local strings = {"", "a", "floor", "wall", "stairs", "default", "update", "clear", "player",
                 "Slash", "%s%d%n", string.rep("x", 300), "\130\160\130\162", "\130", "..",
                 "x/y", "fuzz.tmp", "\\"}

local function literal(x)
    local t = type(x)
    if t == "number" then
        if x ~= x then return "(0/0)" end
        if x == 1 / 0 then return "(1/0)" end
        if x == -1 / 0 then return "(-1/0)" end
        return string.format("%.17g", x)
    elseif t == "string" then
        return string.format("%q", x):gsub("\n", "n")
    end
    return tostring(x)
end

-- What kind of value a slot holds: a class name, or a Lua type.
local function kindOf(x)
    if type(x) == "userdata" then
        local name = tolua.type(x)
        name = name:gsub("^const ", "")
        return name
    end
    return type(x)
end

-- Slots holding a value of the class (or one derived from it).
local function slotsOf(wanted)
    local out = {}
    for i = 1, SLOTS do
        local x = v[i]
        if x ~= nil and type(x) == "userdata" and isA(kindOf(x), wanted) then out[#out + 1] = i end
    end
    return out
end

local function objectSlots()
    local out = {}
    for i = 1, SLOTS do
        if type(v[i]) == "userdata" and classes[kindOf(v[i])] then out[#out + 1] = i end
    end
    return out
end

-- ---- Learning from the interface's errors ------------------------------

local expected = {}   -- function key -> argument number -> {type names}
local producers = {}  -- class name -> {callable...} that returned one
local statics = {}    -- "Class.name" -> true once it worked on the class table

local function learn(key, message)
    if type(message) ~= "string" then return end
    local n, wanted = message:match("argument #(%d+) is '[^']*'; '([^']*)' expected")
    if not n then return end
    wanted = wanted:gsub("^const ", "")
    n = tonumber(n)
    expected[key] = expected[key] or {}
    local list = expected[key][n] or {}
    expected[key][n] = list
    for _, w in ipairs(list) do
        if w == wanted then return end
    end
    list[#list + 1] = wanted
end

-- ---- Counting ---------------------------------------------------------------

local stats = {statements = 0, calls = 0, ok = 0, failed = 0, hooks = 0, ticks = 0,
               floors = 0, adventures = 0, saves = 0, driver_errors = 0}
local driverError  -- the first error of the driver itself, for the summary
local reached = {}  -- function key -> true once it returned without an error
local tried = {}    -- function key -> true once called

-- ---- The runtime every statement uses (also in a replay) ----------------

R = {}

local function resolve(class, name)
    local c = classes[class]
    return c and rawget(c.table, name)
end

-- Keeps a call's first two results in slots k and k + 1.
local function keepable(x)
    return not (type(x) == "userdata" and avoided[kindOf(x)])
end
local function keep(k, key, ok, ...)
    if not ok then return end
    if k then
        local first, second = ...
        if keepable(first) then v[k] = first end
        if type(second) == "userdata" and keepable(second) then v[k % SLOTS + 1] = second end
    end
end

local function note(key, ok, result)
    stats.calls = stats.calls + 1
    tried[key] = true
    if ok then
        stats.ok = stats.ok + 1
        reached[key] = true
        if type(result) == "userdata" then
            local kind = kindOf(result)
            producers[kind] = producers[kind] or {}
            local list = producers[kind]
            local seen = false
            for _, p in ipairs(list) do
                if p == key then seen = true end
            end
            if not seen then list[#list + 1] = key end
        end
    else
        stats.failed = stats.failed + 1
        learn(key, result)
    end
end

local function callInto(k, key, f, ...)
    if type(f) ~= "function" and type(f) ~= "table" then return end
    local results = {pcall(f, ...)}
    note(key, results[1], results[2])
    keep(k, key, unpack(results))
end

-- v[k] = Class.name(args...)
function R.m(k, class, name, ...)
    local key = class .. "." .. name
    local before = stats.ok
    callInto(k, key, resolve(class, name), ...)
    if stats.ok > before and type((...)) == "table" then statics[key] = true end
end
-- v[k] = C_name(args...)
function R.g(k, name, ...)
    callInto(k, name, _G[name], ...)
end
-- v[k] = Class(args...), the call form of a constructor
function R.new(k, class, ...)
    local c = classes[class]
    callInto(k, class .. "()", c and c.table, ...)
end
-- v[k] = x.field
function R.get(k, x, field)
    local key = type(field) == "number" and "[]" or "." .. field
    callInto(k, key, function() return x[field] end)
end
-- x.field = value
function R.set(x, field, value)
    callInto(nil, "." .. field .. "=", function() x[field] = value end)
end
-- v[k] = C.name / C.name = value
function R.cget(k, name)
    callInto(k, "C." .. name, function() return C[name] end)
end
function R.cset(name, value)
    callInto(nil, "C." .. name .. "=", function() C[name] = value end)
end
-- v[k] = a <op> b
local binops = {
    ["+"] = function(a, b) return a + b end,
    ["-"] = function(a, b) return a - b end,
    ["*"] = function(a, b) return a * b end,
    ["/"] = function(a, b) return a / b end,
    ["=="] = function(a, b) return a == b end,
    ["<"] = function(a, b) return a < b end,
    ["<="] = function(a, b) return a <= b end,
}
function R.op(k, op, a, b)
    callInto(k, "op" .. op, binops[op], a, b)
end
function R.gc()
    collectgarbage("collect")
end

local TILES
local function tiles()
    if not TILES then
        TILES = {C.Tile("floor", 1, 0, C.Color.WHITE, 25), C.Tile("wall", 0, 0, C.Color.WHITE, 26),
                 C.Tile("stairs", 2, 0, C.Color.WHITE, 25)}
    end
    return TILES[1], TILES[2], TILES[3]
end

-- A floor change as the game makes one: everything but what is kept goes,
-- a new floor is built and peopled.
function R.floor(monsters, items)
    stats.floors = stats.floors + 1
    pcall(function()
        local player = C_GetPlayer()
        local d = C_GetDungeon()
        local objects = C_GetObjectManager()
        if not (player and d and objects) then return end
        local floorTile, wallTile, stairsTile = tiles()
        floor = (type(floor) == "number" and floor or 0) + 1
        d:setTag("floor" .. floor)
        d:setLevel(floor)
        player:setKeep(true)
        objects:clearExceptKeep()
        d:setDefRoom(floorTile)
        d:setDefPass(floorTile)
        d:setDefWall(wallTile)
        C.CreateDungeon(d, 3, 4):create()
        player:setPos(d:getRoomRandomPos())
        d:setTile(d:getRoomRandomPos(), stairsTile)
        local maker = C_GetEnemyMaker()
        if maker and maker:loadFile("data/enemy.dat") then
            for _ = 1, monsters do
                local npc = maker:createNormal(floor, C.Point(-1, -1))
                if not npc then break end
                local p = d:getRoomRandomPos()
                if C_CheckMove(npc, p._x, p._y) then npc:setPos(p) else npc:kill() end
            end
        end
        objects:exeRemove()
        if PlaceItems then PlaceItems(items) end
        d:initLightState()
        C_Redraw()
    end)
end

-- Back to the opening, where the next frame starts a new adventure.
function R.opening()
    pcall(C_GotoOpening)
end

function R.save()
    stats.saves = stats.saves + 1
    if SaveGameNow then pcall(SaveGameNow) end
end

-- A new adventurer from the opening's parameters, as the opening makes one.
function R.adventure(param, race, class, sex)
    stats.adventures = stats.adventures + 1
    pcall(function()
        local player = param:createPlayer("fuzz", sex, race, class)
        if not player then return end
        if NewGameStarts then NewGameStarts() end
        param:beginNewGame(player)
        if NewSlot then NewSlot("fuzz") end
    end)
end

-- ---- The transcript -------------------------------------------------------

local out
local recorded = {}   -- replay: "hook#n" -> {statement texts}
local decisions = {}  -- replay: "hook#n" -> {kind, ...}

local function write(line)
    if out then
        out:write(line, "\n")
        out:flush()
    end
end

-- Runs one statement from its text; `a` holds the hook's arguments.
local function runStatement(text, args)
    stats.statements = stats.statements + 1
    local chunk = loadstring("local a = ... " .. text, "=statement")
    if chunk then pcall(chunk, args) end
end

local function emit(key, n, text, args)
    write(string.format("S(%q, %d, %q)", key, n, text))
    runStatement(text, args)
end

-- ---- Writing statements ----------------------------------------------------

local function anyValue()
    local r = rand(10)
    if r <= 4 then
        local slots = objectSlots()
        if #slots > 0 then return "v[" .. pick(slots) .. "]" end
    end
    if r <= 6 then return literal(pick(numbers)) end
    if r <= 7 and #constants > 0 then return literal(pick(constants)) end
    if r <= 8 then return literal(pick(strings)) end
    if r <= 9 then return chance(0.5) and "true" or "false" end
    return "nil"
end

local generateStatement

-- An expression for an argument of the wanted kind; may first write a
-- statement that makes one.
local function valueOf(wanted, key, n, args, depth)
    if wanted == "number" then
        if chance(0.2) and #constants > 0 then return literal(pick(constants)) end
        return literal(pick(numbers))
    elseif wanted == "string" then
        return literal(pick(strings))
    elseif wanted == "boolean" then
        return chance(0.5) and "true" or "false"
    elseif wanted == "[no object]" then
        return "nil"
    elseif classes[wanted] then
        local slots = slotsOf(wanted)
        if #slots > 0 and chance(0.85) then return "v[" .. pick(slots) .. "]" end
        if depth < 2 and chance(0.6) then
            -- make one first: a constructor or something that returned one
            local made
            local class = classes[wanted]
            local list = producers[wanted]
            if list and #list > 0 and chance(0.6) then
                made = pick(list)
            elseif class.constructor then
                made = wanted .. "()"
            elseif rawget(class.table, "new") then
                made = wanted .. ".new"
            end
            if made then
                local slot = generateStatement(key, n, args, depth + 1, made)
                if slot and v[slot] ~= nil and isA(kindOf(v[slot]), wanted) then
                    return "v[" .. slot .. "]"
                end
            end
        end
        if #slots > 0 then return "v[" .. pick(slots) .. "]" end
        return "nil"
    end
    return anyValue()
end

-- The argument list for a function: learnt kinds where known, else
-- anything; `first` fills argument #1 (self, or a class table).
local function argumentsFor(key, count, first, hookKey, n, args, depth)
    local parts = {}
    local known = expected[key] or {}
    local from = 1
    if first then
        parts[1] = first
        from = 2
    end
    for i = from, count do
        local kinds = known[i]
        if kinds and chance(0.9) then
            local kind = pick(kinds)
            if kind == "[no object]" and #kinds > 1 then kind = pick(kinds) end
            parts[i] = valueOf(kind, hookKey, n, args, depth)
        else
            parts[i] = anyValue()
        end
    end
    return parts
end

-- How many arguments to pass (self included): as many as the errors showed
-- the function reads, up to the first that must be left out; now and then
-- any number, to learn more.
local function argumentCount(key, withSelf)
    local known = expected[key]
    if known and chance(0.85) then
        local stop, most = nil, 0
        for i, kinds in pairs(known) do
            if i > most then most = i end
            if #kinds == 1 and kinds[1] == "[no object]" and (not stop or i < stop) then stop = i end
        end
        if stop then return stop - 1 end
        return most + (chance(0.3) and 1 or 0)
    end
    return rand(4) - 1 + (withSelf and 1 or 0)
end

-- Functions called on the class table rather than on an object: the
-- constructors, the capitalised statics, and any that once worked so.
local function isStatic(class, name)
    return name == "new" or name == "new_local" or name:match("^%u") ~= nil or
               statics[class .. "." .. name]
end

local DESTRUCTIVE = {"kill", "remove", "delete", "clear", "release", "exeRemove", "clearAll",
                     "clearExceptKeep", "removeItem", "drop", "close", "unlink", "setKeep"}
local function destructive(name)
    for _, d in ipairs(DESTRUCTIVE) do
        if name:find(d, 1, true) then return true end
    end
    return false
end

-- Every function of a class and its ancestors, as {class, name}.
local methodCache = {}
local function methodsOf(kind)
    if methodCache[kind] then return methodCache[kind] end
    local list = {}
    for _, c in ipairs(lineage(kind)) do
        for _, m in ipairs(classes[c].methods) do list[#list + 1] = {c, m} end
    end
    methodCache[kind] = list
    return list
end

local function fieldsOf(kind, setters)
    local list = {}
    for _, c in ipairs(lineage(kind)) do
        for _, f in ipairs(setters and classes[c].setters or classes[c].fields) do
            list[#list + 1] = f
        end
    end
    return list
end

-- Writes and runs one statement; returns the slot it filled, if any.
-- `made` asks for a call of that function key (a producer).
generateStatement = function(hookKey, n, args, depth, made, focus)
    depth = depth or 0
    local slot = newSlot()
    local text
    local function methodCall(self, kind, preferDestructive)
        local list = methodsOf(kind)
        if #list == 0 then return nil end
        local m = pick(list)
        if preferDestructive then
            local d = {}
            for _, e in ipairs(list) do
                if destructive(e[2]) then d[#d + 1] = e end
            end
            if #d > 0 then m = pick(d) end
        end
        local key = m[1] .. "." .. m[2]
        if isStatic(m[1], m[2]) and chance(0.9) then self = string.format("R.class(%q)", m[1]) end
        local parts = argumentsFor(key, argumentCount(key, true), self, hookKey, n, args, depth)
        return string.format("R.m(%d, %q, %q%s)", slot, m[1], m[2],
                             #parts > 0 and ", " .. table.concat(parts, ", ") or "")
    end
    if made then
        if made:sub(-2) == "()" then
            local class = made:sub(1, -3)
            local key = class .. "()"
            local parts = argumentsFor(key, argumentCount(key), nil, hookKey, n, args, depth)
            text = string.format("R.new(%d, %q%s)", slot, class,
                                 #parts > 0 and ", " .. table.concat(parts, ", ") or "")
        elseif made:sub(1, 2) == "C_" then
            local parts = argumentsFor(made, argumentCount(made), nil, hookKey, n, args, depth)
            text = string.format("R.g(%d, %q%s)", slot, made,
                                 #parts > 0 and ", " .. table.concat(parts, ", ") or "")
        else
            local class, name = made:match("^(.-)%.([^.]+)$")
            if not class or not classes[class] then return nil end
            local self = name == "new" and "C." .. class or nil
            if name == "new" then
                self = string.format("R.class(%q)", class)
            else
                local slots = slotsOf(class)
                if #slots == 0 then return nil end
                self = "v[" .. pick(slots) .. "]"
            end
            local parts = argumentsFor(made, argumentCount(made, true), self, hookKey, n, args, depth)
            text = string.format("R.m(%d, %q, %q, %s)", slot, class, name, table.concat(parts, ", "))
        end
    else
        local r = rand(100)
        if focus and r <= 60 then
            -- something the hook was handed
            local x = v[focus]
            if type(x) == "userdata" and classes[kindOf(x)] then
                text = methodCall("v[" .. focus .. "]", kindOf(x), chance(0.4))
            end
        end
        if text then
            -- chosen above
        elseif r <= 35 then
            local slots = objectSlots()
            if #slots > 0 then
                local s = pick(slots)
                text = methodCall("v[" .. s .. "]", kindOf(v[s]), chance(0.15))
            end
        elseif r <= 52 then
            local name = pick(globalNames)
            if name ~= "C_EndGame" then
                local parts = argumentsFor(name, argumentCount(name), nil, hookKey, n, args, depth)
                text = string.format("R.g(%d, %q%s)", slot, name,
                                     #parts > 0 and ", " .. table.concat(parts, ", ") or "")
            end
        elseif r <= 62 then
            local class = classes[pick(classNames)]
            if class.constructor then
                return generateStatement(hookKey, n, args, depth, class.name .. "()")
            elseif rawget(class.table, "new") then
                return generateStatement(hookKey, n, args, depth, class.name .. ".new")
            end
        elseif r <= 67 then
            -- a class's own functions called on its table (the statics)
            local class = classes[pick(classNames)]
            if #class.methods > 0 then
                local name = pick(class.methods)
                local key = class.name .. "." .. name
                local parts = argumentsFor(key, argumentCount(key, true),
                                           string.format("R.class(%q)", class.name), hookKey, n,
                                           args, depth)
                text = string.format("R.m(%d, %q, %q, %s)", slot, class.name, name,
                                     table.concat(parts, ", "))
            end
        elseif r <= 74 then
            local slots = objectSlots()
            if #slots > 0 then
                local s = pick(slots)
                local fields = fieldsOf(kindOf(v[s]), false)
                if #fields > 0 then
                    text = string.format("R.get(%d, v[%d], %q)", slot, s, pick(fields))
                elseif classes[kindOf(v[s])].indexed then
                    text = string.format("R.get(%d, v[%d], %s)", slot, s, literal(pick(numbers)))
                end
            end
        elseif r <= 78 then
            local slots = objectSlots()
            if #slots > 0 then
                local s = pick(slots)
                local fields = fieldsOf(kindOf(v[s]), true)
                if #fields > 0 then
                    text = string.format("R.set(v[%d], %q, %s)", s, pick(fields), anyValue())
                end
            end
        elseif r <= 84 then
            -- a deletion or a destructive call on any object
            local slots = objectSlots()
            if #slots > 0 then
                local s = pick(slots)
                text = methodCall("v[" .. s .. "]", kindOf(v[s]), true)
            end
        elseif r <= 87 then
            if #moduleVars > 0 then
                local name = pick(moduleVars)
                if chance(0.7) then
                    text = string.format("R.cget(%d, %q)", slot, name)
                else
                    text = string.format("R.cset(%q, %s)", name, anyValue())
                end
            end
        elseif r <= 90 then
            local ops = {"+", "-", "*", "/", "==", "<", "<="}
            text = string.format("R.op(%d, %q, %s, %s)", slot, pick(ops), anyValue(), anyValue())
        elseif r <= 92 then
            text = "R.gc()"
        elseif r <= 95 and hookKey and args then
            -- what the hook was handed, kept for later statements
            local i = rand(math.max(1, #args))
            if keepable(args[i]) then text = string.format("v[%d] = a[%d]", slot, i) end
        else
            text = string.format("v[%d] = %s", slot, anyValue())
        end
    end
    if not text then return nil end
    -- a function the options leave out
    local class, name = text:match('^R%.m%(%d+, "([^"]*)", "([^"]*)"')
    local key = class and class .. "." .. name or text:match('^R%.g%(%d+, "([^"]*)"')
    if not key then
        local made = text:match('^R%.new%(%d+, "([^"]*)"')
        key = made and made .. "()"
    end
    if key and skipped[key] then return nil end
    emit(hookKey, n, text, args)
    return slot
end

-- ---- Hooks and frames --------------------------------------------------------

local TICK_HOOKS = {InputPlayer = true, ProgressTurn = true, InputOpening = true}
-- Every script function the program calls, with what it reads back.
local HOOKS = {
    InputPlayer = "boolean", ProgressTurn = "boolean", ProgressTurnChange = "boolean",
    CallDecoratorFunc = "any", BeginTurn = "none", BeginAction = "boolean", EndAction = "none",
    EndTurn = "none", GetDamageDice = "none", ReceiveDamage = "number", ProcHealLife = "number",
    ProcDeath = "number", AfterDead = "number", RemoveAllDecorator = "none",
    SerializeDecorator = "boolean", AddDecorator = "none", RemoveDecorator = "none",
    IsFrozenWalk = "boolean", RegisterItemLib = "none", GetNpcName = "string",
    GetNpcRealName = "string", SetNpcExp = "none", SetEnemyNpc = "none", GetItemName = "string",
    StrFmt = "string", InputOpening = "none", DrawStatusView = "none", SerializeGame = "boolean",
    SerializeGlobal = "boolean", SetSaveFileName = "none", LoadItemGroupPer = "none",
}
local hookNames = sortedKeys(HOOKS)

local calls = {}  -- hook name -> calls so far
local depth = 0
local budget = cfg.statements or 4000
local finished = false

local function finish()
    if finished then return end
    finished = true
    local f = cfg.summary and io.open(cfg.summary, "w")
    if f then
        local reachedList, triedList = {}, {}
        for k in pairs(reached) do reachedList[#reachedList + 1] = k end
        for k in pairs(tried) do triedList[#triedList + 1] = k end
        table.sort(reachedList)
        table.sort(triedList)
        local classesReached = {}
        for _, k in ipairs(reachedList) do
            local class = k:match("^(.-)%.[^.]+$") or k:match("^(.-)%(%)$")
            if class and classes[class] then classesReached[class] = true end
        end
        local functions = #globalNames
        for _, name in ipairs(classNames) do functions = functions + #classes[name].methods end
        f:write("complete 1\n")
        for _, k in ipairs(sortedKeys(stats)) do f:write(k, " ", stats[k], "\n") end
        f:write("interface_classes ", #classNames, "\n")
        f:write("interface_functions ", functions, "\n")
        f:write("classes_reached ", #sortedKeys(classesReached), "\n")
        if driverError then f:write("driver_error ", (driverError:gsub("\n", " ")), "\n") end
        for _, name in ipairs(sortedKeys(calls)) do f:write("hook ", name, " ", calls[name], "\n") end
        for _, k in ipairs(reachedList) do f:write("reached ", k, "\n") end
        for _, k in ipairs(triedList) do
            if not reached[k] then f:write("failed_only ", k, "\n") end
        end
        f:close()
    end
    if out then out:close() end
    out = nil
    if header.collectAtEnd then
        for i = 1, SLOTS do v[i] = nil end
        collectgarbage("collect")
    end
    C_EndGame()
end

-- Statements and decisions for one hook call.
local function play(name, args)
    local n = (calls[name] or 0) + 1
    calls[name] = n
    stats.hooks = stats.hooks + 1
    local isTick = TICK_HOOKS[name]
    if isTick then
        stats.ticks = stats.ticks + 1
        if stats.ticks > header.ticks then
            finish()
            return nil
        end
    end
    local id = name .. "#" .. n
    if replaying then
        for _, text in ipairs(recorded[id] or {}) do runStatement(text, args) end
        return decisions[id]
    end
    if finished then return nil end
    if isTick and budget <= 0 then
        finish()
        return nil
    end
    if name == "InputPlayer" and n == 1 then
        -- the game starts without an adventurer: the opening makes one first
        emit(name, n, "R.opening()", args)
        return nil
    end
    local focus
    local count = 0
    if depth > 1 then
        -- a hook inside a hook's statements: no statements, the game's answer
    elseif isTick then
        if chance(0.6) then count = rand(6) end
    elseif cfg.hooks ~= false and
        chance(name == "StrFmt" and 0.02 or 0.15) then
        count = rand(4)
        -- the hook's objects into slots first
        for i = 1, #args do
            if type(args[i]) == "userdata" and keepable(args[i]) and chance(0.7) then
                local slot = newSlot()
                emit(name, n, string.format("v[%d] = a[%d]", slot, i), args)
                focus = focus or slot
            end
        end
    end
    for _ = 1, count do
        budget = budget - 1
        generateStatement(name, n, args, 0, nil, focus)
    end
    local event = false
    if isTick then
        -- the game goes on: floors, adventures, saves
        local r = rand(200)
        event = r <= 7
        if r <= 3 then
            emit(name, n, string.format("R.floor(%d, %d)", rand(12), rand(6)), args)
        elseif r <= 5 then
            emit(name, n, "R.opening()", args)
        elseif r <= 7 then
            emit(name, n, "R.save()", args)
        end
    end
    -- the answer: the game's own mostly
    local decision
    if name == "InputPlayer" then
        local r = rand(10)
        if r <= 5 then
            local dirs = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {-1, -1}, {1, -1}, {-1, 1}}
            local d = pick(dirs)
            decision = {"move", d[1], d[2]}
        elseif r <= 7 then
            decision = {"wait"}
        elseif r <= 8 then
            decision = {"get"}
        end
    elseif name == "InputOpening" then
        decision = {"adventure", rand(3) - 1, rand(3) - 1, rand(2) - 1}
    elseif chance(0.1) then
        local kind = HOOKS[name]
        local answers = {
            boolean = {true, false},
            number = {0, 1, -1, 100, 1e9},
            string = {"", "x", string.rep("y", 300)},
        }
        if answers[kind] then decision = {"answer", pick(answers[kind])} end
    end
    if decision then
        local parts = {}
        for i, x in ipairs(decision) do parts[i] = literal(x) end
        write(string.format("D(%q, %d, %s)", name, n, table.concat(parts, ", ")))
    end
    return decision
end

local function installHook(name)
    local original = _G[name]
    _G[name] = function(...)
        local args = {...}
        depth = depth + 1
        local ok, decision = pcall(play, name, args)
        if not ok then
            stats.driver_errors = stats.driver_errors + 1
            driverError = driverError or tostring(decision)
            decision = nil
        end
        depth = depth - 1
        if finished then return false end
        if decision then
            local kind = decision[1]
            if kind == "answer" then return decision[2] end
            if name == "InputPlayer" then
                local command = args[1]
                -- the content's own answer first (its error, after a statement
                -- deleted what it reads, leaves the decision to the driver)
                local read, answered = pcall(original or function() end, ...)
                if read and answered then return answered end
                local filled = pcall(function()
                    if kind == "move" then
                        command:setType(C.Command.MOVE)
                        command:setDir(C.Point(decision[2], decision[3]))
                    elseif kind == "wait" then
                        command:setType(C.Command.WAIT)
                    else
                        command:setType(C.Command.GET)
                    end
                end)
                return filled
            end
            if name == "InputOpening" and kind == "adventure" then
                local param = args[1]
                R.adventure(param, decision[2], decision[3], decision[4])
                return
            end
        end
        if name == "InputOpening" then return end  -- the opening waits for the decision
        if original then return original(...) end
        if HOOKS[name] == "boolean" then return false end
    end
end

-- ---- The run -------------------------------------------------------------------

function S(key, n, text)
    local id = key .. "#" .. n
    recorded[id] = recorded[id] or {}
    table.insert(recorded[id], text)
end
function D(key, n, ...)
    decisions[key .. "#" .. n] = {...}
end
function T(h)
    header = h
end

-- The class table for statics and `new`.
function R.class(name)
    return classes[name] and classes[name].table
end

scanInterface()
if replaying then
    local chunk = assert(loadfile(cfg.transcript))
    chunk()
    seedRandom(header.seed or 1)
else
    header = {seed = cfg.seed or 1, ticks = cfg.ticks or 300, collectAtEnd = cfg.collectAtEnd,
              avoid = cfg.avoid}
    seedRandom(header.seed)
    for _ = 1, 5 do nextRandom() end
    out = io.open(cfg.transcript or "transcript.lua", "w")
    write("-- A program over the script interface; replay it with tests/fuzz/script_interface/run.sh.")
    local avoid = {}
    for i, name in ipairs(header.avoid or {}) do avoid[i] = string.format("%q", name) end
    write(string.format("T{seed = %d, ticks = %d%s%s}", header.seed, header.ticks,
                        header.collectAtEnd and ", collectAtEnd = true" or "",
                        #avoid > 0 and ", avoid = {" .. table.concat(avoid, ", ") .. "}" or ""))
end
for _, name in ipairs(header.avoid or {}) do avoided[name] = true end
for _, name in ipairs(hookNames) do installHook(name) end
