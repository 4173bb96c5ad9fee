-- Save slots: every adventure has its slot from its start. It is saved on
-- each new floor, from the game's menu (S) and when the program closes,
-- and removed when the adventure ends; the opening continues it.

local KEY_S = C.KEY_S

local function slotName(player)
    return Text("slot.name", player:getName(), floor)
end

local function slots()
    return C_GetSaveFileList()
end

-- A new adventure's slot (the opening calls this as it starts one). The
-- slot list is saved at once, so that it names the slot before the slot's
-- first save.
function NewSlot(name)
    local list = slots()
    if not list then return end
    local id = list:newData(name)
    if id and id > 0 then
        C.CURRENT_PLAYER_ID = id
        C.SaveData:new_local(id):saveGlobal()
    end
end

-- Saves the adventure and the slot list; false when it could not.
function SaveGameNow()
    local id = C.CURRENT_PLAYER_ID
    if id == 0 then return false end
    local player = C_GetPlayer()
    if player then slots():updateData(id, slotName(player)) end
    local slot = C.SaveData:new_local(id)
    local saved = slot:saveGame(C.SaveData.KEEP_ALL)
    slot:saveGlobal()
    return saved
end

-- The adventure is over: its slot goes.
function EndSlot()
    local id = C.CURRENT_PLAYER_ID
    if id == 0 then return end
    local slot = C.SaveData:new_local(id)
    slot:removeData()
    slots():removeData(id)
    C.CURRENT_PLAYER_ID = 0
    slot:saveGlobal()
end

-- The program saves the slot as it closes; the slot's name follows the
-- adventure.
function SetSaveFileName(kind)
    local id = C.CURRENT_PLAYER_ID
    local player = C_GetPlayer()
    if id ~= 0 and player then slots():updateData(id, slotName(player)) end
end

-- The slots as menu entries ({id, name}), newest first as the list keeps
-- them.
function SlotEntries()
    local entries = {}
    local list = slots()
    if not list then return entries end
    for i = 0, list:getDataNum() - 1 do
        table.insert(entries, {tostring(list:getId(i)), list:getName(i)})
    end
    return entries
end

-- ---- The game's menu --------------------------------------------------------

local gameMenu -- the open menu; nil while closed

-- Called by InputPlayer every frame: true while the menu is open, false
-- when it is closed and S was not pressed.
function GameMenuInput(command, player)
    if not gameMenu then
        if not KeyPressed(KEY_S) then return false end
        gameMenu = C_GetMenu(0)
        if not gameMenu then return false end
        gameMenu:setTag(Text("menu.caption"))
        gameMenu:setDrawParam(40, 40, 20, 240, 0)
        gameMenu:addItem(0, "quit", Text("menu.quit"))
        gameMenu:addItem(0, "opening", Text("menu.opening"))
        gameMenu:addItem(0, "back", Text("menu.back"))
        gameMenu:open()
        return true
    end
    if gameMenu:isCancel() then
        gameMenu:close()
        gameMenu = nil
        return true
    end
    if not gameMenu:isSelect() then return true end
    local choice = gameMenu:getSelTag()
    gameMenu:close()
    gameMenu = nil
    if choice == "back" then return true end
    -- Nothing is left behind unsaved: a failed save keeps the game on.
    if not SaveGameNow() then
        Say(Text("log.not_saved"))
        return true
    end
    Say(Text("log.saved"))
    if choice == "quit" then
        C_EndGame()
    else
        C_GotoOpening()
    end
    return true
end
