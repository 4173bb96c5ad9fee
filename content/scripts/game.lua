-- The sample game's rules: the floors, the player's commands,
-- the monsters' turns and the turn change. Draws use the game's generator
-- (C_GetRand*), never math.random, so a seeded run replays.

-- Act points: every action costs a turn's worth; the turn change gives
-- each character its ACTION figure (12, and what its table row adds).
local TURN_COST = 12
local S = C.STATUS

-- A message on a line of its own in the log.
function Say(text)
    if C_MessageLine then C_MessageLine(text .. "\n") end
end
local say = Say

-- ---- Keys -------------------------------------------------------------------

-- Keys, by the names module C gives them.
local KEY_G, KEY_PERIOD = C.KEY_G, C.KEY_OEM_PERIOD
local KEY_NUMPAD5 = C.KEY_NUMPAD5

-- The program asks InputPlayer every frame while it waits for the player,
-- and not while the monsters move; a key that is down now and was up at the
-- last ask was pressed meanwhile, so a press between two asks still counts.
local wasDown = {}
local watched = {}

-- Remembers the key between asks (every key the commands read).
function WatchKey(key)
    if not watched[key] then
        watched[key] = true
        wasDown[key] = false
    end
end

-- A key pressed since the last ask: one command a press.
function KeyPressed(key)
    WatchKey(key)
    return C_KeyTrg(key) or (C_KeyOn(key) and not wasDown[key])
end

-- A key pressed, or held past the repeat delay and then on every repeat
-- beat, as the menus read their cursor keys: a tap takes one step, a key
-- held longer keeps walking after the delay.
local function keyRepeated(key)
    WatchKey(key)
    return C_KeyRpt(key) or (C_KeyOn(key) and not wasDown[key])
end

local function rememberKeys()
    for key in pairs(watched) do wasDown[key] = C_KeyOn(key) end
end

-- The direction keys C_GetInputDir reads (the cursor keys, and Home, End,
-- Page Up and Page Down, which the number pad gives with Num Lock off), and
-- the number pad's digits (Num Lock on) in the order 1 to 9.
local DIRECTION_KEYS = {
    C.KEY_DOWN, C.KEY_UP, C.KEY_RIGHT, C.KEY_LEFT, C.KEY_END, C.KEY_NEXT, C.KEY_HOME, C.KEY_PRIOR,
}
local NUMPAD_KEYS = {
    {C.KEY_NUMPAD1, -1, 1}, {C.KEY_NUMPAD2, 0, 1}, {C.KEY_NUMPAD3, 1, 1},
    {C.KEY_NUMPAD4, -1, 0}, {C.KEY_NUMPAD6, 1, 0}, {C.KEY_NUMPAD7, -1, -1},
    {C.KEY_NUMPAD8, 0, -1}, {C.KEY_NUMPAD9, 1, -1},
}

-- The step the direction keys ask for now, or nil: one on a press, and
-- while a key is held one on each repeat beat.
local function stepAsked()
    local beat = false
    for _, key in ipairs(DIRECTION_KEYS) do
        if keyRepeated(key) then beat = true end
    end
    if beat then
        local dir = C_GetInputDir()
        if dir._x ~= 0 or dir._y ~= 0 then return dir end
    end
    for _, pad in ipairs(NUMPAD_KEYS) do
        if keyRepeated(pad[1]) then return C.Point(pad[2], pad[3]) end
    end
    return nil
end

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
-- Turns of haste and of poison still to run.
local hasted, poisoned = 0, 0

-- A new game (the opening calls this as it starts one) begins again on the
-- painted first floor.
function NewGameStarts()
    floor = 0
    ended = nil
    hasted, poisoned = 0, 0
end

-- The last lines of the slot's log, shown again when an adventure goes on.
local LOG_LINES_SHOWN = 6
local LOG_TAIL_BYTES = 4096
local continued = false

