// A plain-text picture of the running game for people and tests: the
// scene, the save slot, the floor, the turn and score, the player (its
// numbers, status, place, equipment, inventory and money), every object of
// the floor by kind and cell, the anima the player knows, and the last
// script error.
//
// What it keeps true: the text depends only on the game's state, never on
// addresses, pointers or the order objects happen to sit in their lists:
// lists are sorted, so two runs that reach the same state write the same
// text. The play clock is left out.
#pragma once

#include <string>

namespace game_dump {

std::string dumpGame();

}  // namespace game_dump
