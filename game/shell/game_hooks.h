// The game's side of the engine's start-up and shutdown: the window
// callbacks, the start-up hook (random seed, resources, camera clear
// colour, the world's view of the settings, Lua, font 1, the sound-effect manager,
// the volume, the title scene) and
// the shutdown hook. The program's entry installs them (installGameHooks).
#pragma once

#include <cstdint>

namespace game_hooks {

// The text of a refused close.
inline constexpr const char* kCannotQuitText = "現在は終了できません";
// The font every screen of the game writes with, made at start-up.
inline constexpr int kGameFont = 1;
// The master volume set at start-up.
inline constexpr float kStartVolume = 0.75f;

// The window's close query: false (with the box) while a game scene's turn
// manager is not waiting for the player.
bool canQuitQuery();
void attachMenuHook();
void detachMenuHook();
bool gameInitHook();
void gameShutdownHook();

// The seed the start-up hook gives the random generator instead of the
// clock's time (a replayable run).
void setStartSeed(std::uint32_t seed);

// Gives the engine the two hooks.
// Ends the world and then the scripts, once the engine has stopped: the map
// objects go while the scripts can still hear of them (their teardowns),
// then the Lua state closes while everything its collectors reach (the
// game root, the windows' registry) is still alive. The program's entry
// calls it after the engine's run returns.
void closeGame();

void installGameHooks();

}  // namespace game_hooks
