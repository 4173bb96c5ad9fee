# The game's own sample content, packed into the run folder's data/ (the
# program runs in the folder holding data/).
set(QEL_CONTENT_DIR ${CMAKE_CURRENT_LIST_DIR})
set(QEL_RUN_DATA ${CMAKE_BINARY_DIR}/run/data)
# Every table's rows are checked against its header, and the chips the
# tables name against the chip sheet, as they are packed.
set(QEL_CHIP_ART ${QEL_CONTENT_DIR}/art/chips.txt)
qel_pack_table(content_races ${QEL_CONTENT_DIR}/tables/race.csv ${QEL_RUN_DATA}/data01.dat TABLE CHIPS ${QEL_CHIP_ART})
qel_pack_table(content_classes ${QEL_CONTENT_DIR}/tables/class.csv ${QEL_RUN_DATA}/data02.dat TABLE CHIPS ${QEL_CHIP_ART})
qel_pack_table(content_actions ${QEL_CONTENT_DIR}/tables/action.csv ${QEL_RUN_DATA}/data06.dat TABLE)
qel_pack_table(content_spells ${QEL_CONTENT_DIR}/tables/spell.csv ${QEL_RUN_DATA}/data08.dat TABLE)
qel_pack_table(content_skills ${QEL_CONTENT_DIR}/tables/skill.csv ${QEL_RUN_DATA}/data07.dat TABLE)
qel_pack_table(content_items ${QEL_CONTENT_DIR}/tables/item.csv ${QEL_RUN_DATA}/data04.dat TABLE CHIPS ${QEL_CHIP_ART})
qel_pack_table(content_names ${QEL_CONTENT_DIR}/tables/name.csv ${QEL_RUN_DATA}/data03.dat TABLE)
qel_pack_table(content_monsters ${QEL_CONTENT_DIR}/tables/monster.csv ${QEL_RUN_DATA}/data05.dat TABLE CHIPS ${QEL_CHIP_ART})
qel_pack_table(content_distribution ${QEL_CONTENT_DIR}/tables/distribution.csv ${QEL_RUN_DATA}/enemy.dat TABLE)
qel_pack_table(content_anima ${QEL_CONTENT_DIR}/tables/anima.csv ${QEL_RUN_DATA}/data10.dat TABLE)
qel_pack_scripts(content_scripts ${QEL_RUN_DATA}/data09.dat BASE_DIR ${QEL_CONTENT_DIR}/scripts
                 FILES text.lua settings.lua main.lua game.lua items.lua saves.lua opening.lua status.lua language.lua TEXT)
# The English overlay (config.txt: LOCALE = "en"): its tables scrambled
# like the data tables, its locale.lua (plain ASCII) copied as it is.
set(content_locale_targets "")
foreach(table action spell skill item name mons race class)
  qel_pack_table(content_locale_en_${table} ${QEL_CONTENT_DIR}/locale/en/${table}.csv
                 ${QEL_RUN_DATA}/locale/en/${table}.csv TABLE)
  list(APPEND content_locale_targets content_locale_en_${table})
endforeach()
add_custom_command(
  OUTPUT ${QEL_RUN_DATA}/locale/en/locale.lua
  COMMAND ${CMAKE_COMMAND} -E copy ${QEL_CONTENT_DIR}/locale/en/locale.lua
          ${QEL_RUN_DATA}/locale/en/locale.lua
  DEPENDS ${QEL_CONTENT_DIR}/locale/en/locale.lua
  COMMENT "Copying the English locale.lua"
  VERBATIM)
add_custom_target(content_locale_en_script ALL DEPENDS ${QEL_RUN_DATA}/locale/en/locale.lua)
list(APPEND content_locale_targets content_locale_en_script)
# Sound effects, synthesised from content/sounds/<name>.txt into data/se/<name>.ogg.
set(QEL_CONTENT_SOUNDS ok cancel cursor hit miss pickup stairs levelup death clear)
set(content_sound_targets "")
foreach(name ${QEL_CONTENT_SOUNDS})
  qel_generate_sound(content_se_${name} ${QEL_CONTENT_DIR}/sounds/${name}.txt
                     ${QEL_RUN_DATA}/se/${name}.ogg)
  list(APPEND content_sound_targets content_se_${name})
endforeach()
# The chip sheet, drawn from content/art/chips.txt.
qel_generate_picture(content_chips ${QEL_CONTENT_DIR}/art/chips.txt ${QEL_RUN_DATA}/chip.png)
# The title picture, drawn from content/art/title.txt (a PNG under the name
# the title scene asks for).
qel_generate_picture(content_title ${QEL_CONTENT_DIR}/art/title.txt ${QEL_RUN_DATA}/title.dat)
add_custom_target(content DEPENDS content_chips content_title ${content_sound_targets} ${content_locale_targets} content_races content_classes content_actions content_spells content_skills content_items content_names content_monsters content_distribution content_anima
                                  content_scripts)
