#include "game/world/object_settings.h"

namespace {
ObjectSettings::Source g_source = nullptr;
}

void ObjectSettings::setSource(Source source) {
    g_source = source;
}

ObjectSettings ObjectSettings::current() {
    return g_source ? g_source() : ObjectSettings{};
}
