// The data packer's command line; see tools/lib/packer.h.
#include <iostream>
#include <string>
#include <vector>

#include "engine/file/file_system.h"
#include "platform/os/posix_file_system.h"
#include "tools/lib/packer.h"

int main(int argc, char** argv) {
    qel::FileSystem::install(&qel::PosixFileSystem::instance());
    const std::vector<std::string> args(argv + 1, argv + argc);
    return qel::tools::runPacker(args, std::cout, std::cerr);
}
