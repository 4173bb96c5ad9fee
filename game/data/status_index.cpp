#include "game/data/status_index.h"

#include <cstring>

const char* const StatusIndex::NAMES[TYPE_MAX] = {
    "LIFE",          "STR",
    "VIT",           "DEX",
    "PER",           "AGI",
    "WIS",           "INT",
    "CHA",           "MANA",
    "ACTION",        "OFFENSE",
    "OFFENSE_SUB",   "FIRE",
    "MAGIC",         "DEFENSE",
    "HIT",           "HIT_SUB",
    "HIT_FIRE",      "HIT_MAGIC",
    "AVOID",         "RESIST",
    "WEIGHT",        "CONTROL",
    "TORCH",         "VISION",
    "INVISI_VISION", "TELEPATHY",
    "LAND",          "WATER",
    "FLOAT",         "THROUGH",
    "INVISIBLE",     "RES_PHYSIC",
    "RES_MAGIC",     "RES_FIRE",
    "RES_FREEZE",    "RES_THUNDER",
    "RES_GROUND",    "RES_WIND",
    "RES_HOLY",      "RES_EVIL",
    "RES_POISON",    "RES_NEURAL",
    "RES_MIND",      "RES_STONE",
    "ACTION_RATIO",  "SUCCESS_MAGIC",
    "LUCK",          "RES_DEATH",
    "ATTACK_SPEED",  "FIRE_SPEED",
    "MOVE_SPEED",    "AUTO_HEAL_RATIO",
    "AUTO_HEAL",     "AUTO_MANA_RATIO",
    "AUTO_MANA",     "SATIETY",
};

std::int32_t StatusIndex::indexOf(const char* name) {
    if (!name) return -1;
    for (std::int32_t i = 0; i < TYPE_MAX; ++i) {
        if (std::strcmp(NAMES[i], name) == 0) return i;
    }
    return -1;
}
