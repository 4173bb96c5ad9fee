// The bodies of the global script functions (the C_ functions) that the
// bindings call; each checks nothing the bindings already checked.
#pragma once

class ItemFactory;

// Queues the sound effect `name` for this frame on the sound-effect
// manager, when there is a name and a manager; `flag` changes nothing.
void C_PlaySE(const char* name, bool flag);
// The master volume of the sound players, clamped to 0..1.
void C_SetVolume(float volume);
// The game's item factory.
ItemFactory* C_GetItemFactory();
