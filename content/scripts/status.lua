-- The status panel beside the map: who the adventurer is, the gauges, the
-- figures and the floor. The program calls DrawStatusView whenever the
-- player's state changed or a redraw was asked for (C_Redraw).

local GOLD = C.Color(0xFFFFE080)
local GREY = C.Color(0xFFB0B0B0)
local LOW = C.Color(0xFFFF6040)
local LINE = 20

local function gauge(now, most)
    if most > 0 and now * 4 <= most then return LOW end
    return nil
end

function DrawStatusView(player, view)
    local S = C.STATUS
    local y = 4
    local function line(text, colour, x)
        view:drawText(x or 4, y, text, colour)
        y = y + LINE
    end
    line(player:getName(), GOLD)
    line(player:getCharaRace() .. " / " .. player:getCharaClass(), GREY)
    line("レベル " .. player:getLevel())
    line("経験 " .. player:getExp() .. " / " .. player:getNextExp())
    local life, lifeMost = player:getLife(), player:getStatus(S.LIFE)
    line("体力 " .. life .. " / " .. lifeMost, gauge(life, lifeMost))
    local mana, manaMost = player:getMana(), player:getStatus(S.MANA)
    line("魔力 " .. mana .. " / " .. manaMost, gauge(mana, manaMost))
    y = y + 8
    local figures = {
        {"筋力", S.STR}, {"体格", S.VIT}, {"器用", S.DEX}, {"知覚", S.PER},
        {"敏捷", S.AGI}, {"意志", S.WIS}, {"知力", S.INT}, {"魅力", S.CHA},
    }
    for i, figure in ipairs(figures) do
        view:drawText(4 + ((i - 1) % 2) * 112, y, figure[1] .. " " .. player:getStatus(figure[2]), nil)
        if i % 2 == 0 then y = y + LINE end
    end
    y = y + 8
    line("攻撃 " .. player:getStatus(S.OFFENSE))
    line("防御 " .. player:getStatus(S.DEFENSE))
    line("所持金 " .. player:getMoney() .. " G")
    y = y + 8
    if floor and floor > 0 then line("地下" .. floor .. "階", GREY) end
end
