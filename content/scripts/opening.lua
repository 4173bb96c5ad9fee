-- The opening: a new adventurer is made step by step (race, class, sex,
-- name), looked over and sent into the dungeon. Each step shows its choice
-- in menu 0 and what the cursor points at in window 1; Escape steps back.
-- The steps' state lives here between frames and starts afresh with each
-- new opening.

local KEY_ENTER, KEY_ESCAPE = 13, 27

-- Where things are on the 800 x 600 screen.
local LEFT, TOP = 40, 24
local MENU_Y, MENU_WIDTH = 100, 200
local INFO_X, INFO_WIDTH, INFO_HEIGHT = 260, 500, 256
local NAME_Y, NAME_WIDTH = 380, 480
local LAYER = 10
local NAME_LENGTH = 32 -- bytes, as the game keeps a name

-- A name for one who leaves the entry empty.
local DEFAULT_NAME = {[C.SEX_MALE] = "アルト", [C.SEX_FEMALE] = "リーナ"}
local SEX_NAME = {[C.SEX_MALE] = "男性", [C.SEX_FEMALE] = "女性"}

local opening -- the choices so far; nil until an opening begins

local function lineHeight()
    return C.FONT_HEIGHT + C.WINDOW_LINE_SPACE
end

-- ---- Drawing --------------------------------------------------------------

local function showHeading(text)
    local w = C_GetWindow(0)
    if not w then return end
    w:setDrawParam(LEFT, TOP, LAYER, 720, w:calHeight(2))
    w:clear()
    w:drawText(C.WINDOW_LEFT_SPACE, C.WINDOW_TOP_SPACE, "ヴォルンハルデン　冒険者の登録", C.Color.YELLOW)
    w:drawText(C.WINDOW_LEFT_SPACE, C.WINDOW_TOP_SPACE + lineHeight(), text, C.Color.WHITE)
    w:open()
end

-- Window 1, cleared and shown; draw(line) puts a text on the next line.
local function infoWindow()
    local w = C_GetWindow(1)
    if not w then return nil end
    w:setDrawParam(INFO_X, MENU_Y, LAYER, INFO_WIDTH, INFO_HEIGHT)
    w:clear()
    w:open()
    local y = C.WINDOW_TOP_SPACE
    return function(text, colour)
        w:drawText(C.WINDOW_LEFT_SPACE, y, text, colour or C.Color.WHITE)
        y = y + lineHeight()
    end
end

-- The two recovery ratios are percentages, 100 changing nothing.
local RATIO = {[53] = true, [55] = true}

-- The figures a record changes, three to a line ("Str +3", "AutoHealRatio 150%").
local function statusLines(status)
    local lines, line, count = {}, "", 0
    for i = 0, 57 do
        local value = status:get(i)
        local shown
        if RATIO[i] then
            if value ~= 100 then shown = value .. "%" end
        elseif value ~= 0 then
            shown = (value > 0 and "+" or "") .. value
        end
        if shown then
            line = line .. string.format("%-20s", C.STATUS_NAME[i] .. " " .. shown)
            count = count + 1
            if count % 3 == 0 then
                table.insert(lines, line)
                line = ""
            end
        end
    end
    if line ~= "" then table.insert(lines, line) end
    return lines
end

local function skillNames(record)
    local names = {}
    for i = 0, record:skillCount() - 1 do
        local tag = record:skill(i)
        local skill = C_GetSkill(tag)
        table.insert(names, skill and skill:name() or tag)
    end
    return table.concat(names, "、")
end

local function describeRecord(record)
    local draw = infoWindow()
    if not draw then return end
    draw(record:name(), C.Color.YELLOW)
    draw(record:expression())
    draw("")
    local lines = statusLines(record:status())
    if #lines == 0 then draw([[能力の補正なし]]) end
    for _, line in ipairs(lines) do draw(line) end
    local skills = skillNames(record)
    if skills ~= "" then draw([[技能：]] .. skills) end
end

