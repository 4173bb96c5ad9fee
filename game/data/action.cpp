#include "game/data/action.h"

#include "engine/file/string_util.h"
#include "game/data/csv_reader.h"

Action::Action() = default;
Action::~Action() = default;

bool Action::parse(CsvReader& reader, const std::string& name, const std::string& tag) {
    name_ = name;
    tag_ = tag;
    luaFunc_ = reader.readText();
    type_ = reader.readInt(-1);
    // Hex text such as 0x13; without the 'x' every bit is set.
    target_ = TARGET_FLAG(static_cast<std::uint32_t>(qel::parseHex(reader.readText())));
    aiType_ = reader.readText();
    range_ = reader.readInt(-1);
    mana_ = reader.readInt(-1);
    ap_ = reader.readInt(-1);
    difficulty_ = reader.readInt(-1);
    useMouse_ = reader.readBool();
    useEyes_ = reader.readBool();
    msg_ = reader.readText();
    for (int i = 0; i < PARAM_MAX; ++i) {
        paramStr_[i] = reader.readText();
        param_[i] = CsvReader::atofFloat(paramStr_[i]);
    }
    explain_ = reader.readText();
    return reader.isGood();
}

const std::string& Action::paramStr(int index) const {
    static const std::string empty;
    return index >= 0 && index < PARAM_MAX ? paramStr_[index] : empty;
}

float Action::param(int index) const {
    return index >= 0 && index < PARAM_MAX ? param_[index] : 0.0f;
}
