-- The opening: a new adventurer is made step by step (race, class, sex,
-- name), looked over and sent into the dungeon. Each step shows its choice
-- in menu 0 and what the cursor points at in window 1; Escape steps back.
-- The steps' state lives here between frames and starts afresh with each
-- new opening.

local KEY_ENTER, KEY_ESCAPE = C.KEY_RETURN, C.KEY_ESCAPE

-- Where things are on the 800 x 600 screen.
local LEFT, TOP = 40, 24
local MENU_Y, MENU_WIDTH = 100, 200
local INFO_X, INFO_WIDTH, INFO_HEIGHT = 260, 500, 256
local NAME_Y, NAME_WIDTH = 380, 480
local LAYER = 10
local NAME_LENGTH = 32 -- bytes, as the game keeps a name

-- A name for one who leaves the entry empty, and the sexes' names.
local function defaultName(sex)
    return Text(sex == C.SEX_FEMALE and "opening.default_female" or "opening.default_male")
end
local function sexName(sex)
    return Text(sex == C.SEX_FEMALE and "opening.female" or "opening.male")
end

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
    w:drawText(C.WINDOW_LEFT_SPACE, C.WINDOW_TOP_SPACE, Text("opening.heading"), C.Color.YELLOW)
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
    return table.concat(names, Text("opening.skill_separator"))
end

local function describeRecord(record)
    local draw = infoWindow()
    if not draw then return end
    draw(record:name(), C.Color.YELLOW)
    draw(record:expression())
    draw("")
    local lines = statusLines(record:status())
    if #lines == 0 then draw(Text("opening.no_figures")) end
    for _, line in ipairs(lines) do draw(line) end
    local skills = skillNames(record)
    if skills ~= "" then draw(Text("opening.skills", skills)) end
end

-- The character as chosen so far, with the figures it will start with.
local function describeCharacter(param, title)
    local draw = infoWindow()
    if not draw then return end
    local race = param:getRace(opening.race)
    local class = param:getClass(opening.class)
    draw(title, C.Color.YELLOW)
    if opening.name then draw(Text("opening.name", opening.name)) end
    if opening.sex then draw(Text("opening.sex", sexName(opening.sex))) end
    if race then draw(Text("opening.race", race:name())) end
    if class then draw(Text("opening.class", class:name())) end
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
        showHeading(Text("opening.help_choose"))
        local w = C_GetWindow(1)
        if w then w:close() end
        local entries = {{"new", Text("opening.new")}}
        if #SlotEntries() > 0 then table.insert(entries, {"continue", Text("opening.continue")}) end
        table.insert(entries, {"quit", Text("opening.quit")})
        opening.menu = openMenu(Text("opening.welcome"), entries, 0, false)
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
        showHeading(Text("opening.help_choose_back"))
        local w = C_GetWindow(1)
        if w then w:close() end
        opening.menu = openMenu(Text("opening.continue_caption"), SlotEntries(), 0, true)
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
-- the cursor described beside it; `caption` names the menu's text.
local function recordStep(field, caption, count, get, back, nextStep)
    return {
        begin = function(param)
            showHeading(Text("opening.help_choose_back"))
            opening.entries = startEntries(count(param), function(i) return get(param, i) end)
            opening.menu = openMenu(Text(caption), opening.entries, rowOf(opening.entries, opening[field]), true)
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

steps.race = recordStep("race", "opening.race_caption",
    function(param) return param:getRaceNum() end,
    function(param, i) return param:getRace(i) end, "top", "class")
steps.class = recordStep("class", "opening.class_caption",
    function(param) return param:getClassNum() end,
    function(param, i) return param:getClass(i) end, "race", "sex")

steps.sex = {
    begin = function(param)
        showHeading(Text("opening.help_choose_back"))
        describeCharacter(param, Text("opening.adventurer"))
        local row = opening.sex == C.SEX_FEMALE and 1 or 0
        opening.menu = openMenu(Text("opening.sex_caption"),
            {{"male", sexName(C.SEX_MALE)}, {"female", sexName(C.SEX_FEMALE)}}, row, true)
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
        showHeading(Text("opening.help_name"))
        describeCharacter(param, Text("opening.adventurer"))
        local menu = C_GetMenu(0)
        if menu then menu:close() end
        local ime = C_GetIME()
        if not ime then return end
        ime:setTag(Text("opening.name_entry", defaultName(opening.sex)))
        ime:setDrawParam(LEFT, NAME_Y, LAYER, NAME_WIDTH)
        -- The entry starts in the language's own mode (its label shows it).
        ime:open(opening.typed or "", true, Text("opening.name_mode") == "hiragana")
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
        if typed == "" and opening.enterSeen then typed = defaultName(opening.sex) end
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
        showHeading(Text("opening.help_confirm"))
        describeCharacter(param, Text("opening.adventurer"))
        opening.menu = openMenu(Text("opening.confirm_caption"),
            {{"yes", Text("opening.yes")}, {"again", Text("opening.again")}}, 0, true)
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
