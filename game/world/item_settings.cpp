#include "game/world/item_settings.h"

namespace {

ItemSettings::Source g_source = nullptr;

}  // namespace

void ItemSettings::setSource(Source source) {
    g_source = source;
}

ItemSettings ItemSettings::current() {
    return g_source ? g_source() : ItemSettings{};
}
