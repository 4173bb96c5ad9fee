// Applying a language: its folder (data/locale/<name>/) holds a script,
// locale.lua, and tables that give the records of the data lists their
// texts in that language (locale_table.h). The boot applies the tables once
// every list is loaded, when the LOCALE setting names a language; scripts
// may apply either part themselves.
//
// What it keeps true: a name that could leave the language folder (one
// holding '/', '\\' or "..") or an empty one names no language, so nothing
// outside data/locale/ is ever read or run. A missing script or table is
// no failure: what exists is applied. The tables are applied in a fixed
// order, each over texts the ones before it already changed (skill level
// texts are built from the translated action and spell names).
#pragma once

#include <string>

#include "engine/core/core.h"

struct lua_State;

class Localize : public qel::Core {
public:
    Localize() = default;
    ~Localize() override = default;

    QEL_CLASS(Localize, qel::Core, qel::Pool::General);

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

    // The steps over lists kept above the game data (items and their
    // unidentified names, monsters, anima), which the game root installs. A
    // null step is skipped.
    struct WorldSteps {
        bool (*items)(const std::string& path) = nullptr;
        bool (*names)(const std::string& path) = nullptr;
        bool (*monsters)(const std::string& path) = nullptr;
        bool (*afterTables)() = nullptr;
    };
    static void setWorldSteps(const WorldSteps& steps);
};
