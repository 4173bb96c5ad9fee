// What the game tells developer tools about itself (engine/system's
// DevProbes): the questions a scripted run waits on and the game's dump.
//
//   scene <ClassName>   the current scene is of that class
//   ready               the boot is done (the title takes Enter)
//   dump <file>         writes the game's text picture (game_dump.h)
//
// Later screens add their own probes here (the turn manager waiting for
// input, an open menu, the name entry, a text in the log).
#pragma once

namespace game_probes {

void installGameProbes();

}  // namespace game_probes
