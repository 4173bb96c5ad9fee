// Keeps a second copy of the program from running: whoever holds the lock
// of a name in a folder is the one running copy there. The program's entry
// gives SysMain the operating system's lock and the folder it guards (the
// save folder, so copies with folders of their own run side by side);
// tests give it a fake.
#pragma once

#include <string>

namespace qel {

class InstanceLock {
public:
    virtual ~InstanceLock() = default;

    // Takes the lock named `name` in `directory` (made when missing; empty:
    // the system's place for such locks). False when another holder has it
    // or the lock cannot be made; isHeldElsewhere tells the two apart.
    virtual bool acquire(const std::string& name, const std::string& directory) = 0;
    // The folder of the last acquire as the player knows it (Shift-JIS), for
    // the refusal's text; empty when there is nothing to name.
    virtual std::string place() const = 0;
    virtual void release() = 0;
    virtual bool isHeld() const = 0;
    virtual bool isHeldElsewhere() const = 0;
};

}  // namespace qel
