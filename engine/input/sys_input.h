// The input subsystem: samples the keyboard and the mouse once a frame, at
// the start of the frame's update, so that everything in the frame sees the
// same input. Game thread only, except addWheelDelta.
#pragma once

#include "engine/core/sys_base.h"
#include "engine/input/input_joystick.h"
#include "engine/input/input_key.h"
#include "engine/input/input_mouse.h"

namespace qel {

class InputSource;
class TextEntryHandler;

class SysInput : public SysBase {
public:
    static constexpr int kJoystickSlots = 2;

    SysInput() = default;
    ~SysInput() override;
    SysInput(const SysInput&) = delete;
    SysInput& operator=(const SysInput&) = delete;

    static SysInput& instance();
    QEL_CLASS(SysInput, SysBase, Pool::System);

    // Where the devices read from (the main window); none reads as a
    // window in the background. Set before init.
    void readFrom(InputSource* source) { source_ = source; }
    void setFrameRate(int framesPerSecond) { frameRate_ = framesPerSecond; }
    void setTextEntryHandler(TextEntryHandler* handler) { textEntry_ = handler; }
    TextEntryHandler* textEntryHandler() const { return textEntry_; }

    bool init() override;
    void term() override;
    bool update() override;

    InputKey* key() const { return key_; }
    InputMouse* mouse() const { return mouse_; }
    InputJoystick* joystick(int slot) const;
    // Window thread: a wheel message, in 1/120 notches.
    void addWheelDelta(int delta);

    // What the script functions answer for a virtual-key code.
    bool isKeyOn(int key) const { return key_ && key_->isOn(key); }
    bool isKeyTrigger(int key) const { return key_ && key_->isTrigger(key); }
    bool isKeyRepeat(int key) const { return key_ && key_->isRepeat(key); }
    // The pad queries read the first pad; false when there is none.
    bool isPadOn(int code) const { return joysticks_[0] && joysticks_[0]->isOn(code); }
    bool isPadTrigger(int code) const { return joysticks_[0] && joysticks_[0]->isTrigger(code); }
    bool isPadRepeat(int code) const { return joysticks_[0] && joysticks_[0]->isRepeat(code); }

private:
    void read(InputSnapshot& snapshot);

    InputKey* key_ = nullptr;
    InputMouse* mouse_ = nullptr;
    TextEntryHandler* textEntry_ = nullptr;
    InputJoystick* joysticks_[kJoystickSlots] = {};
    InputSource* source_ = nullptr;
    int frameRate_ = 60;
};

}  // namespace qel
