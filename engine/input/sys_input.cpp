#include "engine/input/sys_input.h"

#include "engine/input/input_source.h"
#include "engine/input/text_entry_handler.h"

namespace qel {

SysInput::~SysInput() {
    term();
}

SysInput& SysInput::instance() {
    static SysInput input;
    return input;
}

void SysInput::read(InputSnapshot& snapshot) {
    snapshot = InputSnapshot{};
    if (source_) source_->readInput(snapshot);
}

bool SysInput::init() {
    term();
    InputSnapshot snapshot;
    read(snapshot);
    key_ = new InputKey();
    if (!key_) return false;
    key_->setFrameRate(frameRate_);
    key_->prime(snapshot);
    mouse_ = new InputMouse();
    if (mouse_) mouse_->prime(snapshot);
    return mouse_ != nullptr;
}

void SysInput::term() {
    delete key_;
    key_ = nullptr;
    delete mouse_;
    mouse_ = nullptr;
    for (InputJoystick*& pad : joysticks_) {
        delete pad;
        pad = nullptr;
    }
}

bool SysInput::update() {
    InputSnapshot snapshot;
    read(snapshot);
    if (key_) key_->update(snapshot);
    if (mouse_) mouse_->update(snapshot);
    if (textEntry_) textEntry_->update();
    // Pads would be polled here; none is ever opened.
    return true;
}

InputJoystick* SysInput::joystick(int slot) const {
    return slot >= 0 && slot < kJoystickSlots ? joysticks_[slot] : nullptr;
}

void SysInput::addWheelDelta(int delta) {
    if (mouse_) mouse_->addWheelDelta(delta);
}

}  // namespace qel
