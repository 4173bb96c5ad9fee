// One thing a character can do (an attack, a spell's effect, the use of an
// item): one row of the action table. The behaviour lives in the script
// function the action names; the record holds the parameters the game and
// the scripts read. Records belong to ActionList and do not change after
// loading, except for the texts a language overlay replaces.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "game/data/target_flag.h"

class CsvReader;

class Action : public qel::ScriptObject {
public:
    // Values of type().
    enum Type : std::int32_t { ACTION = 0, SKILL = 1, MAGIC_BLACK = 2, MAGIC_WHITE = 3, ITEM = 4 };
    static constexpr int PARAM_MAX = 8;

    Action();
    ~Action() override;

    QEL_CLASS(Action, qel::ScriptObject, qel::Pool::Resources);

    // Stores the key cells already read and reads the rest of the row, from
    // the script function to the explanation. False when the data ended
    // before the ',' after the explanation: the row is incomplete.
    bool parse(CsvReader& reader, const std::string& name, const std::string& tag);

    const std::string& name() const { return name_; }
    const std::string& tag() const { return tag_; }
    const std::string& luaFunc() const { return luaFunc_; }
    std::int32_t type() const { return type_; }
    const TARGET_FLAG& target() const { return target_; }
    const std::string& aiType() const { return aiType_; }
    std::int32_t range() const { return range_; }
    std::int32_t mana() const { return mana_; }
    std::int32_t ap() const { return ap_; }
    std::int32_t difficulty() const { return difficulty_; }
    bool useMouse() const { return useMouse_; }
    bool useEyes() const { return useEyes_; }
    const std::string& msg() const { return msg_; }
    // Index 0..PARAM_MAX-1; outside it an empty text and 0.
    const std::string& paramStr(int index) const;
    float param(int index) const;
    const std::string& explain() const { return explain_; }

    // The texts a language overlay replaces.
    void setName(const std::string& name) { name_ = name; }
    void setMsg(const std::string& msg) { msg_ = msg; }
    void setExplain(const std::string& explain) { explain_ = explain; }

private:
    std::string name_;
    std::string tag_;
    std::string luaFunc_;
    std::int32_t type_ = -1;
    TARGET_FLAG target_;
    std::string aiType_;
    std::int32_t range_ = -1;
    std::int32_t mana_ = -1;
    std::int32_t ap_ = -1;
    std::int32_t difficulty_ = -1;
    bool useMouse_ = false;
    bool useEyes_ = false;
    std::string msg_;
    std::array<std::string, PARAM_MAX> paramStr_;
    std::array<float, PARAM_MAX> param_{};
    std::string explain_;
};
