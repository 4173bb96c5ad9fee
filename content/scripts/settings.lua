-- The sample game's settings: every value the program leaves for the game
-- to choose. Top-level code here only sets settings; it runs on the loader
-- thread during the boot, before any table is loaded.

C.FILE_VERSION = 109
C.SE_OK = "data/se/ok.ogg"
C.SE_CANCEL = "data/se/cancel.ogg"
C.RES_TEX_CHIP = "data/chip.png"

-- Map drawing and sight.
C.CHIP_OPEN_COLOR = 0.6
C.CHIP_VIEW_COLOR = 0.45
C.WATER_COLOR = C.Color(0x604080FF)
C.FREEZE_COLOR = C.Color(0x60C0F0FF)
C.NO_TORCH_COLOR = C.Color(0xA0000000)
C.AI_MEMORY_TIME = 8

-- Text, log and colours.
C.LOG_VIEW_X = 8
C.LOG_VIEW_Y = 488
C.LOG_VIEW_TEX_NUM = 6
C.LOG_BUFFER_TEX_NUM = 48
C.LOG_MAX_LENGTH = 96
C.LOG_SPACE_TOP = 4
C.LOG_SPACE_BOTTOM = 4
C.LOG_SPACE_LEFT = 6
C.LOG_SPACE_RIGHT = 6
C.LOG_SPACE_LINE = 2
C.LOG_BACKCOLOR = C.Color(0xC0000018)
C.COLOR_DEFAULT = C.Color(0xFFFFFFFF)
C.COLOR_DAMAGE = C.Color(0xFFFF6060)
C.COLOR_HEAL = C.Color(0xFF60FF60)
C.COLOR_CURSE = C.Color(0xFFC060FF)
C.COLOR_BLESS = C.Color(0xFF80E0FF)
C.COLOR_UNKNOWN = C.Color(0xFFC0C0C0)
C.COLOR_ITEM = C.Color(0xFFFFFF80)
C.COLOR_EQUIP = C.Color(0xFF80FFFF)
C.COLOR_MAGIC = C.Color(0xFF8080FF)
C.COLOR_GRUDGE = C.Color(0xFFFF40A0)
C.COLOR_NETWORK = C.Color(0xFFFFC040)

-- Cursors, blinking and sub-icons.
C.CURSOR_WIDTH = 16
C.CURSOR_HEIGHT = 16
C.CURSOR_BLINK_ON = 20
C.CURSOR_BLINK_OFF = 10
C.DIRECTION_CHIP_X = 14
C.DIRECTION_CHIP_Y = 14
C.DIRECTION_BLINK_FRAME = 15
C.SUB_ICON_BLINK_ON = 30
C.SUB_ICON_BLINK_OFF = 30
C.FRIEND_CHIP = C.Point(0, 15)
C.FRIEND_CHIP_COLOR = C.Color(0xFF60FF60)
C.SUMMON_CHIP = C.Point(1, 15)
C.SUMMON_CHIP_COLOR = C.Color(0xFF60C0FF)
C.ELITE_CHIP = C.Point(2, 15)
C.ELITE_CHIP_COLOR = C.Color(0xFFFFC040)
C.UNIQUE_CHIP = C.Point(3, 15)
C.UNIQUE_CHIP_COLOR = C.Color(0xFFFF4040)
C.PETRIFY_COLOR = C.Color(0xFF808080)

-- Characters and items.
C.BASE_DAMAGE_DICE = C.Dice(1, 2)
C.SATIETY_BASE = 100
C.SATIETY_IDENTITY = 10
C.STATUS_LEVEL_RATIO = 10
C.ST_WEIGHT_BASE = 200
C.ST_WEIGHT_STR = 10
C.ST_WEIGHT_VIT = 5
C.ST_DEFENSE_VIT_RATIO = 0.2
C.CORPSE_ROTTING = 200
C.BAG_LIGHT_RATIO = 0.5
C.BAG_WEIGHT_RATIO = 0.5
C.ITEM_WEIGHT_RATIO = 0.1
C.ITEM_WEIGHT_FORMAT = "%.1f"
C.EQUIP_COUNT = "x%d"
C.FRIEND_FORMAT = "%s (ally)"
C.SUMMONED_FORMAT = "%s (summoned)"
C.UNKNOWN_CHARA_NAME = "something"
C.PETRIFY_FORMAT = "stone %s"
C.WEAPON_LEVEL_MIN = -3
C.ARMOR_LEVEL_MIN = -3

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

