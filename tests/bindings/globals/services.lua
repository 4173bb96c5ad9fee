-- Definitions by tag and index, and items made by id.
check("C_GetSkill", C_GetSkill("fire"):tag(), "fire")
check("C_GetSkill empty", C_GetSkill(""), nil)
check("C_GetSkill nil", C_GetSkill(nil), nil)
check("C_GetSkill unknown", C_GetSkill("nothing"), nil)
check("C_GetSkillIndex 0", C_GetSkillIndex(0):tag(), "fire")
check("C_GetSkillIndex -1", C_GetSkillIndex(-1), nil)
check("C_GetSkillIndex count", C_GetSkillIndex(1), nil)
check("C_GetAction unknown", C_GetAction("nothing", true), nil)
check("C_GetAction nil", C_GetAction(nil), nil)
check("C_GetSpell unknown", C_GetSpell("nothing"), nil)
local skill = C_GetSkill("fire")
check("Skill level outside", skill:levelName(9), nil)
local level = skill:levelData(0)
level._skillPoint = 3
level._name = nil
check("Skill level fields change the record", skill:levelSkillPoint(0), 3)
check("Skill level nil name", skill:levelName(0), "")
check("Skill constants", C.Skill.TYPE_OTHER + C.Skill.SKILL_GRUDGE + C.Action.ITEM, 12)
check("TARGET_FLAG bits", C.TARGET_FLAG(17)._lock and C.TARGET_FLAG(17)._dir, true)
local item = C_CreateItem(1)
check("C_CreateItem", item and item:getBaseId() or "nil", 1)
check("C_CreateItem unknown", C_CreateItem(99), nil)
-- The command record as InputPlayer fills it.
local c = C.Command(C.Command.MOVE, P)
c:setDir(5, -7)
c:setPoint(C.Point(3, 4))
c:setAction(nil)
c:addItem(SANCTUARY)
check("Command", table.concat({c:getType(), c:getDir()._x, c:getDir()._y, c:getPoint()._y,
    tostring(c:getAction()), c:getItemNum(), c:getActor():getId() == P:getId() and 1 or 0}, ","),
    "0,1,-1,4,nil,1,1")
check("Command NONE", C.Command().getType(C.Command()), 39)
