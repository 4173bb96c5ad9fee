-- The sample game's rules: the floors, the player's commands,
-- the monsters' turns and the turn change. Draws use the game's generator
-- (C_GetRand*), never math.random, so a seeded run replays.

-- Act points: every action costs a turn's worth; the turn change gives
-- each character its ACTION figure again.
local TURN_COST = 12

-- Keys (virtual-key codes).
local KEY_G, KEY_PERIOD = 71, 190
local KEY_NUMPAD5 = 101

-- A message on a line of its own in the log.
function Say(text)
    if C_MessageLine then C_MessageLine(text .. "\n") end
end
local say = Say

-- ---- Floors -------------------------------------------------------------

-- The tiles, made when a floor is first built (the package's top level
-- only defines).
local FLOOR_TILE, WALL_TILE, STAIRS_TILE
local function makeTiles()
    if FLOOR_TILE then return end
    -- Lit rooms: floors walkable (1), walls (2), both in a room (8) and lit (16).
    FLOOR_TILE = C.Tile("floor", 1, 0, C.Color.WHITE, 25)
    WALL_TILE = C.Tile("wall", 0, 0, C.Color.WHITE, 26)
    STAIRS_TILE = C.Tile("stairs", 2, 0, C.Color.WHITE, 25)
end

-- The first floor, painted from this map: '#' wall, '.' floor, '>' stairs,
-- '@' the player, 'm' a monster of the first kind, 'i' a potion of
-- healing, 'w' a dagger.
local FIRST_FLOOR = {
    "##########",
    "#@..w#...#",
    "#....#.m.#",
    "#..i.....#",
    "#....#..>#",
    "##########",
}

floor = 0
-- How the adventure ended: nil while it goes on, "cleared" when the goal is
-- taken, "shown" while its end is shown.
local ended

-- A new game (the opening calls this as it starts one) begins again on the
-- painted first floor.
function NewGameStarts()
    floor = 0
    ended = nil
end

-- What a save slot keeps of this file's state beside the program's own.
function SerializeGame(serializer)
    floor = serializer:num(floor)
    if serializer:isRead() then
        ended = nil
        if C_Redraw then C_Redraw() end
    end
    return true
end

local function paintFirstFloor(player)
    local d = C_GetDungeon()
    C.CreateDungeon(d):fillAll(WALL_TILE)
    for y, row in ipairs(FIRST_FLOOR) do
        for x = 1, #row do
            local c = row:sub(x, x)
            local cx, cy = x - 1, y - 1
            d:setTile(cx, cy, c == "#" and WALL_TILE or (c == ">" and STAIRS_TILE or FLOOR_TILE))
            if c == "@" then player:setPos(cx, cy) end
            if c == "m" then
                local npc = C_CreateNpc(1, C.Point(cx, cy))
                if npc then npc:setActPoint(0) end
            end
            local kind = (c == "i" and 21) or (c == "w" and 1)
            if kind then
                local item = C_CreateItem(kind)
                if item then item:put(cx, cy) end
            end
        end
    end
end

-- The last floor holds the goal instead of stairs.
LAST_FLOOR = 5
local GOAL_ITEM = 37
local MONSTERS_PER_FLOOR = 6
local ITEMS_PER_FLOOR = 5

local function placeMonsters(count)
    local maker = C_GetEnemyMaker()
    if not maker:loadFile("data/enemy.dat") then return end
    local d = C_GetDungeon()
    for _ = 1, count do
        local npc = maker:createNormal(floor, C.Point(-1, -1))
        if not npc then return end
        local placed = false
        for _ = 1, 50 do
            local p = d:getRoomRandomPos()
            if C_CheckMove(npc, p._x, p._y) then
                npc:setPos(p)
                placed = true
                break
            end
        end
        if not placed then npc:kill() end
    end
    C_GetObjectManager():exeRemove()
end

local FLOOR_BLOCK_ROWS, FLOOR_BLOCK_COLUMNS = 3, 4

local function generateFloor(player)
    local d = C_GetDungeon()
    d:setDefRoom(FLOOR_TILE)
    d:setDefPass(FLOOR_TILE)
    d:setDefWall(WALL_TILE)
    -- Three rows of four blocks, each a room or a crossing of passages.
    C.CreateDungeon(d, FLOOR_BLOCK_ROWS, FLOOR_BLOCK_COLUMNS):create()
    player:setPos(d:getRoomRandomPos())
    if floor < LAST_FLOOR then
        d:setTile(d:getRoomRandomPos(), STAIRS_TILE)
    else
        local goal = C_CreateItem(GOAL_ITEM)
        if goal then goal:put(d:getRoomRandomPos()) end
    end
    placeMonsters(MONSTERS_PER_FLOOR + floor)
    PlaceItems(ITEMS_PER_FLOOR)
end