-- The character as chosen so far, with the figures it will start with.
local function describeCharacter(param, title)
    local draw = infoWindow()
    if not draw then return end
    local race = param:getRace(opening.race)
    local class = param:getClass(opening.class)
    draw(title, C.Color.YELLOW)
    if opening.name then draw("名前　" .. opening.name) end
    if opening.sex then draw("性別　" .. SEX_NAME[opening.sex]) end
    if race then draw("種族　" .. race:name()) end
    if class then draw("職業　" .. class:name()) end
    if not (race and class) then return end
    -- Every new character starts from 12 in each of the first nine figures.
    local start = C.Status()
    for i = 0, 8 do start:set(i, 12) end
    local total = start + race:status() + class:status()
    draw("")
    local line = ""
    for i = 0, 8 do
        line = line .. string.format("%-10s", C.STATUS_NAME[i] .. " " .. total:get(i))
        if i % 5 == 4 then
            draw(line)
            line = ""
        end
    end
    if line ~= "" then draw(line) end
end

local function closeAll()
    for _, number in ipairs({0, 1}) do
        local w = C_GetWindow(number)
        if w then w:close() end
    end
    local menu = C_GetMenu(0)
    if menu then menu:close() end
    local ime = C_GetIME()
    if ime then ime:close() end
end

-- ---- The steps ------------------------------------------------------------

-- Menu 0 emptied and opened with the entries ({tag, text}), the cursor on
-- `row` (from 0).
local function openMenu(caption, entries, row, cancel)
    local menu = C_GetMenu(0)
    if not menu then return nil end
    menu:setTag(caption)
    menu:setDrawParam(LEFT, MENU_Y, LAYER, MENU_WIDTH, 0)
    for _, entry in ipairs(entries) do menu:addItem(0, entry[1], entry[2]) end
    menu:setEnableCancel(cancel)
    menu:open()
    menu:setCursor(row or 0)
    return menu
end

-- The records offered at the start, as menu entries tagged with their index.
local function startEntries(count, get)
    local entries = {}
    for i = 0, count - 1 do
        local record = get(i)
        if record and record:isStart() then table.insert(entries, {tostring(i), record:name()}) end
    end
    return entries
end

-- The row of the entry tagged with index, or 0.
local function rowOf(entries, index)
    for row, entry in ipairs(entries) do
        if tonumber(entry[1]) == index then return row - 1 end
    end
    return 0
end

local steps = {}
local enter

steps.top = {
    begin = function(param)
        showHeading("↑↓で選び、Enterで決定します。")
        local w = C_GetWindow(1)
        if w then w:close() end
        local entries = {{"new", "新しく冒険を始める"}}
        if #SlotEntries() > 0 then table.insert(entries, {"continue", "続きから"}) end
        table.insert(entries, {"quit", "終了する"})
        opening.menu = openMenu("ようこそ", entries, 0, false)
    end,
    update = function(param)
        local menu = opening.menu
        if not menu:isSelect() then return end
        local choice = menu:getSelTag()
        if choice == "quit" then
            closeAll()
            C_EndGame()
        elseif choice == "continue" then
            enter(param, "continue")
        else
            enter(param, "race")
        end
    end,
}

-- A saved adventure, newest first; a slot that cannot be loaded is told
-- by the program and the list stays.
steps.continue = {
    begin = function(param)
        showHeading("↑↓で選び、Enterで決定、Escで戻ります。")
        local w = C_GetWindow(1)
        if w then w:close() end
        opening.menu = openMenu("続ける冒険", SlotEntries(), 0, true)
    end,
    update = function(param)
        local menu = opening.menu
        if menu:isCancel() then return enter(param, "top") end
        if not menu:isSelect() then return end
        closeAll()
        local state = opening
        opening = nil
        if not param:beginContinue(tonumber(menu:getSelTag())) then
            opening = state
            enter(param, "continue")
        end
    end,
}

-- Race and class share their step: a menu of records and the record under
-- the cursor described beside it.
local function recordStep(field, caption, count, get, back, nextStep)
    return {
        begin = function(param)
            showHeading("↑↓で選び、Enterで決定、Escで戻ります。")
            opening.entries = startEntries(count(param), function(i) return get(param, i) end)
            opening.menu = openMenu(caption, opening.entries, rowOf(opening.entries, opening[field]), true)
            opening.shown = nil
        end,
        update = function(param)
            local menu = opening.menu
            if menu:isCancel() then return enter(param, back) end
            local entry = opening.entries[menu:getCurIndex() + 1]
            if entry and opening.shown ~= entry[1] then
                opening.shown = entry[1]
                local record = get(param, tonumber(entry[1]))
                if record then describeRecord(record) end
            end
            if menu:isSelect() then
                opening[field] = tonumber(menu:getSelTag())
                enter(param, nextStep)
            end
        end,
    }
