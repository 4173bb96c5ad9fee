// The settings the data tables read while they load: one global per
// setting, named as the scripts see it in module `C`, with the start value
// it has before any script runs. They are rows of the settings table
// (game/shell/settings.h registers them with the others); the loaders read
// them directly, so the values the scripts assigned before a table loads
// are the ones its texts are built from.
#pragma once

#include <string>

#include "game/data/status_index.h"

// A skill level's status bonus reads as the figure's display name and the
// amount; a carrying-capacity bonus is scaled by ITEM_WEIGHT_RATIO, and a
// bonus that counts only while equipped is followed by EQUIP_COUNT.
inline float ITEM_WEIGHT_RATIO = 0.0f;
inline std::string EQUIP_COUNT;
// One display name per status index.
inline std::string STATUS_NAME[StatusIndex::TYPE_MAX];
