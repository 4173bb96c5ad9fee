#include "game/world/status_settings.h"

namespace {
StatusSettings::Source g_source = nullptr;
}

void StatusSettings::setSource(Source source) {
    g_source = source;
}

StatusSettings StatusSettings::current() {
    return g_source ? g_source() : StatusSettings{};
}
