// The eight memory pools, named by what they serve. Every allocation names
// its pool through this enumeration; the numbers themselves matter only to
// the allocator (its arena budget table and the block headers).
#pragma once

namespace qel {

enum class Pool : int {
    // Small game records: dice terms, the save-slot record and save-file
    // list, the object linker used while loading, message-log entries.
    SmallRecords = 0,
    // Engine containers and small engine objects, threads, locks, network
    // packets, and the value objects scripts create (points, vectors,
    // colours, commands, damage records, AI targets).
    General = 1,
    // Tasks and scenes.
    Tasks = 2,
    // Resources (textures, render targets, in-memory files, vertex buffers,
    // sound decoders), the game-data definitions and their lists, and the
    // stream of a scrambled read.
    Resources = 3,
    // All memory of the Lua state, the script host and its parameter lists.
    Script = 4,
    // Render commands (sprites, text, lines) and texture handles.
    RenderCommands = 5,
    // Engine system objects: subsystems, registries and their maps, menus,
    // the window record, devices and files.
    System = 6,
    // World objects: the dungeon, tiles, map objects, status blocks,
    // decorators, list nodes, ranking records.
    World = 7,
};

inline constexpr int kPoolCount = 8;

constexpr int poolIndex(Pool pool) {
    return static_cast<int>(pool);
}

}  // namespace qel
