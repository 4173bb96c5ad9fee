// The sample content as the program boots it, for every test and benchmark
// that plays on it: a copy of the run folder's data/ in a scratch folder
// that becomes the working folder, and the Lua host started. boot() then
// runs the boot loader over it with the script interface (the tables, the
// script package and the world, as the title does). When the object goes,
// what a boot loads goes too (the Lua state, the tables, the full-time
// effect records, the global record, the window title), and the working
// folder, the script interface and every setting are put back.
#pragma once

#include <filesystem>
#include <string>

#include "tests/support/scratch_folder.h"

namespace qel::test {

class SampleContent {
public:
    SampleContent();
    ~SampleContent();
    SampleContent(const SampleContent&) = delete;
    SampleContent& operator=(const SampleContent&) = delete;

    // The folder holding data/, the working folder while the object lives.
    const std::filesystem::path& folder() const { return scratch_.path(); }
    // False when the Lua host could not be started.
    bool ready() const { return ready_; }

    // Boots the content with the script bindings; false, with the reason in
    // failure(), when the boot did not finish.
    bool boot();
    const std::string& failure() const { return failure_; }

private:
    ScratchFolder scratch_;
    std::string title_;
    std::filesystem::path previous_;
    bool ready_ = false;
    std::string failure_;
};

}  // namespace qel::test
