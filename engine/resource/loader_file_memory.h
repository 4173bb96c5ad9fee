// Loads a whole file into a ResFileMemory, through qel::File (which resolves
// '\\' and the case of the name).
#pragma once

#include <string>

#include "engine/resource/loader_base.h"
#include "engine/resource/res_file_memory.h"

namespace qel {

class LoaderFileMemory : public LoaderBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(LoaderFileMemory, LoaderBase, Pool::System);

    LoaderFileMemory(std::string path, ResFileMemory* target);

    bool load() override;

private:
    ResRef<ResFileMemory> target_;
};

}  // namespace qel
