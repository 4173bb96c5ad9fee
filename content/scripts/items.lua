-- The sample game's items: how they are named, how random ones are drawn,
-- the inventory the player opens with I, and what drinking, reading,
-- eating and zapping them does.

local KEY_I = C.KEY_I
WatchKey(KEY_I)
local GOLD_ITEM = 36

local say = Say

-- ---- Names ------------------------------------------------------------------

-- The kind's name as far as it is known ("赤い水薬", "red potion" until
-- identified), a corpse's monster before it, and a stack's count after it.
function GetItemName(item, corpse, kind)
    local names = item:getItemName()
    local text = names and names:getName(false) or ""
    if text == "" then return nil end
    if corpse and corpse ~= "" then text = Text("item.corpse", corpse, text) end
    if item:isIdentify() and item:canEnhance() and item:getLevel() ~= 0 then
        text = text .. string.format("%+d", item:getLevel())
    end
    if item:canStock() and item:getStock() > 1 then
        text = Text("item.stock", text, item:getStock(), item:getDenom())
    end
    return text
end

-- Called once the boot has loaded the tables (and a language's texts).
function LoadItemGroupPer()
    -- Every kind found lying about is in group 1 of the first table.
    C_GetItemFactory():setGroupPer(0, 1, 100)
    -- The program knows the sanctuary scroll by its key, which is no name
    -- to show.
    local sanctuary = C_GetItemFactory():getBase("ScrollSanctuary")
    if sanctuary then sanctuary:getItemName():setMainName(Text("item.sanctuary")) end
end

-- Scatters count random items over the floor's rooms.
function PlaceItems(count)
    local d = C_GetDungeon()
    for _ = 1, count do
        local item = C_GetItemFactory():createGroup(0)
        if item then item:put(d:getRoomRandomPos()) end
    end
end

-- ---- The inventory ---------------------------------------------------------

local function equippedSlot(player, item)
    for slot = 0, 9 do
        if player:getEquip(slot) == item then return slot end
    end
    return nil
end

local carried = Carried

-- What can be done with the item: {command, menu text}.
local function actionsFor(player, item)
    local actions = {}
    if item:isEquip() then
        local text = Text(equippedSlot(player, item) and "inventory.take_off" or "inventory.equip")
        table.insert(actions, {C.Command.WEAR, text})
    end
    if item:canQuaff() then table.insert(actions, {C.Command.QUAFF, Text("inventory.quaff")}) end
    if item:canRead() then table.insert(actions, {C.Command.READ, Text("inventory.read")}) end
    if item:canEat() then table.insert(actions, {C.Command.EAT, Text("inventory.eat")}) end
    if item:canZap() then table.insert(actions, {C.Command.ZAP, Text("inventory.zap")}) end
    if not equippedSlot(player, item) then table.insert(actions, {C.Command.DROP, Text("inventory.drop")}) end
    return actions
end

local inventory -- the open inventory; nil while closed

local function closeInventory()
    for number = 0, 1 do
        local menu = C_GetMenu(number)
        if menu then menu:close() end
    end
    inventory = nil
end

-- The inventory's two menus are as wide as their texts need (a byte of
-- text is a column of C.FONT_WIDTH pixels), at least their usual width
-- and at most their texture: the list from LIST_X, the item's actions
-- beside it.
local LIST_X, LIST_WIDTH, ACTIONS_WIDTH, GAP = 40, 240, 160, 10

