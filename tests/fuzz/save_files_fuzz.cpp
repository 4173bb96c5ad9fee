// The slot and global files over any bytes. The first byte picks the file:
// 0 a game (a u32 length, that many bytes of player file, the rest its
// floor "cave" 2), 1 the global record, 2 a character file of id 1. The
// bytes are plain and stored scrambled, as the game stores them.
//   - A refused game names its reason and leaves no object and no pending
//     link; a loaded one saves and loads again.
//   - No block of any pool outlives the input.
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "engine/system/message_box.h"
#include "game/shell/save/save_data.h"
#include "game/shell/settings.h"
#include "game/shell/task_field.h"
#include "game/world/game_data.h"
#include "game/world/object_linker.h"
#include "game/world/object_manager.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// The saves go to "save" of the working folder: a private one for the run,
// entered for each input only (the replay names its inputs relative to the
// folder it was started in).
class PrivateFolder {
public:
    PrivateFolder() : previous_(std::filesystem::current_path()) {
        // Plain storage: the exit handler that removes the folder runs after
        // every static object is gone.
        static char folder[4096] = {};
        if (folder[0] == '\0') {
            qel::MessageBox::setSink([](const std::string&, const std::string&) {});
            const std::string pattern =
                (std::filesystem::temp_directory_path() / "qel_save_fuzz_XXXXXX").string();
            if (pattern.size() >= sizeof folder) std::abort();
            pattern.copy(folder, pattern.size());
            if (!::mkdtemp(folder)) std::abort();
            std::atexit([] {
                std::error_code ec;
                std::filesystem::remove_all(folder, ec);
            });
        }
        std::filesystem::current_path(folder);
    }
    ~PrivateFolder() { std::filesystem::current_path(previous_); }

private:
    std::filesystem::path previous_;
};

void put(const std::string& path, std::string_view bytes) {
    qel::File out(path, qel::File::MODE_WRITE_SCRAMBLED, qel::FILE_KEY);
    out.write(bytes.data(), bytes.size());
    out.close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel::fuzz;
    const PrivateFolder folder;
    FILE_VERSION = 109;
    GameData& game = GameData::instance();
    ObjectManager& manager = *game.getObjectManager();
    InputReader input(data, size);
    const std::uint8_t kind = input.byte() % 3;
    std::error_code ec;
    std::filesystem::remove_all("save", ec);
    std::filesystem::create_directories("save/data01");
    // The map view's registry is made at its first lookup and lives on.
    TaskField::current();
    const PoolBalance balance;
    {
        SaveData slot(1);
        if (kind == 0) {
            const std::uint32_t length = input.u32();
            put("save/data01/player.dat", input.bytes(length));
            put("save/data01/cave002.dat", input.rest());
            std::string message;
            if (slot.loadGame(message)) {
                require(slot.saveGame(SaveData::KEEP_ALL), "a loaded game saves");
                require(slot.loadGame(message), "and loads again");
            } else {
                require(!message.empty(), "a refused game says why");
                require(manager.ownedCount() == 0, "a refused game leaves no object");
            }
        } else if (kind == 1) {
            put(SaveData::globalPath(), input.rest());
            if (SaveData::loadGlobal()) require(SaveData::saveGlobal(), "a loaded record saves");
        } else {
            put("save/data01/chara00000001.dat", input.rest());
            slot.loadCharacter(1);
        }
        require(ObjectLinker::instance().size() == 0, "no link is left pending");
        manager.clearAll();
        // A floor read keeps its room list in the game's dungeon.
        game.getDungeon()->releaseRooms();
        game.getSaveFileList()->clear();
        game.getRanking()->clear();
    }
    balance.check();
    return 0;
}
