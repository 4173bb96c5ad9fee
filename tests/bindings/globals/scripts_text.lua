-- Running files, the last error, cutting Shift-JIS text, the version, the
-- anima the player knows, and the two functions that do nothing.
C_Trace("anything")
C_Trace()
C_EncryptFile("a", "b", true)
C_EncryptFile()

check("C_DoLuaFile missing", C_DoLuaFile("no/such/file.lua"), false)
check("C_GetLuaError missing", C_GetLuaError(), "cannot open no/such/file.lua")

-- Two two-byte characters ("あい" in Shift-JIS) and ASCII around them.
local two = "\130\160\130\162"
check("C_SubString length 3", C_SubString(two, 0, 3), "\130\160")
check("C_SubString length 0", C_SubString(two, 0, 0), two)
check("C_SubString length 1", C_SubString(two, 0, 1), "")
check("C_SubString length 2", C_SubString(two, 0, 2), "\130\160")
check("C_SubString length 4", C_SubString(two, 0, 4), two)
check("C_SubString length 9", C_SubString(two, 0, 9), two)
check("C_SubString negative length", C_SubString(two, 0, -1), two)
check("C_SubString trail-byte start", C_SubString(two, 1, 0), "\130\162")
check("C_SubString negative start", C_SubString("abc", -4, 2), "ab")
check("C_SubString past the end", C_SubString("abc", 3, 1), "")
check("C_SubString lone lead byte", C_SubString("a\130", 1, 0), "\130")
check("C_SubString nil", C_SubString(nil, 0, 0), "")

local version = C_GetVersion()
check("C_GetVersion starts with the title", version:find(C.GAME_TITLE, 1, true) ~= nil, true)
check("C_GetVersion has the build", version:find(" - last build ", 1, true) ~= nil, true)

check("C_GetAnimaID", C_GetAnimaID("fire"), 2)
check("C_GetAnimaID unknown", C_GetAnimaID("wind"), 0)
check("C_GetAnima", C_GetAnima(2):tag(), "fire")
check("C_GetAnima unknown", C_GetAnima(0), nil)
check("C_GetAnimaRandom below every level", C_GetAnimaRandom(4), nil)
check("C_GetAnimaRandom", C_GetAnimaRandom(5):tag(), "fire")
check("C_HaveAnima before", C_HaveAnima(2), false)
C_SetAnima(2)
C_SetAnima(7, true)
check("C_HaveAnima after", C_HaveAnima(2), true)
check("C_HaveAnima unknown id", C_HaveAnima(7), false)
check("C_GetHaveAnimaNum", C_GetHaveAnimaNum(), 1)
C_SetAnima(2, false)
check("C_GetHaveAnimaNum removed", C_GetHaveAnimaNum(), 0)
