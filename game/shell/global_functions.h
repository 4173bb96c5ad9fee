// The bodies of the global script functions (the C_ functions) that the
// bindings call; each checks nothing the bindings already checked.
#pragma once

#include "game/world/value_types.h"

class Dungeon;
class EnemyMaker;
class FieldView;
class ItemFactory;
class NpcFactory;

// Queues the sound effect `name` for this frame on the sound-effect
// manager, when there is a name and a manager; `flag` changes nothing.
void C_PlaySE(const char* name, bool flag);
// The master volume of the sound players, clamped to 0..1.
void C_SetVolume(float volume);
// Creates or replaces the engine font `id` (a null face: the default face);
// false, the id's old font kept, when the font cannot be made or the width
// or weight is negative.
bool C_SetFont(int id, int height, const char* face, int width, int weight, bool italic);
// The game's current dungeon map.
Dungeon* C_GetDungeon();
// The game's item factory.
ItemFactory* C_GetItemFactory();

// The keyboard as this frame's input sampled it, by virtual-key code; a
// code outside 0..255 is never down.
bool C_KeyOn(int key);
// Down this frame and up the frame before: once per press.
bool C_KeyTrg(int key);
// The press frame, then every frame the held key's repeat counter reads 0.
bool C_KeyRpt(int key);
// The direction the held direction keys ask for, each axis in -1..1; with
// Ctrl held only a diagonal counts.
Point C_GetInputDir();
// The game's field view and monster placement table; null once the game
// root is released.
FieldView* C_GetFieldView();
EnemyMaker* C_GetEnemyMaker();
// The game's monster definitions.
NpcFactory* C_GetNpcFactory();

// Asks the scene manager for the opening scene; nothing while another change
// is pending or without a scene manager.
void C_GotoOpening();
