-- Every function with nothing to act on: no player (it was deleted), no game
-- scene (no log, map view, lists, cursor or turn manager), nil objects. Each
-- gives nil, false, 0 or nothing, and none raises an error.
local function call(name, ...)
    local f = _G[name]
    if type(f) ~= "function" then
        failures[#failures + 1] = name .. ": not a function"
        return
    end
    local ok, result = pcall(f, ...)
    if not ok then
        failures[#failures + 1] = name .. ": " .. tostring(result)
        return
    end
    return result
end

check("C_GetPlayer", call("C_GetPlayer"), nil)
check("C_GetTurnManager", call("C_GetTurnManager"), nil)
check("C_GetItemList", call("C_GetItemList"), nil)
check("C_CheckMove nil", call("C_CheckMove", nil, 1, 1), false)
check("C_CastObjectChara nil", call("C_CastObjectChara", nil), nil)
check("C_CastObjectPlayer nil", call("C_CastObjectPlayer", nil), nil)
check("C_CastObjectNpc nil", call("C_CastObjectNpc", nil), nil)
check("C_CastObjectItem nil", call("C_CastObjectItem", nil), nil)
check("C_CastObjectGimmick nil", call("C_CastObjectGimmick", nil), nil)
check("C_CastObjectTrap nil", call("C_CastObjectTrap", nil), nil)
check("C_GetCharaAtPos", call("C_GetCharaAtPos", 5, 5), nil)
check("C_SubString nil", call("C_SubString", nil, 0, 1), "")

-- The screen's tasks are not there: these do nothing.
for _, name in ipairs({"C_Message", "C_MessageLine"}) do call(name, "text") end
call("C_MessageColor", C.Color.WHITE)
call("C_OpenLogWindow")
call("C_CloseLogWindow")
call("C_SetLogWindowCursor", true)
call("C_SetLogWindowColor", C.Color.WHITE)
call("C_Redraw")
call("C_ClearMap")
call("C_CountZoomCommand", true)
call("C_CountZoomCommand")
call("C_GotoOpening")

-- Those a later part of the game brings: absent ones are not counted here
-- (the census counts them), present ones must be quiet too.
if C_GetAnimaList then check("C_GetAnimaList", call("C_GetAnimaList"), nil) end
if C_GetCursor then check("C_GetCursor", call("C_GetCursor"), nil) end
if C_DispDirection then call("C_DispDirection", true) call("C_DispDirection", false) end
if C_PushCancel then call("C_PushCancel") end
