// The common face of every instance registry, through which a task removes
// itself from whichever registry it was recorded in when it is killed.
#pragma once

#include "engine/core/core.h"

namespace qel {

class IRegister : public Core {
public:
    QEL_CLASS_WITHOUT_FACTORY(IRegister, Core, Pool::System);

    // Deletes every registered instance and empties the registry. Never call
    // it on instances the task tree still owns.
    virtual void clear() = 0;
    // Forgets the entry under (key, subKey); absent entries are ignored.
    virtual void remove(int key, int subKey) = 0;
    // The instance under (key, subKey), or null.
    virtual Core* lookup(int key, int subKey) const = 0;
};

}  // namespace qel
