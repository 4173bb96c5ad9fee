// One save slot and the global record: the folder tree under "save", the
// player file with its floor, the floor files, the character files, the
// slot's message log, and the global record file.
//
// Files (all binary ones scrambled with the common key and opening with
// their u32 version):
//   save/global.dat           slot list, ranking, anima set, global record,
//                             then SerializeGlobal's values
//   save/dataNN/player.dat    next object id, world, kept objects, item
//                             names, current floor's name and number, then
//                             SerializeGame's values
//   save/dataNN/<name>NNN.dat world turn, floor, field view, other objects
//   save/dataNN/charaNNNNNNNN.dat  one stored character and what it carries
//   save/dataNN/log.txt       the message log, plain text
//
// What it keeps true:
//   - A game save commits the player file and its floor together
//     (SlotCommit): a failure or a kill at any moment leaves the old pair or
//     the new pair, never one of each. Every other file is replaced whole.
//     A failed save writes nothing.
//   - Every access to a slot first finishes or clears a cut-off commit.
//   - A load that fails leaves no half-read object and no pending link: the
//     objects it added go, the linker is cleared.
//   - A dungeon name that could leave the slot folder or not read back
//     from the commit record (empty, '/', '\\', "..", a control character)
//     names no file: a save of its floor fails saying which character.
// Game thread (the boot loads the global record on its own thread while
// nothing else runs).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/core.h"
#include "engine/core/script_object.h"

class ObjectChara;

class SaveData : public qel::ScriptObject {
public:
    static constexpr const char* kRoot = "save";
    static constexpr const char* kCaption = "エラー";
    static constexpr const char* kFolderFailed = "フォルダ生成に失敗しました";
    static constexpr const char* kGameOpenFailed = "ゲームデータファイルのオープンに失敗 : %s";
    static constexpr const char* kGameVersion =
        "ゲームデータのファイルバージョンが未対応です セーブファイルバージョン:%.2f "
        "現行ファイルバージョン:%.2f";
    static constexpr const char* kCannotSave =
        "ゲームデータを保存できません 現行ファイルバージョン:%.2f";
    static constexpr const char* kObjectsFailed = "オブジェクトデータの読込に失敗";
    static constexpr const char* kScriptSaveFailed = "スクリプトゲームデータの保存に失敗";
    static constexpr const char* kScriptLoadFailed = "スクリプトゲームデータの読込に失敗";
    static constexpr const char* kFloorFailed = "ダンジョンデータの読込に失敗";
    static constexpr const char* kFloorOpenFailed = "ダンジョンデータファイルのオープンに失敗 : %s";
    // The character that keeps a dungeon's name out of a file name, then
    // the name.
    static constexpr const char* kFloorNameRefused =
        "ダンジョン名に保存できない文字があります (%s) : %s";
    static constexpr const char* kFloorVersion =
        "ダンジョンデータのファイルバージョンが未対応です セーブファイルバージョン:%.2f "
        "現行ファイルバージョン:%.2f";
    static constexpr const char* kCharaOpenFailed =
        "キャラクターデータファイルのオープンに失敗 : %s";
    static constexpr const char* kCharaVersion =
        "キャラクターデータのファイルバージョンが未対応です セーブファイルバージョン:%.2f "
        "現行ファイルバージョン:%.2f";
    static constexpr const char* kGlobalOpenFailed = "グローバルデータファイルのオープンに失敗";
    static constexpr const char* kGlobalVersion =
        "グローバルデータのファイルバージョンが未対応です セーブファイルバージョン:%.2f "
        "現行ファイルバージョン:%.2f";
    static constexpr const char* kGlobalReadFailed = "グローバルデータの読込に失敗";
    static constexpr const char* kScriptGlobalSaveFailed = "スクリプトグローバルデータの保存に失敗";
    static constexpr const char* kScriptGlobalLoadFailed = "スクリプトグローバルデータの読込に失敗";
    static constexpr const char* kLogOpenFailed = "ログファイルのオープンに失敗 : %s";
    // The oldest player file version this program reads.
    static constexpr std::uint32_t kOldestGameVersion = 104;
    static constexpr std::size_t kMessageSize = 256;

    // Keep levels: what stays on the map when the floor is left.
    static constexpr std::int32_t KEEP_PLAYER = 0;
    static constexpr std::int32_t KEEP_LEASH = 1;
    static constexpr std::int32_t KEEP_FRIEND = 2;
    static constexpr std::int32_t KEEP_ALL = 3;

    explicit SaveData(std::int32_t id = 0) : id_(id) {}

    QEL_CLASS(SaveData, qel::ScriptObject, qel::Pool::SmallRecords);

    std::int32_t getId() const { return id_; }
    std::string folder() const;
    std::string getLogPath() const { return logPath(id_); }
    static std::string logPath(std::int64_t id);
    static std::string globalPath();

    // "save" and, when asked, the slot folder; a box and false when one
    // cannot be made.
    bool createDirectory(bool withSlot = true) const;
    // Sets the keep flags of what `level` keeps (marks only).
    static void removeUnkeepObject(std::int32_t level);

    bool saveGame(std::int32_t level = KEEP_ALL) const;
    // False with the reason in `message`; shows nothing.
    bool loadGame(std::string& message) const;
    bool saveDungeon(std::int32_t level = KEEP_ALL) const;
    // Turns passed since the floor was saved, or -1.
    std::int32_t loadDungeon(std::int32_t level, std::string_view name, std::int64_t floor) const;
    bool existDungeon(std::string_view name, std::int64_t floor) const;
    bool removeDungeon(std::string_view name, std::int64_t floor) const;
    bool saveCharacter(ObjectChara* chara) const;
    ObjectChara* loadCharacter(std::uint32_t id) const;
    bool removeCharacter(std::uint32_t id) const;
    // Every file of the slot folder, then the folder.
    bool removeData() const;
    bool appendLog(std::string_view text) const;
    // Appends to the active slot's log (CURRENT_PLAYER_ID); nothing while
    // no slot is active. The message log's file.
    static void appendActiveLog(std::string_view text);

    static bool saveGlobal();
    // Reads the global record, then lists every slot folder holding a
    // committed save that the slot list does not name (named "dataNN"), so
    // a missing, damaged or outdated record loses no save.
    static bool loadGlobal();
    // Whether the slot's folder holds a committed save (a cut-off commit is
    // finished or cleared first).
    static bool holdsSave(std::int32_t id);
    // The ids of the slot folders holding a committed save, ascending.
    static std::vector<std::int32_t> savedSlots();

    // The slot list's folder remover and the message log's file (the
    // active slot's log); the start-up hook installs them.
    static void installHooks();

private:
    // The floor file's name, or empty (the reason in `error`) for a name
    // that cannot name one.
    std::string floorPath(std::string_view name, std::int64_t floor,
                          std::string* error = nullptr) const;
    std::string charaPath(std::uint32_t id) const;
    // Finishes or clears a cut-off commit of this slot.
    bool recover() const;
    // Reads a floor file into the game (no keep rule, no relinking): turns
    // passed, or -1 with the reason in `message`.
    std::int32_t readFloor(const std::string& path, std::string& message) const;
    static bool readGlobal();
    static void listSavedSlots();

    std::int32_t id_;
};
