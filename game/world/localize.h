// Applying a language: its folder (data/locale/<name>/) holds a script,
// locale.lua, and tables that give the records of the data lists their
// texts in that language (locale_table.h). The boot applies the tables once
// every list is loaded, when the LOCALE setting names a language; scripts
// may apply either part themselves. It lives with the lists it changes
// (the item factory, the monsters, the anima sit here, above the game
// data), so every table reaches its list from the first boot on.
//
// What it keeps true: a name that could leave the language folder (one
// holding '/', '\\' or "..") or an empty one names no language, so nothing
// outside data/locale/ is ever read or run. A missing script or table is
// no failure: what exists is applied. The tables are applied in a fixed
// order, each over texts the ones before it already changed (skill level
// texts are built from the translated action and spell names).
#pragma once

#include <string>
#include <vector>

#include "engine/core/core.h"
#include "engine/core/script_object.h"

struct lua_State;
class RaceBase;
class ClassBase;

class Localize : public qel::ScriptObject {
public:
    Localize() = default;
    ~Localize() override = default;

    QEL_CLASS(Localize, qel::ScriptObject, qel::Pool::General);

    // The language's folder ("data/locale/<locale>/"), or empty when
    // `locale` names no language (said on the error stream for a name that
    // could leave the folder).
    static std::string folderOf(const std::string& locale);

    // Runs the language's locale.lua in `L`, the state running now. True
    // when it ran, when the language has none, or when `locale` names no
    // language. A script error shows "locale.lua error" with the window's
    // caption, sets the quit flag and gives false.
    bool exec_lua(lua_State* L, const std::string& locale);

    // Applies the language's tables over the lists, in order: actions,
    // spells, skills, items, unidentified names, monsters, and then the anima take
    // their item texts again. True unless a step fails, which shows a
    // message box, sets the quit flag and stops the chain.
    bool exec_data(const std::string& locale);

    // The language's race and class tables (race.csv, class.csv: id, name,
    // short name, description) over the records of a creation table, which
    // the opening loads itself. Records the table does not name, and every
    // record when `locale` names no language, keep their texts.
    static void applyRaces(const std::string& locale, const std::vector<RaceBase*>& races);
    static void applyClasses(const std::string& locale, const std::vector<ClassBase*>& classes);
};
