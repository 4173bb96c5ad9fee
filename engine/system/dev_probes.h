// Named questions and actions about the running game that developer tools
// ask for (a scripted input run waits for "scene SceneGame", writes a
// "dump"). The game registers what it can answer; the tools only ask, so
// they never see the game's classes.
//
// What it keeps true: asking for a name nobody registered is told apart
// from a false answer; probes and actions run on the game thread, between
// frames (the only place the tools ask from).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qel {

class DevProbes {
public:
    // Whether the game is in the state the argument names.
    using Probe = bool (*)(std::string_view argument);
    // Does something with the argument (a file name, say); false on failure.
    using Action = bool (*)(std::string_view argument);

    static void setProbe(const std::string& name, Probe probe);
    static void setAction(const std::string& name, Action action);
    // Null answers: no probe or action of that name.
    static std::optional<bool> ask(std::string_view name, std::string_view argument);
    static std::optional<bool> run(std::string_view name, std::string_view argument);
    static void clear();
};

}  // namespace qel
