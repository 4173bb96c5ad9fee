-- Every text the game shows, by name. TEXT holds them in Japanese, the
-- game's own language. A language's locale.lua (run last, see
-- language.lua) sets TEXT_LANGUAGE to a table of the same names in its own
-- words: each name it holds replaces the Japanese text, and a name it lacks
-- shows in Japanese. The content lint checks that every name the scripts
-- use is in both tables, with the same % conversions.
--
-- Scripts read a text only through Text: Text(name) gives it as written,
-- Text(name, values...) fills its conversions with string.format
-- (Text("log.picked", name) for "%sを拾った。"). Values keep their order in
-- every language; a text given values writes "%%" for a percent sign. A
-- quoted text holding a character whose second byte is "\" goes in [[...]]
-- (the packer names the line).

TEXT = {
    -- The settings' texts (settings.lua).
    ["setting.equip_count"] = "×%d",
    ["setting.friend"] = "%s（仲間）",
    ["setting.summoned"] = "%s（召喚）",
    ["setting.unknown_chara"] = "何者か",
    ["setting.petrified"] = "石になった%s",
    ["setting.item_list"] = "持ち物",
    ["setting.anima_list"] = "アニマ",

    -- The status figures, in the order of C.STATUS.
    ["status.life"] = "生命",
    ["status.str"] = "筋力",
    ["status.vit"] = "耐久",
    ["status.dex"] = "器用",
    ["status.per"] = "感知",
    ["status.agi"] = "敏捷",
    ["status.wis"] = "精神",
    ["status.int"] = "知力",
    ["status.cha"] = "魅力",
    ["status.mana"] = "魔力",
    ["status.action"] = "行動",
    ["status.offense"] = "攻撃",
    ["status.offense_sub"] = "副攻撃",
    ["status.fire"] = "射撃",
    ["status.magic"] = "魔攻",
    ["status.defense"] = "防御",
    ["status.hit"] = "命中",
    ["status.hit_sub"] = "副命中",
    ["status.hit_fire"] = "射撃命中",
    ["status.hit_magic"] = "魔法命中",
    ["status.avoid"] = "回避",
    ["status.resist"] = "抵抗",
    ["status.weight"] = "積載",
    ["status.control"] = "統率",
    ["status.torch"] = "灯り",
    ["status.vision"] = "視界",
    ["status.invisi_vision"] = "透視",
    ["status.telepathy"] = "念視",
    ["status.land"] = "陸行",
    ["status.water"] = "水行",
    ["status.float"] = "浮遊",
    ["status.through"] = "透過",
    ["status.invisible"] = "透明",
    ["status.res_physic"] = "物理耐性",
    ["status.res_magic"] = "魔法耐性",
    ["status.res_fire"] = "火炎耐性",
    ["status.res_freeze"] = "冷気耐性",
    ["status.res_thunder"] = "電撃耐性",
    ["status.res_ground"] = "大地耐性",
    ["status.res_wind"] = "風耐性",
    ["status.res_holy"] = "聖耐性",
    ["status.res_evil"] = "邪耐性",
    ["status.res_poison"] = "毒耐性",
    ["status.res_neural"] = "麻痺耐性",
    ["status.res_mind"] = "精神耐性",
    ["status.res_stone"] = "石化耐性",
    ["status.action_ratio"] = "行動倍率",
    ["status.success_magic"] = "詠唱成功",
    ["status.luck"] = "幸運",
    ["status.res_death"] = "即死耐性",
    ["status.attack_speed"] = "攻撃速度",
    ["status.fire_speed"] = "射撃速度",
    ["status.move_speed"] = "移動速度",
    ["status.auto_heal_ratio"] = "自然回復率",
    ["status.auto_heal"] = "自然回復",
    ["status.auto_mana_ratio"] = "魔力回復率",
    ["status.auto_mana"] = "魔力回復",
    ["status.satiety"] = "満腹度",

    -- Gauge states: satiety, the field under the character, the load.
    ["gauge.satiety_over"] = "食べ過ぎ",
    ["gauge.satiety_full"] = "満腹",
    ["gauge.satiety_empty"] = "空腹",
    ["gauge.satiety_hunger"] = "飢餓",
    ["gauge.satiety_dead"] = "餓死寸前",
    ["gauge.field_strand"] = "座礁",
    ["gauge.field_water"] = "水中歩行",
    ["gauge.field_swim"] = "水泳中",
    ["gauge.field_drown"] = "溺れ",
    ["gauge.weight_over"] = "重荷",
    ["gauge.weight_press"] = "過重",
    ["gauge.weight_dead"] = "重量超過",

    -- The skills' level texts, by the key the skill table writes
    -- (StrFmt in game.lua).
    ["level.Sword mastery"] = "剣の心得",
    ["level.Blunt mastery"] = "鈍器の心得",
    ["level.Axe mastery"] = "斧の心得",
    ["level.Shield mastery"] = "盾の心得",
    ["level.Magic"] = "魔術",
    ["level.Archery"] = "弓の心得",
    ["level.Swims in deep water"] = "深い水を泳ぐ",
    ["level.Dodge"] = "身をかわす",
    ["level.Flies over water"] = "水の上を飛ぶ",
    ["level.Slash"] = "斬撃",
    ["level.Poisonous bite"] = "毒の牙",
    ["level.Fights with two weapons"] = "二つの武器で戦う",

    -- The opening (opening.lua).
    ["opening.heading"] = "ヴォルンハルデン　冒険者の登録",
    ["opening.help_choose"] = "↑↓で選び、Enterで決定します。",
    ["opening.help_choose_back"] = "↑↓で選び、Enterで決定、Escで戻ります。",
    ["opening.help_name"] = "名前を入力してEnterで決定、Escで戻ります。",
    ["opening.help_confirm"] = "この冒険者で始めますか？　Escで名前に戻ります。",
    ["opening.welcome"] = "ようこそ",
    ["opening.new"] = "新しく冒険を始める",
    ["opening.continue"] = "続きから",
    ["opening.quit"] = "終了する",
    ["opening.continue_caption"] = "続ける冒険",
    ["opening.race_caption"] = "種族を選んでください",
    ["opening.class_caption"] = "職業を選んでください",
    ["opening.sex_caption"] = "性別を選んでください",
    ["opening.confirm_caption"] = "冒険に出ますか？",
    ["opening.yes"] = "はい",
    ["opening.again"] = "最初から選び直す",
    ["opening.adventurer"] = "あなたの冒険者",
    ["opening.no_figures"] = [[能力の補正なし]],
    ["opening.skills"] = [[技能：%s]],
    ["opening.skill_separator"] = "、",
    ["opening.name"] = "名前　%s",
    ["opening.sex"] = "性別　%s",
    ["opening.race"] = "種族　%s",
    ["opening.class"] = "職業　%s",
    ["opening.name_entry"] = "名前（空欄なら%s）",
    -- The entry's input mode: "hiragana" or "alphanumeric".
    ["opening.name_mode"] = "hiragana",
    ["opening.male"] = "男性",
    ["opening.female"] = "女性",
    -- The name of one who leaves the entry empty.
    ["opening.default_male"] = "アルト",
    ["opening.default_female"] = "リーナ",

    -- The status panel (status.lua).
    ["panel.race_class"] = "%s / %s",
    ["panel.level"] = "レベル %d",
    ["panel.exp"] = "経験 %d / %d",
    ["panel.gauge"] = "%s %d / %d",
    ["panel.figure"] = "%s %s",
    ["panel.money"] = "所持金 %d G",
    ["panel.floor"] = "地下%d階",

    -- The log: the floors, fights and the end (game.lua).
    ["log.floor"] = "地下%d階",
    ["log.level_up"] = "レベルが上がった！（レベル%d）",
    ["log.hurt_player"] = "%sの攻撃。%dのダメージを受けた。",
    ["log.hurt_other"] = "%sに%dのダメージを与えた。",
    ["log.defeated"] = "%sを倒した。",
    ["log.goal_taken"] = "暁の宝珠を手に入れた！",
    ["log.fallen"] = "あなたは力尽きた……",

    -- The log: what the turns do (game.lua).
    ["log.poisoned"] = "毒が回った！",
    ["log.cast_fire"] = "%sは炎の呪文を唱えた。",
    ["log.breathe_fire"] = "%sは炎を吐いた。",
    ["log.haste_over"] = "体の軽さが消えた。",
    ["log.starving"] = "お腹が空いて倒れそうだ。",
    ["log.poison_over"] = "毒が抜けた。",
    ["log.full"] = "お腹がいっぱいだ。",
    ["log.fed"] = "お腹が満たされた。",
    ["condition.hasted"] = "加速",
    ["condition.poisoned"] = "毒",

    -- The log: items (items.lua).
    ["log.nothing_carried"] = "何も持っていない。",
    ["log.nothing_here"] = "足元には何もない。",
    ["log.gold_picked"] = "金貨を%d枚拾った。",
    ["log.picked"] = "%sを拾った。",
    ["log.dropped"] = "%sを置いた。",
    ["log.equipped"] = "%sを装備した。",
    ["log.taken_off"] = "%sを外した。",
    ["log.cannot_equip"] = "%sは装備できない。",
    ["log.quaffed"] = "%sを飲んだ。",
    ["log.read"] = "%sを読んだ。",
    ["log.eaten"] = "%sを食べた。",
    ["log.zapped"] = "%sを振った。",
    ["log.healed"] = "傷が癒えた。",
    ["log.mana"] = "魔力がみなぎった。",
    ["log.poison"] = "毒だ！",
    ["log.speed"] = "体が軽くなった。",
    ["log.teleport"] = "体が宙に浮き、別の場所に出た。",
    ["log.identify"] = "持ち物の正体がわかった。",
    ["log.light"] = "辺りが明るくなった。",
    ["log.sanctuary"] = "聖なる気配が足元に満ちた。",
    ["log.fire_missed"] = "炎は虚空に消えた。",
    ["log.fire_hit"] = "炎が%sを包んだ。",
    ["log.shot"] = "%sに矢を放った。",
    ["log.action"] = "%s。", -- an action's own message (its table's msg) as a line
    ["log.no_bow"] = "弓を装備していない。",
    ["log.no_arrows"] = "矢をつがえていない。",
    ["log.no_target"] = "狙える相手がいない。",
    ["log.no_spell"] = "呪文を知らない。",
    ["log.no_mana"] = "魔力が足りない。",

    -- The log: saving (saves.lua).
    ["log.saved"] = "冒険を記録した。",
    ["log.not_saved"] = "冒険を記録できなかった。",

    -- Item names (items.lua).
    ["item.corpse"] = "%sの%s",
    ["item.stock"] = "%s（%d%s）",
    ["item.worn"] = "%s（装備中）",
    ["item.sanctuary"] = "聖域の巻物",

    -- The inventory's actions (items.lua).
    ["inventory.take_off"] = "外す",
    ["inventory.equip"] = "装備する",
    ["inventory.quaff"] = "飲む",
    ["inventory.read"] = "読む",
    ["inventory.eat"] = "食べる",
    ["inventory.zap"] = "振る",
    ["inventory.drop"] = "置く",

    -- The game's menu and the save slots (saves.lua).
    ["menu.caption"] = "メニュー",
    ["menu.quit"] = "セーブして終了する",
    ["menu.opening"] = "セーブして最初の画面へ",
    ["menu.back"] = "冒険を続ける",
    ["slot.name"] = "%s　地下%d階",

    -- The end and the ranking (game.lua).
    ["end.cleared_caption"] = "冒険の達成",
    ["end.fallen_caption"] = "冒険の終わり",
    ["end.who"] = "%s（%sの%s）",
    ["end.cleared"] = "暁の宝珠を手にした。",
    ["end.fallen"] = "地下%d階で力尽きた。",
    ["end.figures"] = "レベル%d　所持金%d　得点%d",
    ["end.ranking"] = [[― ランキング ―]],
    ["end.back"] = "Enterで最初の画面に戻ります。",
    ["ranking.cleared"] = "%s　暁の宝珠を手にした",
    ["ranking.fallen"] = "%s　地下%d階で力尽きた",
}

TEXT_LANGUAGE = nil

-- The text of `name` in the chosen language (in Japanese when the language
-- lacks it), its conversions filled with the values when there are any. A
-- name no table holds shows as itself in angle brackets; values that do
-- not fit the conversions leave the text as written.
function Text(name, ...)
    local text = TEXT_LANGUAGE and TEXT_LANGUAGE[name]
    if type(text) ~= "string" then text = TEXT[name] end
    if type(text) ~= "string" then return "<" .. tostring(name) .. ">" end
    if select("#", ...) == 0 then return text end
    local ok, filled = pcall(string.format, text, ...)
    if ok then return filled end
    return text
end
