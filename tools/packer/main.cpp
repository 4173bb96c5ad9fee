// The data packer's command line; see tools/lib/packer.h.
#include <iostream>
#include <string>
#include <vector>

#include "tools/lib/packer.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return qel::tools::runPacker(args, std::cout, std::cerr);
}
