-- The sample game's settings: every value the program leaves for the game
-- to choose. Top-level code here only sets settings; it runs on the loader
-- thread during the boot, before any table is loaded.

C.FILE_VERSION = 109
-- The window title reads "Vornhaldeen - Ver" and this.
C.VERSION = "1.0"
-- config.txt (run before C exists) may choose a language: LOCALE = "en".
if type(LOCALE) == "string" then C.LOCALE = LOCALE end
C.SE_OK = "data/se/ok.ogg"
C.SE_CANCEL = "data/se/cancel.ogg"
C.RES_TEX_CHIP = "data/chip.png"

-- Map drawing and sight.
C.CHIP_OPEN_COLOR = 0.5
C.CHIP_VIEW_COLOR = 0.8
C.WATER_COLOR = C.Color(0x604080FF)
C.FREEZE_COLOR = C.Color(0x60C0F0FF)
C.NO_TORCH_COLOR = C.Color(0xA0000000)
C.AI_MEMORY_TIME = 8

-- Text, log and colours. The log's box (6 lines of 16 + 2 pixels and its
-- spaces) runs from y 484 to 597, below the map and above the screen's
-- last line.
C.LOG_VIEW_X = 8
C.LOG_VIEW_Y = 484
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
-- The direction ring: 2 x 2 chips from (12, 13).
C.DIRECTION_CHIP_X = 12
C.DIRECTION_CHIP_Y = 13
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
-- Bare hands.
C.BASE_DAMAGE_DICE = C.Dice(1, 3)
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
C.WEAPON_LEVEL_MIN = -3
C.ARMOR_LEVEL_MIN = -3

-- The settings that hold texts take them from the text tables (text.lua),
-- once a chosen language's texts are in: language.lua calls this last.
-- The status figures' names, in the order of C.STATUS.
local STATUS_TEXTS = {
    "status.life", "status.str", "status.vit", "status.dex", "status.per", "status.agi",
    "status.wis", "status.int", "status.cha", "status.mana", "status.action", "status.offense",
    "status.offense_sub", "status.fire", "status.magic", "status.defense", "status.hit",
    "status.hit_sub", "status.hit_fire", "status.hit_magic", "status.avoid", "status.resist",
    "status.weight", "status.control", "status.torch", "status.vision", "status.invisi_vision",
    "status.telepathy", "status.land", "status.water", "status.float", "status.through",
    "status.invisible", "status.res_physic", "status.res_magic", "status.res_fire",
    "status.res_freeze", "status.res_thunder", "status.res_ground", "status.res_wind",
    "status.res_holy", "status.res_evil", "status.res_poison", "status.res_neural",
    "status.res_mind", "status.res_stone", "status.action_ratio", "status.success_magic",
    "status.luck", "status.res_death", "status.attack_speed", "status.fire_speed",
    "status.move_speed", "status.auto_heal_ratio", "status.auto_heal", "status.auto_mana_ratio",
    "status.auto_mana", "status.satiety",
}
-- Gauge states: satiety, the field under the character, the carried load
-- (the state, its ratio and turns, its text and its colour).
local GAUGES = {
    {"SATIETY_OVER", 1.5, 10, "gauge.satiety_over", C.Color(0xFFFFC040)},
    {"SATIETY_FULL", 1.0, 10, "gauge.satiety_full", C.Color(0xFF80FF80)},
    {"SATIETY_EMPTY", 0.2, 10, "gauge.satiety_empty", C.Color(0xFFFFFF40)},
    {"SATIETY_HUNGER", 0.05, 20, "gauge.satiety_hunger", C.Color(0xFFFF8040)},
    {"SATIETY_DEAD", 0.0, 30, "gauge.satiety_dead", C.Color(0xFFFF4040)},
    {"FIELD_STRAND", 0, 10, "gauge.field_strand", C.Color(0xFFFFFF40)},
    {"FIELD_WATER", 0, 5, "gauge.field_water", C.Color(0xFF80C0FF)},
    {"FIELD_SWIM", 0, 10, "gauge.field_swim", C.Color(0xFF80C0FF)},
    {"FIELD_DROWN", 0, 30, "gauge.field_drown", C.Color(0xFFFF4040)},
    {"WEIGHT_OVER", 1.0, 10, "gauge.weight_over", C.Color(0xFFFFFF40)},
    {"WEIGHT_PRESS", 1.5, 20, "gauge.weight_press", C.Color(0xFFFF8040)},
    {"WEIGHT_DEAD", 2.0, 30, "gauge.weight_dead", C.Color(0xFFFF4040)},
}

function SetTextSettings()
    C.EQUIP_COUNT = Text("setting.equip_count")
    C.FRIEND_FORMAT = Text("setting.friend")
    C.SUMMONED_FORMAT = Text("setting.summoned")
    C.UNKNOWN_CHARA_NAME = Text("setting.unknown_chara")
    C.PETRIFY_FORMAT = Text("setting.petrified")
    C.ITEMLIST_TAG = Text("setting.item_list")
    C.ANIMALIST_TAG = Text("setting.anima_list")
    for i, name in ipairs(STATUS_TEXTS) do C.STATUS_NAME[i - 1] = Text(name) end
    for _, g in ipairs(GAUGES) do C.FullTimeEffect[g[1]]:set(g[2], g[3], Text(g[4]), g[5]) end
end

-- Lists, menus and windows. The item and anima lists lie over the map
-- (x 16 to 536, y 16 to 400: a caption line and 20 rows of 18 pixels);
-- each row reads, left to right: the cursor chip (4 to 20), the row's
-- letter (24), the selection mark (34), the chip (44 to 60), the name
-- (64, up to 32 bytes: 256 pixels) and the weight or rarity (440); the
-- page ("1 / 2") stands at the caption line's right end.
C.ITEMLIST_X = 16
C.ITEMLIST_Y = 16
C.ITEMLIST_WIDTH = 520
C.ITEMLIST_ITEM_MAX = 20
C.ITEMLIST_CURSOR_X = 4
C.ITEMLIST_CODE_X = 24
C.ITEMLIST_SELECT_X = 34
C.ITEMLIST_ICON_X = 44
C.ITEMLIST_NAME_X = 64
C.ITEMLIST_WEIGHT_X = 440
C.ITEMLIST_PAGE_X = 456
C.ITEMLIST_PAGE_Y = 4
C.ITEMLIST_CURSOR = C.Point(13, 15)
C.ITEMLIST_BLINK_ON = 20
C.ITEMLIST_BLINK_OFF = 10
C.ANIMALIST_X = 16
C.ANIMALIST_Y = 16
C.ANIMALIST_WIDTH = 520
C.ANIMALIST_MAX = 20
C.ANIMALIST_CURSOR_X = 4
C.ANIMALIST_CODE_X = 24
C.ANIMALIST_SELECT_X = 34
C.ANIMALIST_ICON_X = 44
C.ANIMALIST_NAME_X = 64
C.ANIMALIST_RARITY_X = 440
C.ANIMALIST_PAGE_X = 456
C.ANIMALIST_PAGE_Y = 4
C.ANIMALIST_OFF_NAME = "???"
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
-- The map fills the left of the screen above the log, the status panel the
-- right.
C.DUNGEON_DRAW_WIDTH = 552
C.DUNGEON_DRAW_HEIGHT = 480
C.STATUS_VIEW_X = 560
C.STATUS_VIEW_Y = 8
C.STATUS_VIEW_WIDTH = 232
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
