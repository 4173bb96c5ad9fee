// The game's data files, relative to the working folder: the only place
// their names are written. Loaders default to these, and the scripts read
// them as the read-only settings DATA_RACE .. DATA_SCRIPT (the anima table
// has no setting).
#pragma once

inline constexpr const char* kRaceTableFile = "data/data01.dat";
inline constexpr const char* kClassTableFile = "data/data02.dat";
inline constexpr const char* kItemNameTableFile = "data/data03.dat";
inline constexpr const char* kItemTableFile = "data/data04.dat";
inline constexpr const char* kMonsterTableFile = "data/data05.dat";
inline constexpr const char* kActionTableFile = "data/data06.dat";
inline constexpr const char* kSkillTableFile = "data/data07.dat";
inline constexpr const char* kSpellTableFile = "data/data08.dat";
inline constexpr const char* kScriptPackageFile = "data/data09.dat";
inline constexpr const char* kAnimaTableFile = "data/data10.dat";

// A language's folder: the language's name goes in place of %s. Its files
// are the script kLocaleScript and the tables below, each applied over the
// list of the same records.
inline constexpr const char* kLocaleFolderFormat = "data/locale/%s/";
inline constexpr const char* kLocaleScript = "locale.lua";
inline constexpr const char* kLocaleActionTable = "action.csv";
inline constexpr const char* kLocaleSpellTable = "spell.csv";
inline constexpr const char* kLocaleSkillTable = "skill.csv";
inline constexpr const char* kLocaleItemTable = "item.csv";
inline constexpr const char* kLocaleNameTable = "name.csv";
inline constexpr const char* kLocaleMonsterTable = "mons.csv";
// The creation tables' texts, applied as the opening loads those tables.
inline constexpr const char* kLocaleRaceTable = "race.csv";
inline constexpr const char* kLocaleClassTable = "class.csv";
