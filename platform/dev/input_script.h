// QEL_INPUT_SCRIPT: the keyboard, waits and a few developer actions read
// from a text file, one command a line, so a whole game can be played
// without a person (the end-to-end tests, a bug report that replays).
//
//   press <key>            down for one frame, then up; ends the frame
//   hold <key> / release <key>
//   wait <n>               lets n frames pass
//   until <limit> <probe> [argument]
//                          waits until the game says the probe holds
//                          ("scene SceneGame"); more than <limit> frames
//                          ends the program with exit code 2, naming the line
//   type <text>            text committed by the input method (UTF-8)
//   compose <text>         the input method's composition (UTF-8; empty
//                          clears it), its cursor at the end
//   shot <file.png>        the last frame drawn, as a PNG
//   dump <file>            the game's text picture
//   texts <file>           every text drawn since the run began (or the
//                          last texts), one a line as the game holds it
//   close                  the window's close request, as its button sends
//   # ...                  a comment; blank lines are skipped
//
// Keys are named as on the keyboard: Enter, Escape, Space, Up, Down, Left,
// Right, Home, End, PageUp, PageDown, Delete, Backspace, Tab, Shift, Ctrl,
// A..Z, 0..9, Numpad0..Numpad9, F1..F12. Backspace, Tab, Enter and Escape
// also reach the text entry, as the window's own keys do.
//
// What it keeps true: it runs on the game thread, one step a frame, from
// the input read at the frame's start; the real window's input still comes
// through (keys it holds are added). A line it cannot read ends the run
// with exit code 2 before the first frame.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "engine/input/input_source.h"

namespace qel {

class InputScript : public InputSource {
public:
    struct Line {
        int number = 0;
        std::string command;
        std::vector<std::string> words;  // after the command
        std::string rest;                // the text after the command
    };

    // `window` gives the real input (may be null).
    explicit InputScript(InputSource* window) : window_(window) {}

    // False with the reason (naming the line) for a file that cannot be read
    // or a line that is not a command.
    bool load(const std::string& path, std::string* error);
    bool parse(const std::string& text, std::string* error);

    void readInput(InputSnapshot& out) override;

    // The virtual-key code of a key name; -1 for none.
    static int keyCode(const std::string& name);
    bool finished() const { return next_ >= lines_.size(); }

private:
    // Runs lines until one ends the frame.
    void step();
    void fail(const Line& line, const std::string& why);

    InputSource* window_ = nullptr;
    std::vector<Line> lines_;
    std::size_t next_ = 0;
    std::set<int> held_;
    std::set<int> tapped_;  // down for this frame only
    int waitFrames_ = 0;    // frames still to let pass on the current line
    bool stopped_ = false;
    bool started_ = false;  // the game was asked to record its texts
};

}  // namespace qel
