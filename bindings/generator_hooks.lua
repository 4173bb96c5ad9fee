-- Hooks for the tolua++ generator (run with -L before it reads a package).
--
-- A member variable declared as `int x @ _x` must report its Lua name in
-- the null-self error ("invalid 'self' in accessing variable '_x'"), since
-- that is the name scripts wrote; the generator would use the C++ name.
local variableLuaName
local variableSupcode = classVariable.supcode
function classVariable:supcode()
    variableLuaName = self.lname
    variableSupcode(self)
    variableLuaName = nil
end

-- (No vararg here: the generator's loader rewrites every "...)" it sees.)
function output_error_hook(format, argument)
    if variableLuaName and string.find(format, "accessing variable", 1, true) then
        argument = variableLuaName
    end
    if argument == nil then
        return string.format(format)
    end
    return string.format(format, argument)
end

-- Two statements of our own, each standing where its registrations belong:
--   settings FIRST .. LAST;   (or: settings NAME;)
--       the rows FIRST to LAST of the settings table (game/shell/settings.cpp)
--       as variables of the current module, registered from the table at
--       run time, so the table stays the one list of settings;
--   flag_bits RECORD;
--       the bit variables of a 32-bit flag record, named by RECORD::NAMES.
-- Each becomes one call in the open function, at its place.
-- It counts as a variable, so that its module is declared with variable
-- access.
local function registerCall(line)
    local call = _Verbatim({line = line .. "\n", cond = "r"})
    call.isvariable = function() return true end
end

function parser_hook(s)
    local b, e, first, last = string.find(s, "^%s*settings%s+([%w_]+)%s*%.%.%s*([%w_]+)%s*;")
    if not b then
        b, e, first = string.find(s, "^%s*settings%s+([%w_]+)%s*;")
        last = first
    end
    if b then
        registerCall(string.format('   binding::registerSettings(tolua_S, "%s", "%s");', first, last))
        return string.sub(s, e + 1)
    end
    local record
    b, e, record = string.find(s, "^%s*flag_bits%s+([%w_:]+)%s*;")
    if b then
        registerCall(string.format('   binding::registerFlagBits<%s>(tolua_S, "%s");', record, record))
        return string.sub(s, e + 1)
    end
    return nil
end

-- What a method called on an object returns by reference or pointer, and a
-- member variable or array element of class type, may be a view into the
-- object. binding::pushReference and binding::pushPointer register each
-- address that lies inside the object (`self`) with it, so it is forgotten
-- with it; a reference to anything else is handed over as a copy the
-- script owns (binding_support.h). Static functions and plain functions
-- have no object and push as they are.
local methodOfObject = false
local functionSupcode = classFunction.supcode
function classFunction:supcode(local_constructor)
    local static = strfind(self.mod, "^%s*static")
    local saved = methodOfObject
    methodOfObject = self:inclass() ~= nil and self.name ~= "new" and static == nil
    functionSupcode(self, local_constructor)
    methodOfObject = saved
end

-- The push function and the start of its arguments for a view of `self`,
-- or nil for anything else.
local function viewOfSelf(first)
    if methodOfObject and first == "(tolua_S,(void*)&tolua_ret,\"" then
        return "binding::pushReference", "(tolua_S,self,&tolua_ret,\""
    end
    if methodOfObject and (first == "(tolua_S,(void*)tolua_ret,\"" or
                           first == "(tolua_S,(void *)tolua_ret,\"") then
        return "binding::pushPointer", "(tolua_S,self,tolua_ret,\""
    end
    local b, e = strfind(first, "^%(tolua_S,%(void%*%)&self%->")
    if b then
        return "binding::pushReference", "(tolua_S,self,&self->" .. strsub(first, e + 1)
    end
    b, e = strfind(first, "^%(tolua_S,%(void%*%)self%->")
    if b then
        return "binding::pushPointer", "(tolua_S,self,self->" .. strsub(first, e + 1)
    end
    return nil
end

local plainOutput = output
function output(a, b, c, d, e, f, g, h, i, j)
    if b == "tolua_pushusertype" and type(c) == "string" then
        local push, first = viewOfSelf(c)
        if push then
            b, c = push, first
        end
    end
    if j ~= nil then return plainOutput(a, b, c, d, e, f, g, h, i, j) end
    if i ~= nil then return plainOutput(a, b, c, d, e, f, g, h, i) end
    if h ~= nil then return plainOutput(a, b, c, d, e, f, g, h) end
    if g ~= nil then return plainOutput(a, b, c, d, e, f, g) end
    if f ~= nil then return plainOutput(a, b, c, d, e, f) end
    if e ~= nil then return plainOutput(a, b, c, d, e) end
    if d ~= nil then return plainOutput(a, b, c, d) end
    if c ~= nil then return plainOutput(a, b, c) end
    if b ~= nil then return plainOutput(a, b) end
    return plainOutput(a)
end
