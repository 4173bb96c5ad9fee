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
