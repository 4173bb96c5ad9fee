// Keeps a second copy of the program from running: whoever holds the lock
// of a name is the one running copy. The program's entry gives SysMain the
// operating system's lock; tests give it a fake.
#pragma once

#include <string>

namespace qel {

class InstanceLock {
public:
    virtual ~InstanceLock() = default;

    // Takes the lock named `name` in `directory` (empty: the system's
    // place for such locks). False when another holder has it or the lock
    // cannot be made; isHeldElsewhere tells the two apart.
    virtual bool acquire(const std::string& name, const std::string& directory) = 0;
    virtual void release() = 0;
    virtual bool isHeld() const = 0;
    virtual bool isHeldElsewhere() const = 0;
};

}  // namespace qel
