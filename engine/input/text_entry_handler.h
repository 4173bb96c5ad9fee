// The text-entry handler slot of the input subsystem: updated once a frame
// with the devices. The game installs its text entry here.
#pragma once

namespace qel {

class TextEntryHandler {
public:
    virtual ~TextEntryHandler() = default;
    virtual void update() = 0;
};

}  // namespace qel
