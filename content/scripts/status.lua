-- The status panel beside the map: who the adventurer is, the gauges, the
-- figures and the floor. The program calls DrawStatusView whenever the
-- player's state changed or a redraw was asked for (C_Redraw). Figures are
-- named as everywhere else, by C.STATUS_NAME (the "status." texts).

local GOLD = C.Color(0xFFFFE080)
local GREY = C.Color(0xFFB0B0B0)
local LOW = C.Color(0xFFFF6040)
local LINE = 20

local function gauge(now, most)
    if most > 0 and now * 4 <= most then return LOW end
    return nil
end

-- The satiety state's name and colour while it is not plain (full, hungry,
-- ...), from the gauge records settings.lua fills.
local SATIETY_STATES = {
    C.FullTimeEffect.SATIETY_OVER, C.FullTimeEffect.SATIETY_FULL,
    C.FullTimeEffect.SATIETY_EMPTY, C.FullTimeEffect.SATIETY_HUNGER,
    C.FullTimeEffect.SATIETY_DEAD,
}

function DrawStatusView(player, view)
    local S = C.STATUS
    local name = C.STATUS_NAME
    local y = 4
    local function line(text, colour, x)
        view:drawText(x or 4, y, text, colour)
        y = y + LINE
    end
    line(player:getName(), GOLD)
    line(Text("panel.race_class", player:getCharaRace(), player:getCharaClass()), GREY)
    line(Text("panel.level", player:getLevel()))
    line(Text("panel.exp", player:getExp(), player:getNextExp()))
    local life, lifeMost = player:getLife(), player:getStatus(S.LIFE)
    line(Text("panel.gauge", name[S.LIFE], life, lifeMost), gauge(life, lifeMost))
    local mana, manaMost = player:getMana(), player:getStatus(S.MANA)
    line(Text("panel.gauge", name[S.MANA], mana, manaMost), gauge(mana, manaMost))
    y = y + 8
    local figures = {S.STR, S.VIT, S.DEX, S.PER, S.AGI, S.WIS, S.INT, S.CHA}
    for i, figure in ipairs(figures) do
        view:drawText(4 + ((i - 1) % 2) * 112, y, Text("panel.figure", name[figure], player:getStatus(figure)), nil)
        if i % 2 == 0 then y = y + LINE end
    end
    y = y + 8
    -- What a blow does (the weapon's dice and the level) and what armour
    -- takes off, as the fights reckon them.
    line(Text("panel.figure", name[S.OFFENSE], player:getDamageDice():name()))
    line(Text("panel.figure", name[S.DEFENSE], player:getStatus(S.DEFENSE)))
    line(Text("panel.money", player:getMoney()))
    y = y + 8
    if floor and floor > 0 then line(Text("panel.floor", floor), GREY) end
    local state = C.FullTimeEffect:GetSatietyState(player)
    local record = SATIETY_STATES[state]
    if record then line(record._name, record._color) end
    for _, condition in ipairs(PlayerConditions and PlayerConditions() or {}) do
        line(condition, LOW)
    end
end