local function nextFloor(player)
    makeTiles()
    floor = floor + 1
    C_GetDungeon():setTag("floor" .. floor)
    C_GetDungeon():setLevel(floor)
    player:setKeep(true)
    C_GetObjectManager():clearExceptKeep()
    if floor == 1 then
        paintFirstFloor(player)
    else
        generateFloor(player)
    end
    C_GetDungeon():initLightState()
    if C_Redraw then C_Redraw() end
    say("地下" .. floor .. "階")
    SaveGameNow()
end

-- ---- Fighting -------------------------------------------------------------

-- Experience: a kill is worth KILL_EXP; the next level comes at
-- FIRST_LEVEL_EXP, then twice as far each time.
local KILL_EXP, FIRST_LEVEL_EXP = 10, 10

local function gainExp(chara, amount)
    if not C_CastObjectPlayer(chara) then return end
    if chara:getNextExp() == 0 then chara:setNextExp(FIRST_LEVEL_EXP) end
    local up = chara:addExp(amount)
    while up do
        chara:setLevel(chara:getLevel() + 1)
        chara:setNextExp(chara:getNextExp() * 2)
        say("レベルが上がった！（レベル" .. chara:getLevel() .. "）")
        up = chara:getExp() >= chara:getNextExp()
    end
    chara:setUpdate(true)
end

-- Damage dealt to a character, told in the log; a monster that dies is
-- removed and its slayer gains experience. Items' effects hurt through it.
function Hurt(attacker, target, damage)
    target:addLife(-damage)
    if C_CastObjectPlayer(target) then
        say(attacker:getName() .. "の攻撃。" .. damage .. "のダメージを受けた。")
    else
        say(target:getName() .. "に" .. damage .. "のダメージを与えた。")
    end
    if target:isDead() then
        local npc = C_CastObjectNpc(target)
        if npc then
            say(npc:getName() .. "を倒した。")
            gainExp(attacker, KILL_EXP)
            npc:kill()
        end
    end
end

-- The right hand's weapon's dice, or bare hands.
local function attack(attacker, target)
    local weapon = attacker:getEquip(0)
    local dice = weapon and weapon:getDamageDice():roll() or C_Dice(1, 6)
    Hurt(attacker, target, dice + attacker:getLevel())
end

local function characterAt(x, y)
    return C_GetCharaAtPos(x, y)
end

-- ---- The player's commands -------------------------------------------------

-- The map cursor marks a cell the player chooses; the sample game never
-- asks for one, so it stays hidden.
local function hideCursor()
    local cursor = C_GetCursor()
    if cursor and cursor:getState() ~= 0 then cursor:setState(0) end
end

function InputPlayer(command, player)
    hideCursor()
    if floor == 0 then
        nextFloor(player)
        player:setActPoint(TURN_COST)
    end
    if GameMenuInput(command, player) then return false end
    local open, filled = InventoryInput(command, player)
    if open then return filled end
    local dir = C_GetInputDir()
    if dir._x ~= 0 or dir._y ~= 0 then
        command:setType(C.Command.MOVE)
        command:setDir(dir)
        return true
    end
    if C_KeyTrg(KEY_PERIOD) or C_KeyTrg(KEY_NUMPAD5) then
        command:setType(C.Command.WAIT)
        return true
    end
    if C_KeyTrg(KEY_G) then
        command:setType(C.Command.GET)
        return true
    end
    return false
end

local function playerCommand(command)
    local player = command:getActor()
    local type = command:getType()
    local pos = player:getPos()
    if type == C.Command.MOVE then
        local x, y = pos._x + command:getDir()._x, pos._y + command:getDir()._y
        local other = characterAt(x, y)
        if other and C_CastObjectNpc(other) then
            attack(player, other)
        elseif C_CheckMove(player, x, y) then
            player:setPos(x, y)
            local tile = C_GetTile(x, y)
            if tile and tile:getTag() == "stairs" then nextFloor(player) end
        end
    elseif type == C.Command.GET then
        for _, item in ipairs(PickUp(player)) do
            if item:getBaseId() == GOAL_ITEM then
                say("暁の宝珠を手に入れた！")
                if C_GetWorld then C_GetWorld():setResult("clear") end
                ended = "cleared"
            end
        end
    else
        ItemCommand(command)
    end
    player:addActPoint(-TURN_COST)
end

-- ---- Monsters -----------------------------------------------------------------

-- A monster badly hurt runs from what it fights.
local FLEE_RATIO = 0.25

local function monsterTurn(npc)
    local target = npc:searchNearestTarget(C_GetObjectManager(), 0)
    local flee = npc:getLifeRatio() < FLEE_RATIO
    if target._adjoin and not flee then
        local p = npc:getPos()
        local victim = characterAt(p._x + target._lineDir._x, p._y + target._lineDir._y)
        if victim then attack(npc, victim) end
    elseif target._pointLen2 ~= -1 then
        local step = target._memoryDir
        local away = flee and -1 or 1
        local dx = away * (step._x > 0 and 1 or (step._x < 0 and -1 or 0))
        local dy = away * (step._y > 0 and 1 or (step._y < 0 and -1 or 0))
        local p = npc:getPos()
        if C_CheckMove(npc, p._x + dx, p._y + dy) then npc:setPos(p._x + dx, p._y + dy) end
    end
    target:delete()
    npc:addActPoint(-TURN_COST)
