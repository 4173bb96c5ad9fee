// Process entry of the game.
#include "engine/core/sys_memory.h"

int main() {
    if (!qel::SysMemory::instance().init()) return -1;
    return 0;
}