local function menuWidth(least, caption, texts)
    local width = math.max(least, #caption * C.FONT_WIDTH + 2 * C.MENU_CURSOR_X)
    for _, text in ipairs(texts) do
        width = math.max(width, C.MENU_NAME_X + #text * C.FONT_WIDTH + C.MENU_CURSOR_X)
    end
    return math.min(width, C.MENU_TEX_WIDTH)
end

local function openList(player, row)
    local items = carried(player)
    if #items == 0 then
        say(Text("log.nothing_carried"))
        closeInventory()
        return
    end
    local menu = C_GetMenu(0)
    if not menu then return closeInventory() end
    local texts = {}
    for i, item in ipairs(items) do
        texts[i] = item:getName()
        if equippedSlot(player, item) then texts[i] = Text("item.worn", texts[i]) end
    end
    local width = menuWidth(LIST_WIDTH, C.ITEMLIST_TAG, texts)
    menu:setTag(C.ITEMLIST_TAG)
    menu:setDrawParam(LIST_X, 40, 20, width, 10)
    for i, text in ipairs(texts) do menu:addItem(0, tostring(i), text) end
    menu:open()
    if row then
        menu:setPage(math.floor(row / 10))
        menu:setCursor(row % 10)
    end
    inventory = {step = "list", menu = menu, items = items, width = width}
end

local function openActions(player, item)
    local menu = C_GetMenu(1)
    if not menu then return closeInventory() end
    local name = item:getName()
    local actions = actionsFor(player, item)
    local texts = {}
    for i, action in ipairs(actions) do texts[i] = action[2] end
    menu:setTag(name)
    menu:setDrawParam(LIST_X + inventory.width + GAP, 40, 20, menuWidth(ACTIONS_WIDTH, name, texts), 0)
    for i, text in ipairs(texts) do menu:addItem(0, tostring(i), text) end
    menu:open()
    inventory.step, inventory.actionMenu = "action", menu
    inventory.item, inventory.actions = item, actions
end

-- Called by InputPlayer every frame: true while the inventory is open (and
-- then, second, whether it filled the command), false when it is closed
-- and I was not pressed.
function InventoryInput(command, player)
    if not inventory then
        if not KeyPressed(KEY_I) then return false end
        openList(player)
        return true, false
    end
    if inventory.step == "list" then
        local menu = inventory.menu
        if menu:isCancel() then
            closeInventory()
        elseif menu:isSelect() then
            inventory.row = menu:getSelIndex()
            openActions(player, inventory.items[inventory.row + 1])
        end
        return true, false
    end
    local menu = inventory.actionMenu
    if menu:isCancel() then
        menu:close()
        openList(player, inventory.row)
        return true, false
    end
    if not menu:isSelect() then return true, false end
    local action = inventory.actions[menu:getSelIndex() + 1]
    local item = inventory.item
    closeInventory()
    command:setType(action[1])
    -- The turn manager keeps one command: the last turn's item goes.
    command:clearItem()
    command:addItem(item)
    return true, true
end

-- ---- Using items -----------------------------------------------------------

-- One of the stack used up.
function UseUp(item)
    if item:canStock() and item:getStock() > 1 then
        item:addStock(-1)
    else
        item:kill()
        C_GetObjectManager():exeRemove()
    end
end

-- Using a kind makes it known.
local function learn(item)
    local names = item:getItemName()
    if names then names:toAnalyze() end
    item:setIdentify(true)
end

function QuaffHealing(player, item)
    player:healLife(10 + C_Dice(2, 6))
    say(Text("log.healed"))
    learn(item)
end

function QuaffMana(player, item)
    player:addMana(10 + C_Dice(2, 6))
    say(Text("log.mana"))
    learn(item)
end

function QuaffPoison(player, item)
    player:addLife(-C_Dice(1, 4))
    say(Text("log.poison"))
    learn(item)
end

-- For HASTE_TURNS turns the player acts twice as often.
local HASTE_TURNS = 20

function QuaffSpeed(player, item)
    Haste(HASTE_TURNS)
    say(Text("log.speed"))
    learn(item)
end

-- Teleport lands on a free cell anywhere on the floor (a painted floor
-- has no rooms to draw one from).
local TELEPORT_TRIES = 500

function ReadTeleport(player, item)
    local from = player:getPos()
    for _ = 1, TELEPORT_TRIES do
        local x, y = C_GetRandI_0toN(50), C_GetRandI_0toN(30)
        if (x ~= from._x or y ~= from._y) and C_CheckMove(player, x, y) then
            player:setPos(x, y)
            break
        end
    end
    say(Text("log.teleport"))
    learn(item)
end

function ReadIdentify(player, item)
    for _, other in ipairs(carried(player)) do
        if other ~= item then learn(other) end
    end
    say(Text("log.identify"))
    learn(item)
end

-- The light shows every cell within LIGHT_REACH of the reader that is
-- floor or borders on floor, as if seen.
local LIGHT_REACH = 12

local function bordersFloor(d, x, y)
    for dy = -1, 1 do
        for dx = -1, 1 do
            local t = d:checkRange(x + dx, y + dy) and d:getTile(x + dx, y + dy)
            if t and not t:isWall() then return true end
        end
    end
    return false
end

function ReadLight(player, item)
    local d = C_GetDungeon()
    local p = player:getPos()
    for y = p._y - LIGHT_REACH, p._y + LIGHT_REACH do
        for x = p._x - LIGHT_REACH, p._x + LIGHT_REACH do
            local tile = d:checkRange(x, y) and d:getTile(x, y)
            if tile and tile:getState() == C.TILE_DARK and bordersFloor(d, x, y) then
                tile:setState(C.TILE_OPEN)
            end
        end
    end
    if C_Redraw then C_Redraw() end
    say(Text("log.light"))
    learn(item)
end

-- The sanctuary scroll works where it lies: reading lays it down, and it
-- is kept.
function ReadSanctuary(player, item)
    say(Text("log.sanctuary"))
    learn(item)
    local p = player:getPos()
    item:put(p._x, p._y)
    return true
end

-- The wand of fire burns the nearest monster in sight within reach; each
-- zap spends one of its charges (its stock).
local ZAP_REACH = 6

function ZapFire(player, item)
    local nearest = NearestInSight(player, ZAP_REACH)
    learn(item)
    if not nearest then
        say(Text("log.fire_missed"))
        return
    end
    say(Text("log.fire_hit", nearest:getName()))
    Hurt(player, nearest, C_Dice(2, 6))
    C_GetObjectManager():exeRemove()
end

-- Eating fills the stomach by the kind's eat figure, up to twice what a
-- full stomach holds.
function Eat(player, item)
    local most = player:getSatietyMax()
    if most <= 0 then return end
    local before = player:getSatiety()
    player:setSatiety(math.min(2 * most, before + item:getEat()))
    say(Text(player:getSatiety() > most and "log.full" or "log.fed"))
    learn(item)
end

local VERB = {
    [C.Command.QUAFF] = "log.quaffed",
    [C.Command.READ] = "log.read",
    [C.Command.EAT] = "log.eaten",
    [C.Command.ZAP] = "log.zapped",
}

-- Carries out an item command from the inventory; false for other
-- commands. A use function that answers true keeps the item.
function ItemCommand(command)
    local kind = command:getType()
    if command:getItemNum() == 0 then return false end
    local item = command:getItem(0)
    local player = command:getActor()
    if not item or not player then return false end
    if kind == C.Command.WEAR then
        local name = item:getName()
        if equippedSlot(player, item) then
            player:desarm(item)
            say(Text("log.taken_off", name))
        elseif player:equip(item) then
            say(Text("log.equipped", name))
        else
            say(Text("log.cannot_equip", name))
        end
        player:setUpdate(true)
    elseif VERB[kind] then
        say(Text(VERB[kind], item:getName()))
        local use = _G[item:getLuaFunc()]
        if kind == C.Command.EAT and type(use) ~= "function" then use = Eat end
        local kept = type(use) == "function" and use(player, item)
        if not kept then UseUp(item) end
    elseif kind == C.Command.DROP then
        local p = player:getPos()
        say(Text("log.dropped", item:getName()))
        item:put(p._x, p._y)
    else
        return false
    end
    return true
end

-- Picks up what lies under the player (gold goes to the purse); the items
-- now carried.
function PickUp(player)
    local node = C_GetObjectLinkAtPos(player:getPos())
    local picked = {}
    while node do
        local item = C_CastObjectItem(node:getObj())
        node = node:next()
        if item then table.insert(picked, item) end
    end
    if #picked == 0 then say(Text("log.nothing_here")) end
    local kept = {}
    for _, item in ipairs(picked) do
        if item:getBaseId() == GOLD_ITEM then
            player:addMoney(item:getStock())
            say(Text("log.gold_picked", item:getStock()))
            item:kill()
        else
            say(Text("log.picked", item:getName()))
            player:addItem(item)
            table.insert(kept, item)
        end
    end
    C_GetObjectManager():exeRemove()
    return kept
end