end

-- ---- The turn loop ---------------------------------------------------------

-- The adventure's end: who fell, where, and after how long, shown in window
-- 2 until Enter leads back to the opening.
local KEY_ENTER = 13

local RANKING_SHOWN = 5

-- The score of an adventure: how deep, what was learnt and gathered, and
-- much more for the goal.
local function score(player, cleared)
    return floor * 100 + player:getExp() + player:getMoney() + (cleared and 10000 or 0)
end

-- Enters the adventure in the ranking, gives up its slot and shows the end
-- with the best of the ranking in window 2.
local function showEnd(player, cleared)
    local how = cleared and "暁の宝珠を手にした" or ("地下" .. floor .. "階で力尽きた")
    local points = score(player, cleared)
    local ranking = C_GetRanking()
    if ranking then ranking:addData(player:getName() .. "　" .. how, points) end
    EndSlot()
    local w = C_GetWindow(2)
    if not w then return end
    local line = C.FONT_HEIGHT + C.WINDOW_LINE_SPACE
    local shown = ranking and math.min(ranking:getDataMax(), RANKING_SHOWN) or 0
    w:setDrawParam(144, 100, 30, 512, w:calHeight(6 + shown))
    w:clear()
    w:drawFrame(C.Color.WHITE)
    local x, y = C.WINDOW_LEFT_SPACE, C.WINDOW_TOP_SPACE
    local function text(words, colour)
        w:drawText(x, y, words, colour or C.Color.WHITE)
        y = y + line
    end
    text(cleared and "冒険の達成" or "冒険の終わり", cleared and C.Color.YELLOW or C.Color.RED)
    text(player:getName() .. "（" .. player:getCharaRace() .. "の" .. player:getCharaClass() .. "）")
    text(how .. "。")
    text("レベル" .. player:getLevel() .. "　所持金" .. player:getMoney() .. "　得点" .. points)
    text([[― ランキング ―]], C.Color.YELLOW)
    if ranking then
        local new = ranking:getNew()
        for i = 0, shown - 1 do
            local entry = ranking:getData(i)
            if entry then
                local row = string.format("%2d %5d %s", i + 1, entry:getScore(), entry:getText())
                text(row, i == new and C.Color.YELLOW or nil)
            end
        end
    end
    text("Enterで最初の画面に戻ります。", C.Color.YELLOW)
    w:open()
end

-- True once Enter has closed the end.
local function theEnd(player)
    if ended == "shown" then
        if not C_KeyTrg(KEY_ENTER) then return false end
        local w = C_GetWindow(2)
        if w then w:close() end
        ended = nil
        C_GotoOpening()
        return true
    end
    if ended ~= "cleared" then say("あなたは力尽きた……") end
    showEnd(player, ended == "cleared")
    ended = "shown"
    return false
end

function ProgressTurn(turns, command)
    local player = turns:getPlayer()
    if ended then return theEnd(player) end
    if command then
        playerCommand(command)
        -- The monsters answer in the script turn.
        return false
    end
    if turns:selectActNpc() then
        local npc = turns:getWaitNpc()
        while npc do
            if npc:isLive() then monsterTurn(npc) end
            turns:incWaitNpc()
            npc = turns:getWaitNpc()
        end
    end
    if player and player:isDead() then return theEnd(player) end
    return true
end

function ProgressTurnChange(turns)
    local player = turns:getPlayer()
    if player then player:setActPoint(player:getActPoint() + TURN_COST) end
    local node = C_GetObjectLinkType(1)
    while node do
        local npc = C_CastObjectNpc(node:getObj())
        if npc then npc:setActPoint(npc:getActPoint() + TURN_COST) end
        node = node:next()
    end
    return true
end

-- ---- Names ------------------------------------------------------------------

function GetNpcName(npc, own, kind)
    if own ~= "" then return own end
    return kind
end

-- The skills' level texts, written in English in the skill table (a key a
-- language's own StrFmt may read differently), shown in Japanese.
local LEVEL_TEXT = {
    ["Sword mastery"] = "剣の心得",
    ["Blunt mastery"] = "鈍器の心得",
    ["Axe mastery"] = "斧の心得",
    ["Shield mastery"] = "盾の心得",
    ["Magic"] = "魔術",
    ["Archery"] = "弓の心得",
    ["Swims in deep water"] = "深い水を泳ぐ",
    ["Dodge"] = "身をかわす",
    ["Flies over water"] = "水の上を飛ぶ",
    ["Slash"] = "斬撃",
    ["Poisonous bite"] = "毒の牙",
    ["Fights with two weapons"] = "二つの武器で戦う",
}

function StrFmt(text)
    return LEVEL_TEXT[text] or text
end
