// The texts received from the message server, oldest first, until the turn
// manager shows them in the message log at the player's turn.
//
// What it keeps true: a text holds at most kTextBytes bytes, cut on a whole
// Shift-JIS character; the buffer holds at most kMaxTexts texts, dropping
// the oldest. Game thread (the reply handlers run there).
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

#include "engine/core/core.h"

class NetworkTextBuffer : public qel::Core {
public:
    static constexpr std::size_t kTextBytes = 259;
    static constexpr std::size_t kMaxTexts = 256;

    static NetworkTextBuffer& instance();

    QEL_CLASS_WITHOUT_FACTORY(NetworkTextBuffer, qel::Core, qel::Pool::General);

    void add(std::string_view text);
    void clear() { texts_.clear(); }
    // Each text, oldest first, to the running message log in COLOR_NETWORK
    // followed by a line break; the colour goes back to COLOR_DEFAULT. The
    // buffer is emptied (also without a log).
    void flush();
    const std::deque<std::string>& texts() const { return texts_; }

private:
    std::deque<std::string> texts_;
};
