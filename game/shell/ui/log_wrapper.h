// How the message log breaks its texts into runs on fixed-width lines:
// Shift-JIS aware, at most a frame's worth of new lines at a time.
//
// What it keeps true: a two-byte character is never split across runs; a
// line takes at least one character, however narrow; a new line is started
// only by a run that has bytes to write, so two line feeds in a row leave no
// empty line; once the frame's new lines are used up, the rest of the text
// (from the character that needed the next line) is handed back whole.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "game/world/value_types.h"

class LogWrapper {
public:
    struct Run {
        bool newLine = false;  // the run starts a new line
        int line = 0;          // lines started this frame before the run is written
        std::uint32_t column = 0;
        std::string bytes;
        Color colour;
        bool operator==(const Run&) const = default;
    };

    // Bytes per line (taken as at least 1) and the lines a frame can write
    // into (the current one and linesPerFrame - 1 new ones).
    LogWrapper(std::uint32_t maxLength, int linesPerFrame);

    // Adds one entry; a line entry that does not fit on the rest of the
    // current line starts on the next. False when the frame's lines ran out:
    // `rest` then holds the text not yet written.
    bool add(std::string_view text, Color colour, bool lineEntry, std::vector<Run>& runs,
             std::string& rest);
    // A new frame: its lines are counted from 0 again.
    void nextFrame() { advanced_ = 0; }
    int linesThisFrame() const { return advanced_; }
    std::uint32_t column() const { return column_; }

private:
    bool write(std::string_view text, std::size_t from, std::size_t count, Color colour,
               std::vector<Run>& runs, std::string& rest);

    std::uint32_t maxLength_;
    int linesPerFrame_;
    std::uint32_t column_ = 0;
    bool newLinePending_ = false;
    int advanced_ = 0;
};
