-- English: the texts the settings hold, and the skills' level texts as the
-- skill table writes them.
local statusNames = {
    "Life", "Str", "Vit", "Dex", "Per", "Agi", "Wis", "Int", "Cha", "Mana", "Action", "Offense",
    "OffenseSub", "Fire", "Magic", "Defense", "Hit", "HitSub", "HitFire", "HitMagic", "Avoid",
    "Resist", "Weight", "Control", "Torch", "Vision", "InvisiVision", "Telepathy", "Land", "Water",
    "Float", "Through", "Invisible", "ResPhysic", "ResMagic", "ResFire", "ResFreeze", "ResThunder",
    "ResGround", "ResWind", "ResHoly", "ResEvil", "ResPoison", "ResNeural", "ResMind", "ResStone",
    "ActionRatio", "SuccessMagic", "Luck", "ResDeath", "AttackSpeed", "FireSpeed", "MoveSpeed",
    "AutoHealRatio", "AutoHeal", "AutoManaRatio", "AutoMana", "Satiety",
}
for i, name in ipairs(statusNames) do C.STATUS_NAME[i - 1] = name end

C.FRIEND_FORMAT = "%s (ally)"
C.SUMMONED_FORMAT = "%s (summoned)"
C.UNKNOWN_CHARA_NAME = "something"
C.PETRIFY_FORMAT = "stone %s"
C.EQUIP_COUNT = "x%d"
C.ITEMLIST_TAG = "Items"
C.ANIMALIST_TAG = "Anima"

local gauges = {
    SATIETY_OVER = "Overfed", SATIETY_FULL = "Full", SATIETY_EMPTY = "Hungry",
    SATIETY_HUNGER = "Starving", SATIETY_DEAD = "Dying", FIELD_STRAND = "Stranded",
    FIELD_WATER = "Wading", FIELD_SWIM = "Swimming", FIELD_DROWN = "Drowning",
    WEIGHT_OVER = "Burdened", WEIGHT_PRESS = "Strained", WEIGHT_DEAD = "Overloaded",
}
for state, name in pairs(gauges) do C.FullTimeEffect[state]._name = name end

function StrFmt(text)
    return text
end