end

steps.race = recordStep("race", "種族を選んでください",
    function(param) return param:getRaceNum() end,
    function(param, i) return param:getRace(i) end, "top", "class")
steps.class = recordStep("class", "職業を選んでください",
    function(param) return param:getClassNum() end,
    function(param, i) return param:getClass(i) end, "race", "sex")

steps.sex = {
    begin = function(param)
        showHeading("↑↓で選び、Enterで決定、Escで戻ります。")
        describeCharacter(param, "あなたの冒険者")
        local row = opening.sex == C.SEX_FEMALE and 1 or 0
        opening.menu = openMenu("性別を選んでください",
            {{"male", SEX_NAME[C.SEX_MALE]}, {"female", SEX_NAME[C.SEX_FEMALE]}}, row, true)
    end,
    update = function(param)
        local menu = opening.menu
        if menu:isCancel() then return enter(param, "class") end
        if menu:isSelect() then
            opening.sex = menu:getSelTag() == "female" and C.SEX_FEMALE or C.SEX_MALE
            enter(param, "name")
        end
    end,
}

steps.name = {
    begin = function(param)
        showHeading("名前を入力してEnterで決定、Escで戻ります。")
        describeCharacter(param, "あなたの冒険者")
        local menu = C_GetMenu(0)
        if menu then menu:close() end
        local ime = C_GetIME()
        if not ime then return end
        ime:setTag("名前（空欄なら" .. DEFAULT_NAME[opening.sex] .. "）")
        ime:setDrawParam(LEFT, NAME_Y, LAYER, NAME_WIDTH)
        ime:open(opening.typed or "")
        opening.ime = ime
        opening.enterSeen = false
    end,
    update = function(param)
        local ime = opening.ime
        if not ime then return enter(param, "sex") end
        if C_KeyTrg(KEY_ESCAPE) then
            ime:close()
            C_PlaySE(C.SE_CANCEL)
            return enter(param, "sex")
        end
        -- The entry hands over a finished line; an empty one finishes
        -- nothing, so Enter alone (seen a frame ago, the entry's own
        -- queue being read by then) takes the default name.
        local typed = ime:getInput()
        if typed == "" and opening.enterSeen then typed = DEFAULT_NAME[opening.sex] end
        if typed ~= "" then
            ime:close()
            opening.typed = typed
            opening.name = C_SubString(typed, 0, NAME_LENGTH)
            return enter(param, "confirm")
        end
        if C_KeyTrg(KEY_ENTER) then opening.enterSeen = true end
    end,
}

-- Makes the character and starts the game; false when it could not be made.
local function startGame(param)
    local player = param:createPlayer(opening.name, opening.sex, opening.race, opening.class)
    if not player then return false end
    closeAll()
    local name = opening.name
    opening = nil
    NewGameStarts()
    param:beginNewGame(player)
    NewSlot(name)
    return true
end

steps.confirm = {
    begin = function(param)
        showHeading("この冒険者で始めますか？　Escで名前に戻ります。")
        describeCharacter(param, "あなたの冒険者")
        opening.menu = openMenu("冒険に出ますか？", {{"yes", "はい"}, {"again", "最初から選び直す"}}, 0, true)
    end,
    update = function(param)
        local menu = opening.menu
        if menu:isCancel() then return enter(param, "name") end
        if not menu:isSelect() then return end
        if menu:getSelTag() == "again" then return enter(param, "race") end
        if not startGame(param) then enter(param, "race") end
    end,
}

enter = function(param, name)
    opening.step = steps[name]
    opening.menu, opening.ime = nil, nil
    opening.step.begin(param)
end

-- The font the windows, menus and the log write with, made once on the
-- game thread (the package itself runs on the loader thread).
local fontsMade = false
local function makeFonts()
    if fontsMade then return end
    fontsMade = C_SetFont(1, C.FONT_HEIGHT)
end

-- Called every frame of the opening with its OpeningParam.
function InputOpening(param)
    if param:getRaceNum() == 0 or param:getClassNum() == 0 then return end
    if not opening then
        makeFonts()
        opening = {race = 0, class = 0, sex = C.SEX_MALE}
        enter(param, "top")
        return
    end
    if opening.menu or opening.ime then opening.step.update(param) end
end
