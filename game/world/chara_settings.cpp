#include "game/world/chara_settings.h"

namespace {
CharaSettings::Source g_source = nullptr;
}

void CharaSettings::setSource(Source source) {
    g_source = source;
}

CharaSettings CharaSettings::current() {
    return g_source ? g_source() : CharaSettings{};
}
