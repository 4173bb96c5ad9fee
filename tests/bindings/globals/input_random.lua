-- Pads without a pad, dice, and the random draws against the raw outputs
-- of the seeded generator (RAW, drawn from the same seed by the test).
local i = 0
local function raw()
    i = i + 1
    return RAW[i]
end

for _, index in ipairs({-1, 0, 39, 40, 1000}) do
    check("C_PadOn " .. index, C_PadOn(index), false)
    check("C_PadTrg " .. index, C_PadTrg(index), false)
    check("C_PadRpt " .. index, C_PadRpt(index), false)
end

-- Dice that draw nothing first, so the raw sequence below stays aligned.
check("C_Dice 3d1", C_Dice(3, 1), 3)
check("C_Dice -2d0", C_Dice(-2, 0), -2)

check("C_GetRandt", C_GetRandt(), raw())
check("C_GetRandI_0toN 10", C_GetRandI_0toN(10), raw() % 10)
check("C_GetRandI_0toN 0 is 1", C_GetRandI_0toN(0), (raw() % 1))
check("C_GetRandI_1toN 6", C_GetRandI_1toN(6), raw() % 6 + 1)
check("C_GetRandI_1toN 0 is 1", C_GetRandI_1toN(0), 1)
raw()
check("C_GetRandI_NtoM -2 2", C_GetRandI_NtoM(-2, 2), -2 + raw() % 5)
check("C_GetRandI_NtoM 3 3", C_GetRandI_NtoM(3, 3), 3 + raw() % 1)
check("C_GetRandI_NtoM span 0 gives n", C_GetRandI_NtoM(5, 4), 5)
check("C_GetRandI_NtoM m below n", C_GetRandI_NtoM(7, 1), 1 + raw() % 7)
local f = C_GetRandF_0to1()
local expected = raw() * 2 ^ -32
check("C_GetRandF_0to1", math.abs(f - expected) < 1e-6, true)
local g = C_GetRandF_0toN(10)
check("C_GetRandF_0toN in range", g >= 0 and g < 10, true)
raw()
local h = C_GetRandF_NtoM(-1, 1)
check("C_GetRandF_NtoM in range", h >= -1 and h < 1, true)
raw()

local rolls = {}
for _ = 1, 200 do
    local r = C_Dice(2, 6)
    rolls[r] = true
    if r < 2 or r > 12 then check("C_Dice 2d6 range", r, "2..12") end
end
check("C_Dice 2d6 reaches 2 or 12", rolls[2] or rolls[12] or false, true)
check("C_Dice past the dice cap", C_Dice(2000000000, 1), 2000000000)
check("C_Dice huge count is capped", C_Dice(2000000000, 2) <= 200000, true)
check("C_KeyOn outside", C_KeyOn(300), false)