local function showLastLog()
    local id = C.CURRENT_PLAYER_ID
    if id == 0 then return end
    local file = io.open(string.format("save/data%02d/log.txt", id), "rb")
    if not file then return end
    local size = file:seek("end")
    file:seek("set", math.max(0, size - LOG_TAIL_BYTES))
    local text = file:read("*a") or ""
    file:close()
    local lines = {}
    for line in text:gmatch("([^\n]*)\n") do table.insert(lines, line) end
    -- A line cut by the tail's start is left out.
    if size > LOG_TAIL_BYTES then table.remove(lines, 1) end
    -- The lines are in the slot's log already: not written to it again.
    C.CURRENT_PLAYER_ID = 0
    for i = math.max(1, #lines - LOG_LINES_SHOWN + 1), #lines do
        if lines[i] ~= "" then C_MessageLine(lines[i] .. "\n") end
    end
    C.CURRENT_PLAYER_ID = id
end

-- What a save slot keeps of this file's state beside the program's own.
function SerializeGame(serializer)
    floor = serializer:num(floor)
    hasted = serializer:num(hasted)
    poisoned = serializer:num(poisoned)
    if serializer:isRead() then
        ended = nil
        continued = true
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

-- The last floor holds the goal instead of stairs, and its guardian.
LAST_FLOOR = 5
local GOAL_ITEM = 37
local GUARDIAN = 13
local MONSTERS_PER_FLOOR = 5
local ITEMS_PER_FLOOR = 5

-- Puts the monster on a free cell of a room; false (and it is gone) when
-- none was found.
local function placeInRoom(npc)
    local d = C_GetDungeon()
    for _ = 1, 50 do
        local p = d:getRoomRandomPos()
        if C_CheckMove(npc, p._x, p._y) then
            npc:setPos(p)
            return true
        end
    end
    npc:kill()
    return false
end

local function placeMonsters(count)
    local maker = C_GetEnemyMaker()
    if not maker:loadFile("data/enemy.dat") then return end
    for _ = 1, count do
        local npc = maker:createNormal(floor, C.Point(-1, -1))
        if not npc then return end
        placeInRoom(npc)
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
        local guardian = C_CreateNpc(GUARDIAN)
        if guardian then placeInRoom(guardian) end
    end
    placeMonsters(MONSTERS_PER_FLOOR + floor)
    PlaceItems(ITEMS_PER_FLOOR)
end

-- What the player carries, equipped or not.
function Carried(player)
    local items = {}
    local node = player:getItemLink()
    while node do
        local item = node:getObj()
        if item then table.insert(items, item) end
        node = node:next()
    end
    return items
end

local function nextFloor(player)
    makeTiles()
    floor = floor + 1
    C_GetDungeon():setTag("floor" .. floor)
    C_GetDungeon():setLevel(floor)
    -- The player and what it carries go down; the rest of the floor goes.
    local carried = Carried(player)
    player:setKeep(true)
    for _, item in ipairs(carried) do item:setKeep(true) end
    C_GetObjectManager():clearExceptKeep()
    for _, item in ipairs(carried) do item:setKeep(false) end
    if floor == 1 then
        paintFirstFloor(player)
    else
        generateFloor(player)
    end
    C_GetDungeon():initLightState()
    if C_Redraw then C_Redraw() end
    say(Text("log.floor", floor))
    SaveGameNow()
end

-- ---- Fighting -------------------------------------------------------------

-- Experience: a kill is worth KILL_EXP and KILL_EXP_PER_LEVEL for each of
-- the monster's levels; the next level comes at FIRST_LEVEL_EXP, then twice
-- as far each time, and each level brings LEVEL_LIFE more life.
local FIRST_LEVEL_EXP = 10
local KILL_EXP, KILL_EXP_PER_LEVEL = 5, 5
local LEVEL_LIFE = 6

local function gainExp(chara, amount)
    if not C_CastObjectPlayer(chara) then return end
    if chara:getNextExp() == 0 then chara:setNextExp(FIRST_LEVEL_EXP) end
    local up = chara:addExp(amount)
    while up do
        chara:setLevel(chara:getLevel() + 1)
        chara:setNextExp(chara:getNextExp() * 2)
        chara:addBaseStatus(S.LIFE, LEVEL_LIFE)
        chara:addLife(LEVEL_LIFE)
        say(Text("log.level_up", chara:getLevel()))
        up = chara:getExp() >= chara:getNextExp()
    end
    chara:setUpdate(true)
end

-- What each class starts with (item ids of the item table), worn or
-- wielded where it can be.
local STARTING_KIT = {
    [1] = {2, 7, 15, 31},   -- fighter: short sword, small shield, leather armour, bread
    [2] = {1, 9, 22, 31},   -- mage: dagger, spell book, potion of mana, bread
    [3] = {1, 10, 11, 31},  -- archer: dagger, short bow, arrows, bread
}

-- A new adventurer's first satiety, and what a full stomach holds.
local SATIETY_MAX, SATIETY_START = 2000, 1500

local function startAdventure(player)
    player:setSatietyMax(SATIETY_MAX)
    player:setSatiety(SATIETY_START)
    if player:getNextExp() == 0 then player:setNextExp(FIRST_LEVEL_EXP) end
    for _, id in ipairs(STARTING_KIT[player:getCharaClassId()] or {}) do
        local item = C_CreateItem(id)
        if item then
            -- What one starts with is plain and known.
            item:setCurse(false)
            item:setBless(false)
            item:setLevel(0)
            local names = item:getItemName()
            if names then names:toAnalyze() end
            item:setIdentify(true)
            player:addItem(item)
            if item:isEquip() then player:equip(item) end
        end
    end
    player:setUpdate(true)
end

-- What a fallen monster leaves: what it carried, and its corpse as often
-- as its table row says.
local function leaveBehind(npc)
    local p = npc:getPos()
    for _, item in ipairs(Carried(npc)) do
        npc:desarm(item)
        item:put(p._x, p._y)
    end
    local corpse = npc:createCorpse()
    if corpse then corpse:put(p._x, p._y) end
end

-- Damage dealt to a character, told in the log; a monster that dies is
-- removed and its slayer gains experience. Items' effects hurt through it.
function Hurt(attacker, target, damage)
    target:addLife(-damage)
    if C_CastObjectPlayer(target) then
        say(Text("log.hurt_player", attacker:getName(), damage))
    else
        say(Text("log.hurt_other", target:getName(), damage))
    end
    if target:isDead() then
        local npc = C_CastObjectNpc(target)
        if npc then
            say(Text("log.defeated", npc:getName()))
            gainExp(attacker, KILL_EXP + KILL_EXP_PER_LEVEL * npc:getLevel())
            leaveBehind(npc)
            npc:kill()
        end
    end
end

-- The dice a character strikes with (the program asks when the content
-- calls getDamageDice): the right hand's weapon's, else its own (a
-- monster's from its table row, bare hands' BASE_DAMAGE_DICE), and its
-- level added (a monster's halved: its table dice already grow with it).
function GetDamageDice(owner, dice, tag)
    local weapon = owner:getEquip(C.EQUIP_RIGHT)
    dice:copy(weapon and weapon:getDamageDice() or owner:getBaseDamageDice())
    local level = owner:getLevel()
    dice:add(C_CastObjectPlayer(owner) and level or math.floor(level / 2))
end

-- Half the defence (worn armour, a monster's hide) is taken off every
-- blow; at least one point gets through.
function BlowDamage(target, damage)
    return math.max(1, damage - math.floor(target:getStatus(S.DEFENSE) / 2))
end

local function attack(attacker, target)
    ActAttack(attacker, target)
end

-- The nearest live monster the player sees within reach (cells, counted
-- as a king steps), or nil.
function NearestInSight(player, reach)
    local p = player:getPos()
    local nearest, best
    local node = C_GetObjectLinkType(1)
    while node do
        local npc = C_CastObjectNpc(node:getObj())
        if npc and npc:isLive() and npc:isInSight() then
            local q = npc:getPos()
            local d = math.max(math.abs(q._x - p._x), math.abs(q._y - p._y))
            if d <= reach and (not best or d < best) then nearest, best = npc, d end
        end
        node = node:next()
    end
    return nearest
end

-- ---- Shooting and spells -----------------------------------------------------

-- F shoots the bow (EQUIP_BOW) with the arrows (EQUIP_ARROW) at the nearest
-- monster in sight within the bow's range: the bow's and the arrow's dice
-- and the level, less half the target's defence; one arrow is spent. Z
-- casts the fire spell, which a character with the Magic skill knows, at
-- the nearest monster in sight within the action's range, for its mana.
-- Neither takes a turn when it cannot be done; the log says why.
local KEY_F, KEY_Z = C.KEY_F, C.KEY_Z
local SPELL = "fire"

local function shotAsked(player)
    local bow = player:getEquip(C.EQUIP_BOW)
    if not bow then return nil, "log.no_bow" end
    if not player:getEquip(C.EQUIP_ARROW) then return nil, "log.no_arrows" end
    local target = NearestInSight(player, bow:getRange())
    if not target then return nil, "log.no_target" end
    return target
end

local function spellAsked(player)
    local action = C_GetAction(SPELL)
    if not action or player:checkEnableSkill("Magic") <= 0 then return nil, "log.no_spell" end
    if player:getMana() < action:mana() then return nil, "log.no_mana" end
    local target = NearestInSight(player, action:range())
    if not target then return nil, "log.no_target" end
    return target
end

local function shoot(player, target)
    local bow, arrows = player:getEquip(C.EQUIP_BOW), player:getEquip(C.EQUIP_ARROW)
    say(Text("log.shot", target:getName()))
    local damage = bow:getDamageDice():roll() + arrows:getDamageDice():roll() + player:getLevel()
    UseUp(arrows)
    Hurt(player, target, BlowDamage(target, damage))
end

local function cast(player, action, target)
    player:addMana(-action:mana())
    say(Text("log.action", string.format(action:msg(), player:getName())))
    local perform = _G[action:luaFunc()]
    if type(perform) == "function" then perform(player, target) end
    player:setUpdate(true)
end

-- Healing asked for through healLife: life goes up to its maximum; the
-- answer is what was healed.
function ProcHealLife(chara, amount)
    local before = chara:getLife()
    chara:addLife(amount)
    chara:setUpdate(true)
    return chara:getLife() - before
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

local function readCommand(command, player)
    -- A player who fell between turns (hunger, poison) waits for the end.
    if player:isDead() then
        command:setType(C.Command.WAIT)
        return true
    end
    if floor == 0 then
        startAdventure(player)
        nextFloor(player)
        player:setActPoint(TURN_COST)
    end
    if continued then
        continued = false
        showLastLog()
    end
    if GameMenuInput(command, player) then return false end
    local open, filled = InventoryInput(command, player)
    if open then return filled end
    local dir = stepAsked()
    if dir then
        command:setType(C.Command.MOVE)
        command:setDir(dir)
        return true
    end
    if keyRepeated(KEY_PERIOD) or keyRepeated(KEY_NUMPAD5) then
        command:setType(C.Command.WAIT)
        return true
    end
    if KeyPressed(KEY_G) then
        command:setType(C.Command.GET)
        return true
    end
    for _, ranged in ipairs({{KEY_F, shotAsked, C.Command.FIRE}, {KEY_Z, spellAsked, C.Command.MAGIC}}) do
        if KeyPressed(ranged[1]) then
            local target, why = ranged[2](player)
            if not target then
                say(Text(why))
                return false
            end
            command:setType(ranged[3])
            command:setPoint(target:getPos())
            if ranged[3] == C.Command.MAGIC then command:setAction(SPELL) end
            return true
        end
    end
    return false
end

function InputPlayer(command, player)
    hideCursor()
    local filled = readCommand(command, player)
    rememberKeys()
    return filled
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
    elseif type == C.Command.FIRE or type == C.Command.MAGIC then
        local point = command:getPoint()
        local target = C_CastObjectNpc(characterAt(point._x, point._y))
        if target and type == C.Command.FIRE then shoot(player, target) end
        if target and type == C.Command.MAGIC then cast(player, command:getAction(), target) end
    elseif type == C.Command.GET then
        for _, item in ipairs(PickUp(player)) do
            if item:getBaseId() == GOAL_ITEM then
                say(Text("log.goal_taken"))
                if C_GetWorld then C_GetWorld():setResult("clear") end
                ended = "cleared"
            end
        end
    else
        ItemCommand(command)
    end
    player:addActPoint(-TURN_COST)
end

-- A haste potion's turns.
function Haste(turns)
    hasted = hasted + turns
end

-- ---- Monsters -----------------------------------------------------------------

-- What a monster does comes from the behaviours its table row names:
--   Approach  walks up to the one it fights (or where it last saw it) and
--             strikes when beside it;
--   Erratic   flutters: half its steps go a random way;
--   Flee      runs from the one it fights once badly hurt;
--   Caster    casts fire from afar while its mana lasts, and keeps out of
--             reach while it can.
-- And from its skills: Poison (its bite may poison) and FireBreath (it may
-- breathe fire along a line).
MONSTER_BEHAVIOURS = {Approach = true, Erratic = true, Flee = true, Caster = true}

local FLEE_RATIO = 0.25
local SPELL_MANA, SPELL_REACH2 = 10, 5 * 5
local BREATH_REACH2, BREATH_CHANCE = 4 * 4, 3
local POISON_CHANCE, POISON_TURNS = 3, 6

local function behaves(npc, name)
    for i = 0, npc:getAiCount() - 1 do
        if npc:getAi(i) == name then return true end
    end
    return false
end

local function sign(n)
    return n > 0 and 1 or (n < 0 and -1 or 0)
end

-- One step by (dx, dy), or the nearest way round it; true when it moved.
local function stepBy(npc, dx, dy)
    local p = npc:getPos()
    local tries = {{dx, dy}}
    if dx ~= 0 and dy ~= 0 then
        table.insert(tries, {dx, 0})
        table.insert(tries, {0, dy})
    elseif dx ~= 0 then
        table.insert(tries, {dx, 1})
        table.insert(tries, {dx, -1})
    elseif dy ~= 0 then
        table.insert(tries, {1, dy})
        table.insert(tries, {-1, dy})
    end
    for _, t in ipairs(tries) do
        if (t[1] ~= 0 or t[2] ~= 0) and C_CheckMove(npc, p._x + t[1], p._y + t[2]) then
            npc:setPos(p._x + t[1], p._y + t[2])
            return true
        end
    end
    return false
end

local function randomStep(npc)
    local d = NUMPAD_KEYS[C_GetRandI_0toN(#NUMPAD_KEYS) + 1]
    stepBy(npc, d[2], d[3])
end

-- The character on the searched target's cell.
local function targetAt(target)
    return characterAt(target._point._x, target._point._y)
end

-- Fire cast at the target (a Caster's spell or a breath), told by the
-- text named.
local function castFire(npc, victim, text)
    say(Text(text, npc:getName()))
    Hurt(npc, victim, C_Dice(2, 6))
end

local function strike(npc, victim)
    attack(npc, victim)
    if npc:checkEnableSkill("Poison") > 0 and victim:isLive() and C_CastObjectPlayer(victim)
        and C_GetRandI_0toN(POISON_CHANCE) == 0 then
        poisoned = poisoned + POISON_TURNS
        say(Text("log.poisoned"))
    end
end

-- One monster's turn (the turn loop below runs it for each monster).
function MonsterTurn(npc)
    local target = npc:searchNearestTarget(C_GetObjectManager(), 0)
    local seen = target._pointLen2 ~= -1
    local memory = target._memoryDir
    local toward = {sign(memory._x), sign(memory._y)}
    local victim = seen and targetAt(target) or nil
    if behaves(npc, "Flee") and npc:getLifeRatio() < FLEE_RATIO and seen then
        stepBy(npc, -toward[1], -toward[2])
    elseif behaves(npc, "Caster") and victim and not target._adjoin
        and target._pointLen2 <= SPELL_REACH2 and npc:getMana() >= SPELL_MANA then
        npc:addMana(-SPELL_MANA)
        castFire(npc, victim, "log.cast_fire")
    elseif npc:checkEnableSkill("FireBreath") > 0 and victim and target._lineLen2 ~= -1
        and target._lineLen2 <= BREATH_REACH2 and C_GetRandI_0toN(BREATH_CHANCE) == 0 then
        castFire(npc, victim, "log.breathe_fire")
    elseif target._adjoin then
        local p = npc:getPos()
        local near = characterAt(p._x + target._lineDir._x, p._y + target._lineDir._y)
        if near then strike(npc, near) end
    elseif behaves(npc, "Erratic") and C_GetRandI_0toN(2) == 0 then
        randomStep(npc)
    elseif behaves(npc, "Caster") and seen and npc:getMana() >= SPELL_MANA then
        -- Out of reach but in sight: it waits for the one it fights.
    elseif toward[1] ~= 0 or toward[2] ~= 0 then
        stepBy(npc, toward[1], toward[2])
    end
    target:delete()
    npc:addActPoint(-TURN_COST)
end

-- ---- The turn loop ---------------------------------------------------------

-- The adventure's end: who fell, where, and after how long, shown in window
-- 2 until Enter leads back to the opening.
local KEY_ENTER = C.KEY_RETURN

local RANKING_SHOWN = 5

-- The score of an adventure: how deep, what was learnt and gathered, and
-- much more for the goal.
local function score(player, cleared)
    return floor * 100 + player:getExp() + player:getMoney() + (cleared and 10000 or 0)
end

-- The end's window lies over the map, clear of the status panel, and no
-- wider than window 2's texture (WINDOW_TEX_SIZE in settings.lua): what
-- lies past the texture is not the window's.
local END_X, END_Y, END_WIDTH = 16, 100, 512

-- Enters the adventure in the ranking, gives up its slot and shows the end
-- with the best of the ranking in window 2.
local function showEnd(player, cleared)
    local points = score(player, cleared)
    local ranking = C_GetRanking()
    if ranking then
        local entry = cleared and Text("ranking.cleared", player:getName())
            or Text("ranking.fallen", player:getName(), floor)
        ranking:addData(entry, points)
    end
    EndSlot()
    local w = C_GetWindow(2)
    if not w then return end
    local line = C.FONT_HEIGHT + C.WINDOW_LINE_SPACE
    local shown = ranking and math.min(ranking:getDataMax(), RANKING_SHOWN) or 0
    local height = w:calHeight(6 + shown)
    w:setDrawParam(END_X, END_Y, 30, END_WIDTH, height)
    w:clear()
    -- The frame goes round the part shown, not the whole texture.
    w:drawRect(0, 0, END_WIDTH - 1, height - 1, C.Color.WHITE)
    local x, y = C.WINDOW_LEFT_SPACE, C.WINDOW_TOP_SPACE
    local function text(words, colour)
        w:drawText(x, y, words, colour or C.Color.WHITE)
        y = y + line
    end
    text(Text(cleared and "end.cleared_caption" or "end.fallen_caption"),
        cleared and C.Color.YELLOW or C.Color.RED)
    text(Text("end.who", player:getName(), player:getCharaRace(), player:getCharaClass()))
    text(cleared and Text("end.cleared") or Text("end.fallen", floor))
    text(Text("end.figures", player:getLevel(), player:getMoney(), points))
    text(Text("end.ranking"), C.Color.YELLOW)
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
    text(Text("end.back"), C.Color.YELLOW)
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
    if ended ~= "cleared" then say(Text("log.fallen")) end
    showEnd(player, ended == "cleared")
    ended = "shown"
    return false
end

-- Every monster with more act points than the player acts, the quickest
-- first, until none has (a quick one acts more often than a slow one);
-- the rounds are bounded, since each act costs a turn's points.
local MAX_ROUNDS = 8

local function monstersAct(turns, player)
    for _ = 1, MAX_ROUNDS do
        if player and player:isDead() then return end
        if not turns:selectActNpc() then return end
        local npc = turns:getWaitNpc()
        while npc do
            if npc:isLive() then MonsterTurn(npc) end
            if player and player:isDead() then return end
            turns:incWaitNpc()
            npc = turns:getWaitNpc()
        end
    end
end

function ProgressTurn(turns, command)
    local player = turns:getPlayer()
    if ended then return theEnd(player) end
    if command then
        playerCommand(command)
        -- The monsters answer in the script turn.
        return false
    end
    monstersAct(turns, player)
    if player and player:isDead() then return theEnd(player) end
    return true
end

-- What the turn does to the player: hunger, poison and haste run down.
local HUNGER_HURT_EVERY = 5
-- A point of mana comes back every MANA_EVERY turns, a point of life every
-- HEAL_EVERY turns (not while starving or poisoned).
local MANA_EVERY, HEAL_EVERY = 4, 3
local HASTE_POINTS = 12

local function playerTurnChange(player)
    local points = player:getStatus(S.ACTION)
    if hasted > 0 then
        hasted = hasted - 1
        points = points + HASTE_POINTS
        if hasted == 0 then say(Text("log.haste_over")) end
    end
    player:setActPoint(player:getActPoint() + points)
    local turn = C_GetWorld():getTurn()
    if turn % MANA_EVERY == 0 then player:addMana(1) end
    if turn % HEAL_EVERY == 0 and player:getSatiety() > 0 and poisoned == 0 then
        player:addLife(1)
    end
    if player:getSatietyMax() > 0 then
        if player:getSatiety() > 0 then
            player:addSatiety(-1)
            if player:getSatiety() == 0 then say(Text("log.starving")) end
        elseif C_GetWorld():getTurn() % HUNGER_HURT_EVERY == 0 then
            player:addLife(-1)
        end
    end
    if poisoned > 0 then
        poisoned = poisoned - 1
        player:addLife(-1)
        if poisoned == 0 then say(Text("log.poison_over")) end
    end
    player:setUpdate(true)
end

function ProgressTurnChange(turns)
    local player = turns:getPlayer()
    if player then playerTurnChange(player) end
    local node = C_GetObjectLinkType(1)
    while node do
        local npc = C_CastObjectNpc(node:getObj())
        if npc then npc:setActPoint(npc:getActPoint() + npc:getStatus(S.ACTION)) end
        node = node:next()
    end
    return true
end

-- What the status panel shows of the turn's state.
function PlayerConditions()
    local list = {}
    if hasted > 0 then table.insert(list, Text("condition.hasted")) end
    if poisoned > 0 then table.insert(list, Text("condition.poisoned")) end
    return list
end

-- ---- Names ------------------------------------------------------------------

function GetNpcName(npc, own, kind)
    if own ~= "" then return own end
    return kind
end

-- The skills' level texts: the skill table writes a key ("Sword mastery"),
-- and the text tables name what it reads ("level.Sword mastery"); a key
-- they do not name reads as written.
function StrFmt(text)
    local name = "level." .. text
    if TEXT[name] then return Text(name) end
    return text
end