-- Gauge states: satiety, the field under the character, the carried load.
C.FullTimeEffect.SATIETY_OVER:set(1.5, 10, "Overfed", C.Color(0xFFFFC040))
C.FullTimeEffect.SATIETY_FULL:set(1.0, 10, "Full", C.Color(0xFF80FF80))
C.FullTimeEffect.SATIETY_EMPTY:set(0.2, 10, "Hungry", C.Color(0xFFFFFF40))
C.FullTimeEffect.SATIETY_HUNGER:set(0.05, 20, "Starving", C.Color(0xFFFF8040))
C.FullTimeEffect.SATIETY_DEAD:set(0.0, 30, "Dying", C.Color(0xFFFF4040))
C.FullTimeEffect.FIELD_STRAND:set(0, 10, "Stranded", C.Color(0xFFFFFF40))
C.FullTimeEffect.FIELD_WATER:set(0, 5, "Wading", C.Color(0xFF80C0FF))
C.FullTimeEffect.FIELD_SWIM:set(0, 10, "Swimming", C.Color(0xFF80C0FF))
C.FullTimeEffect.FIELD_DROWN:set(0, 30, "Drowning", C.Color(0xFFFF4040))
C.FullTimeEffect.WEIGHT_OVER:set(1.0, 10, "Burdened", C.Color(0xFFFFFF40))
C.FullTimeEffect.WEIGHT_PRESS:set(1.5, 20, "Strained", C.Color(0xFFFF8040))
C.FullTimeEffect.WEIGHT_DEAD:set(2.0, 30, "Overloaded", C.Color(0xFFFF4040))

-- Lists, menus and windows.
C.ITEMLIST_TAG = "Items"
C.ITEMLIST_CURSOR = C.Point(13, 15)
C.ITEMLIST_BLINK_ON = 20
C.ITEMLIST_BLINK_OFF = 10
C.ITEMLIST_WEIGHT_X = 520
C.ANIMALIST_TAG = "Anima"
C.ANIMALIST_OFF_NAME = "???"
C.ANIMALIST_RARITY_X = 480
C.ANIMALIST_RARITY_MAX = 5
C.ANIMALIST_RARITY_CHAR = "*"
C.ANIMALIST_RARITY_BLANK = "."
C.ANIMALIST_CURSOR = C.Point(13, 15)
C.ANIMALIST_BLINK_ON = 20
C.ANIMALIST_BLINK_OFF = 10
C.COLOR_ANIMA_ON = C.Color(0xFFFFFFFF)
C.COLOR_ANIMA_OFF = C.Color(0xFF808080)
C.COLOR_ANIMA_RARITY = C.Color(0xFFFFD040)
C.COLOR_ANIMA_BLANK = C.Color(0xFF606060)
C.STATUS_VIEW_X = 520
C.STATUS_VIEW_Y = 8
C.STATUS_VIEW_WIDTH = 272
C.STATUS_VIEW_HEIGHT = 472
C.MENU_TEXT_Y = 6
C.MENU_TEXT_SPACE = 4
C.MENU_END_SPACE = 6
C.MENU_CURSOR_X = 6
C.MENU_NAME_X = 24
C.MENU_PAGE_X_RIGHT = 40
C.MENU_BACKCOLOR = C.Color(0xD0000030)
C.MENU_TEX_WIDTH = 256
C.MENU_TEX_HEIGHT = 256
C.WINDOW_TEX_WIDTH = 512
C.WINDOW_TEX_HEIGHT = 256
C.WINDOW_TOP_SPACE = 6
C.WINDOW_BOTTOM_SPACE = 6
C.WINDOW_RIGHT_SPACE = 8
C.WINDOW_LEFT_SPACE = 8
C.WINDOW_LINE_SPACE = 4
C.WINDOW_BACKCOLOR = C.Color(0xD0000030)
for i = 0, 3 do C.WINDOW_TEX_SIZE[i] = C.Point(512, 256) end
C.IMEWND_TEX_WIDTH = 512
C.IMEWND_TEX_HEIGHT = 64
C.IMEWND_TOP_SPACE = 6
C.IMEWND_BOTTOM_SPACE = 6
C.IMEWND_TAG_X = 8
C.IMEWND_IME_X = 96
C.IMEWND_RIGHT_SPACE = 24
C.IMEWND_LINE_SPACE = 4
C.IMEWND_BACKCOLOR = C.Color(0xD0000030)
