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
