#include "game/shell/save/save_data.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <lua.hpp>
#include <set>
#include <vector>

#include "engine/core/log.h"
#include "engine/file/file.h"
#include "engine/script/lua_stack_guard.h"
#include "engine/script/sys_lua.h"
#include "engine/system/message_box.h"
#include "game/shell/save/slot_commit.h"
#include "game/shell/settings.h"
#include "game/shell/task_field.h"
#include "game/shell/ui/task_message_log.h"
#include "game/world/game_data.h"
#include "game/world/item_factory.h"
#include "game/world/lua_serializer.h"
#include "game/world/object_chara.h"
#include "game/world/object_item.h"
#include "game/world/object_linker.h"
#include "game/world/object_npc.h"
#include "game/world/save_file_list.h"
#include "game/world/script_call.h"
#include "game/world/script_callbacks.h"
#include "game/world/version_file.h"

namespace {

constexpr const char* kPlayerFile = "player.dat";
constexpr const char* kBadSuffix = ".bad";

// The global record file failed to load: it is kept aside before the next
// save replaces it.
bool g_globalBad = false;

std::string format(const char* pattern, ...) {
    char buffer[SaveData::kMessageSize];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(buffer, sizeof buffer, pattern, args);
    va_end(args);
    return buffer;
}

std::string versionText(const char* pattern, std::uint32_t saved) {
    return format(pattern, saved * 0.01, FILE_VERSION * 0.01);
}

void showError(const std::string& text) {
    qel::MessageBox::show(text.c_str(), SaveData::kCaption);
}

GameData& game() {
    return GameData::instance();
}

// Calls SerializeGame or SerializeGlobal with a serializer over the file;
// a global that is no function is skipped. True when it answered true and
// every value moved.
bool runSerializer(const ScriptCallback& callback, VersionFile& file) {
    qel::SysLua& lua = qel::SysLua::instance();
    lua_State* L = lua.state();
    if (!L) return true;
    {
        const qel::LuaStackGuard guard(L);
        lua_getglobal(L, callback.name);  // +1
        if (!lua_isfunction(L, -1)) return true;
    }
    LuaSerializer serializer(&file);
    ScriptCall call(callback);
    const bool answer = call.temporary(&serializer, "LuaSerializer").askBoolean();
    return call.ran() && answer && !serializer.failed();
}

void markItem(ObjectItem* item) {
    if (!item || item->isKeep()) return;
    item->setKeep(true);
    for (LinkList<ObjectItem>* node = item->getInventory(); node; node = node->next) {
        if (node->obj) markItem(node->obj);
    }
}

void markChara(ObjectChara* chara) {
    chara->setKeep(true);
    for (LinkList<ObjectItem>* node = chara->getItemLink(); node; node = node->next) {
        if (node->obj) markItem(node->obj);
    }
    for (std::int32_t slot = 0; slot < ObjectChara::EQUIP_POS_MAX; ++slot)
        markItem(chara->getEquip(slot));
}

void markObject(ObjectBase* object) {
    if (auto* chara = dynamic_cast<ObjectChara*>(object)) {
        markChara(chara);
    } else if (auto* item = dynamic_cast<ObjectItem*>(object)) {
        markItem(item);
    } else {
        object->setKeep(true);
    }
}

std::vector<ObjectBase*> objectsOf(LinkList<ObjectBase>* head) {
    std::vector<ObjectBase*> out;
    if (head) {
        for (ObjectBase* object : *head) out.push_back(object);
    }
    return out;
}

// Deletes what a failed read added (everything not in `before`) and drops
// the links it recorded.
void undoRead(const std::set<ObjectBase*>& before) {
    ObjectLinker::instance().clear();
    ObjectManager* manager = game().getObjectManager();
    for (ObjectBase* object : objectsOf(manager->getLinkAllRoot())) {
        if (before.count(object) == 0) manager->remove(object);
    }
    manager->exeRemove();
}

std::set<ObjectBase*> currentObjects() {
    const std::vector<ObjectBase*> list = objectsOf(game().getObjectManager()->getLinkAllRoot());
    return {list.begin(), list.end()};
}

// A leash and an equipment slot join a character and an item from both
// sides, but the sides are saved and read apart: a floor change keeps one
// side in memory while the other is deleted (which clears the kept side's
// link) and read back later (which links only its own side), and a damaged
// file can name anything. After relinking every half link is completed when
// the other side is free and dropped otherwise, and an item sits in one
// slot at most, so no side ever points at a deleted object.
void matchLinks() {
    const std::vector<ObjectBase*> all = objectsOf(game().getObjectManager()->getLinkAllRoot());
    for (ObjectBase* object : all) {
        auto* chara = dynamic_cast<ObjectChara*>(object);
        if (!chara) continue;
        for (std::int32_t slot = 0; slot < ObjectChara::EQUIP_POS_MAX; ++slot) {
            ObjectItem* item = chara->getEquip(slot);
            if (!item) continue;
            bool twice = false;
            for (std::int32_t before = 0; before < slot; ++before)
                twice = twice || chara->getEquip(before) == item;
            if (item->getEquipChara() == nullptr && !twice) {
                item->setEquipChara(chara);
            } else if (item->getEquipChara() != chara || twice) {
                // Out of this slot only; the item keeps its own equipper.
                ObjectBase* owner = item->getEquipChara();
                chara->desarm(slot);
                item->setEquipChara(owner);
            }
        }
    }
    for (ObjectBase* object : all) {
        if (auto* npc = dynamic_cast<ObjectNpc*>(object)) {
            ObjectItem* leash = npc->getLeash();
            if (!leash || leash->getBindChara() == npc) continue;
            if (leash->getBindChara() == nullptr) {
                leash->setBindChara(npc);
            } else {
                npc->forgetLeash(leash);
            }
        } else if (auto* item = dynamic_cast<ObjectItem*>(object)) {
            auto* holder = dynamic_cast<ObjectNpc*>(item->getBindChara());
            if (holder && holder->getLeash() != item) {
                if (holder->getLeash() == nullptr) {
                    holder->setLeash(item);
                } else {
                    item->setBindChara(nullptr);
                }
            }
            auto* wearer = dynamic_cast<ObjectChara*>(item->getEquipChara());
            bool worn = false;
            for (std::int32_t slot = 0; wearer && slot < ObjectChara::EQUIP_POS_MAX; ++slot)
                worn = worn || wearer->getEquip(slot) == item;
            if (!worn) item->setEquipChara(nullptr);
        }
    }
}

// Relinks what a load read, and shows the new floor in the running map view.
void resolveLinks() {
    ObjectLinker::instance().resolve(*game().getObjectManager());
    matchLinks();
    if (TaskField* field = TaskField::current()) field->redraw();
}

// Why a dungeon's name cannot name its floor file, for the player: the
// character that keeps it out and the name with its control characters
// spelled as codes. Empty when it can.
std::string floorNameError(std::string_view name) {
    const std::string fault = SlotCommit::nameFault(name);
    if (fault.empty()) return {};
    const std::string shown = SlotCommit::spelled(name);
    return format(SaveData::kFloorNameRefused, fault.c_str(), shown.c_str());
}

// The slot id a folder name "dataNN" stands for (as the slot's folder()
// spells it), or 0.
std::int32_t slotIdOf(std::string_view name) {
    constexpr std::string_view kPrefix = "data";
    if (!name.starts_with(kPrefix) || name.size() < kPrefix.size() + 2 ||
        name.size() > kPrefix.size() + 9)
        return 0;
    std::int32_t id = 0;
    for (const char c : name.substr(kPrefix.size())) {
        if (c < '0' || c > '9') return 0;
        id = id * 10 + (c - '0');
    }
    return id > 0 && format("data%02d", id) == name ? id : 0;
}

// The floor file's sections after the version.
bool writeFloorBody(VersionFile& file) {
    GameData& data = game();
    std::uint32_t turn = static_cast<std::uint32_t>(data.getWorld()->getTurn());
    return file.serialize(turn) && data.getDungeon()->serialize(file) &&
           data.getFieldView()->serialize(file) &&
           data.getObjectManager()->writeObjects(file, false);
}

bool startWrite(VersionFile& file) {
    file.setVersion(FILE_VERSION);
    return file.serializeVersion();
}

}  // namespace

std::string SaveData::folder() const {
    return format("%s/data%02d", kRoot, id_);
}

std::string SaveData::logPath(std::int64_t id) {
    return format("%s/data%02d/log.txt", kRoot, static_cast<int>(id));
}

std::string SaveData::globalPath() {
    return format("%s/global.dat", kRoot);
}

std::string SaveData::floorPath(std::string_view name, std::int64_t floor,
                                std::string* error) const {
    if (const std::string refused = floorNameError(name); !refused.empty()) {
        if (error) *error = refused;
        return {};
    }
    return format("%s/%.*s%03d.dat", folder().c_str(), static_cast<int>(name.size()), name.data(),
                  static_cast<int>(floor));
}

std::string SaveData::charaPath(std::uint32_t id) const {
    return format("%s/chara%08u.dat", folder().c_str(), id);
}

bool SaveData::recover() const {
    return !qel::File::exists(folder()) || SlotCommit::recover(folder());
}

bool SaveData::createDirectory(bool withSlot) const {
    if (!qel::File::makeFolder(kRoot) || (withSlot && !qel::File::makeFolder(folder()))) {
        showError(kFolderFailed);
        return false;
    }
    return true;
}

void SaveData::removeUnkeepObject(std::int32_t level) {
    ObjectManager* manager = game().getObjectManager();
    const std::vector<ObjectBase*> all = objectsOf(manager->getLinkAllRoot());
    for (ObjectBase* object : all) object->setKeep(false);
    for (ObjectBase* object : objectsOf(manager->getLinkTypeRoot(ObjectBase::LINK_PLAYER))) {
        auto* chara = dynamic_cast<ObjectChara*>(object);
        if (!chara) continue;
        markChara(chara);
        const Point at = chara->getPos();
        for (std::int32_t dx = -1; dx <= 1; ++dx) {
            for (std::int32_t dy = -1; dy <= 1; ++dy) {
                if ((dx == 0 && dy == 0) || !Dungeon::checkRange(at.x + dx, at.y + dy)) continue;
                auto* next = dynamic_cast<ObjectChara*>(manager->getPosChara(at.x + dx, at.y + dy));
                if (!next) continue;
                const std::int32_t type = next->getType();
                if ((type == ObjectBase::TYPE_FRIEND && level > 1) ||
                    (level > 2 && type != ObjectBase::TYPE_NPC)) {
                    markChara(next);
                }
            }
        }
    }
    if (level > 0) {
        for (ObjectBase* object : objectsOf(manager->getLinkTypeRoot(ObjectBase::LINK_NPC))) {
            auto* npc = dynamic_cast<ObjectNpc*>(object);
            if (npc && npc->getLeash()) markChara(npc);
        }
    }
    for (ObjectBase* object : all) {
        if (!object->isKeep() && object->isExceptionKeep()) markObject(object);
    }
}

bool SaveData::saveGame(std::int32_t level) const {
    if (FILE_VERSION < kOldestGameVersion) {
        showError(format(kCannotSave, FILE_VERSION * 0.01));
        return false;
    }
    GameData& data = game();
    const std::string name = data.getDungeon()->getTag();
    const std::int32_t floor = data.getDungeon()->getLevel();
    if (!recover() || !createDirectory(true)) return false;
    std::string refused;
    const std::string floorFile = floorPath(name, floor, &refused);
    if (floorFile.empty()) {
        showError(refused);
        return false;
    }
    removeUnkeepObject(level);
    data.getObjectManager()->exeRemove();
    // Nothing the scripts ask to delete goes while the files are written.
    const ObjectBase::FrozenWorld frozen;

    SlotCommit commit(folder());
    const std::string floorName = floorFile.substr(folder().size() + 1);
    VersionFile player(commit.stagePath(kPlayerFile), qel::File::MODE_WRITE_SCRAMBLED,
                       qel::FILE_KEY);
    if (!player.isOpen()) {
        showError(format(kGameOpenFailed, (folder() + "/" + kPlayerFile).c_str()));
        return false;
    }
    std::uint32_t nextId = ObjectBase::GetNextId();
    std::string tag = name;
    std::uint32_t level32 = static_cast<std::uint32_t>(floor);
    if (!startWrite(player) || !player.serialize(nextId) || !data.getWorld()->serialize(player) ||
        !data.getObjectManager()->writeObjects(player, true) ||
        !ItemFactory::instance().serialize(player) || !player.serializeString(tag) ||
        !player.serialize(level32)) {
        player.discard();
        return false;
    }
    if (!runSerializer(script_callback::SerializeGame, player)) {
        player.discard();
        showError(kScriptSaveFailed);
        return false;
    }
    VersionFile dungeon(commit.stagePath(floorName), qel::File::MODE_WRITE_SCRAMBLED,
                        qel::FILE_KEY);
    if (!dungeon.isOpen()) {
        player.discard();
        showError(format(kFloorOpenFailed, floorFile.c_str()));
        return false;
    }
    if (!startWrite(dungeon) || !writeFloorBody(dungeon)) {
        player.discard();
        dungeon.discard();
        return false;
    }
    // Both files are whole in memory; now they go to the disc as a group.
    if (!player.close()) {
        dungeon.discard();
        showError(format(kGameOpenFailed, (folder() + "/" + kPlayerFile).c_str()));
        return false;
    }
    commit.staged(kPlayerFile);
    if (!dungeon.close()) {
        showError(format(kFloorOpenFailed, floorFile.c_str()));
        return false;
    }
    commit.staged(floorName);
    if (!commit.commit()) {
        showError(format(kGameOpenFailed, (folder() + "/" + kPlayerFile).c_str()));
        return false;
    }
    return true;
}

std::int32_t SaveData::readFloor(const std::string& path, std::string& message) const {
    GameData& data = game();
    VersionFile file(path, qel::File::MODE_READ_SCRAMBLED, qel::FILE_KEY);
    if (path.empty() || !file.isOpen()) {
        message = format(kFloorOpenFailed, path.c_str());
        return -1;
    }
    if (!file.serializeVersion()) {
        message = kFloorFailed;
        return -1;
    }
    if (file.getVersion() > FILE_VERSION) {
        message = versionText(kFloorVersion, file.getVersion());
        return -1;
    }
    std::uint32_t savedTurn = 0;
    if (!file.serialize(savedTurn) || !data.getDungeon()->serialize(file) ||
        !data.getFieldView()->serialize(file) || !data.getObjectManager()->readObjects(file)) {
        message = kFloorFailed;
        return -1;
    }
    const std::uint32_t passed = static_cast<std::uint32_t>(data.getWorld()->getTurn()) - savedTurn;
    return static_cast<std::int32_t>(passed);
}

bool SaveData::loadGame(std::string& message) const {
    GameData& data = game();
    ObjectLinker& linker = ObjectLinker::instance();
    linker.clear();
    const std::string path = folder() + "/" + kPlayerFile;
    recover();
    VersionFile file(path, qel::File::MODE_READ_SCRAMBLED, qel::FILE_KEY);
    if (!file.isOpen()) {
        message = format(kGameOpenFailed, path.c_str());
        return false;
    }
    if (!file.serializeVersion()) {
        message = kObjectsFailed;
        return false;
    }
    if (file.getVersion() < kOldestGameVersion || file.getVersion() > FILE_VERSION) {
        message = versionText(kGameVersion, file.getVersion());
        return false;
    }
    ObjectManager* manager = data.getObjectManager();
    manager->clearAll();
    const auto fail = [&](const std::string& text) {
        linker.clear();
        manager->clearAll();
        message = text;
        return false;
    };
    std::uint32_t nextId = 0;
    std::string name;
    std::uint32_t floor = 0;
    if (!file.serialize(nextId) || !data.getWorld()->serialize(file) ||
        !manager->readObjects(file) || !ItemFactory::instance().serialize(file) ||
        !file.serializeString(name) || !file.serialize(floor)) {
        return fail(kObjectsFailed);
    }
    if (!runSerializer(script_callback::SerializeGame, file)) return fail(kScriptLoadFailed);
    file.close();
    std::string floorMessage;
    if (readFloor(floorPath(name, static_cast<std::int32_t>(floor)), floorMessage) < 0)
        return fail(kFloorFailed);
    resolveLinks();
    ObjectBase::SetNextId(nextId);
    return true;
}

bool SaveData::saveDungeon(std::int32_t level) const {
    GameData& data = game();
    if (!recover() || !createDirectory(true)) return false;
    removeUnkeepObject(level);
    data.getObjectManager()->exeRemove();
    const ObjectBase::FrozenWorld frozen;
    std::string refused;
    const std::string path =
        floorPath(data.getDungeon()->getTag(), data.getDungeon()->getLevel(), &refused);
    if (path.empty()) {
        showError(refused);
        return false;
    }
    VersionFile file(path, qel::File::MODE_WRITE_SCRAMBLED, qel::FILE_KEY);
    if (!file.isOpen()) {
        showError(format(kFloorOpenFailed, path.c_str()));
        return false;
    }
    if (!startWrite(file) || !writeFloorBody(file)) {
        file.discard();
        return false;
    }
    return file.close();
}

std::int32_t SaveData::loadDungeon(std::int32_t level, std::string_view name,
                                   std::int64_t floor) const {
    removeUnkeepObject(level);
    ObjectManager* manager = game().getObjectManager();
    manager->clearExceptKeep();
    ObjectLinker::instance().clear();
    recover();
    const std::set<ObjectBase*> before = currentObjects();
    std::string message;
    const std::string path = floorPath(name, floor, &message);
    const std::int32_t passed = path.empty() ? -1 : readFloor(path, message);
    if (passed < 0) {
        undoRead(before);
        if (message != kFloorFailed) showError(message);
        return -1;
    }
    resolveLinks();
    return passed;
}

bool SaveData::existDungeon(std::string_view name, std::int64_t floor) const {
    recover();
    const std::string path = floorPath(name, floor);
    return !path.empty() && qel::File::exists(path);
}

bool SaveData::removeDungeon(std::string_view name, std::int64_t floor) const {
    recover();
    const std::string path = floorPath(name, floor);
    return !path.empty() && qel::File::remove(path);
}

bool SaveData::saveCharacter(ObjectChara* chara) const {
    if (!chara || !recover() || !createDirectory(true)) return false;
    ObjectManager* manager = game().getObjectManager();
    manager->exeRemove();
    const ObjectBase::FrozenWorld frozen;
    for (ObjectBase* object : objectsOf(manager->getLinkAllRoot())) object->setKeep(false);
    markChara(chara);
    const std::string path = charaPath(chara->getId());
    VersionFile file(path, qel::File::MODE_WRITE_SCRAMBLED, qel::FILE_KEY);
    if (!file.isOpen()) {
        showError(format(kCharaOpenFailed, path.c_str()));
        return false;
    }
    if (!startWrite(file) || !manager->writeObjects(file, true)) {
        file.discard();
        return false;
    }
    return file.close();
}

ObjectChara* SaveData::loadCharacter(std::uint32_t id) const {
    recover();
    ObjectLinker& linker = ObjectLinker::instance();
    linker.clear();
    const std::string path = charaPath(id);
    VersionFile file(path, qel::File::MODE_READ_SCRAMBLED, qel::FILE_KEY);
    if (!file.isOpen()) return nullptr;
    if (!file.serializeVersion()) return nullptr;
    if (file.getVersion() > FILE_VERSION) {
        showError(versionText(kCharaVersion, file.getVersion()));
        return nullptr;
    }
    ObjectManager* manager = game().getObjectManager();
    const std::set<ObjectBase*> before = currentObjects();
    if (!manager->readObjects(file)) {
        undoRead(before);
        return nullptr;
    }
    resolveLinks();
    for (ObjectBase* object : objectsOf(manager->getLinkAllRoot())) {
        if (before.count(object) == 0 && object->getId() == id) {
            if (auto* chara = dynamic_cast<ObjectChara*>(object)) return chara;
        }
    }
    return nullptr;
}

bool SaveData::removeCharacter(std::uint32_t id) const {
    recover();
    return qel::File::remove(charaPath(id));
}

bool SaveData::removeData() const {
    if (!qel::File::exists(folder())) return true;
    recover();
    // The player file first: a removal cut off half way leaves no committed
    // save behind for the slot list to find again.
    const std::string player = folder() + "/" + kPlayerFile;
    if (qel::File::exists(player) && !qel::File::remove(player)) return false;
    std::vector<std::string> files;
    if (!qel::File::listFiles(folder(), files)) return false;
    bool ok = true;
    for (const std::string& path : files) {
        const std::size_t cut = path.find_last_of('/');
        const std::string name = path.substr(cut + 1);
        if (name == "." || name == "..") continue;
        ok = qel::File::remove(path) && ok;
    }
    return qel::File::removeFolder(folder()) && ok;
}

bool SaveData::appendLog(std::string_view text) const {
    const std::string path = getLogPath();
    if (!qel::File::exists(path) && !createDirectory(true)) return false;
    qel::File file(path, qel::File::MODE_APPEND);
    if (!file.isOpen()) {
        showError(format(kLogOpenFailed, path.c_str()));
        return false;
    }
    return file.write(text.data(), text.size()) && file.close();
}

bool SaveData::saveGlobal() {
    if (!qel::File::makeFolder(kRoot)) {
        showError(kFolderFailed);
        return false;
    }
    const std::string path = globalPath();
    if (g_globalBad && qel::File::exists(path)) {
        // The record that could not be read is kept for whoever wants it back.
        if (!qel::File::rename(path, path + kBadSuffix)) {
            showError(kGlobalOpenFailed);
            return false;
        }
    }
    g_globalBad = false;
    GameData& data = game();
    VersionFile file(path, qel::File::MODE_WRITE_SCRAMBLED, qel::FILE_KEY);
    if (!file.isOpen()) {
        showError(kGlobalOpenFailed);
        return false;
    }
    if (!startWrite(file) || !data.getSaveFileList()->serialize(file) ||
        !data.getRanking()->serialize(file) || !data.getWorld()->serializeAnima(file) ||
        !data.getGlobalRecord()->serialize(file)) {
        file.discard();
        showError(kGlobalOpenFailed);
        return false;
    }
    if (!runSerializer(script_callback::SerializeGlobal, file)) {
        file.discard();
        showError(kScriptGlobalSaveFailed);
        return false;
    }
    if (!file.close()) {
        showError(kGlobalOpenFailed);
        return false;
    }
    return true;
}

bool SaveData::loadGlobal() {
    const bool loaded = readGlobal();
    // The record may be missing, damaged or older than a slot's first save
    // (cut off between the two): a committed save is never left unnamed.
    listSavedSlots();
    return loaded;
}

bool SaveData::readGlobal() {
    const std::string path = globalPath();
    if (!qel::File::exists(path)) return true;
    GameData& data = game();
    VersionFile file(path, qel::File::MODE_READ_SCRAMBLED, qel::FILE_KEY);
    const auto fail = [](const std::string& text) {
        g_globalBad = true;
        showError(text);
        return false;
    };
    if (!file.isOpen()) return fail(kGlobalOpenFailed);
    if (!file.serializeVersion()) return fail(kGlobalReadFailed);
    if (file.getVersion() > FILE_VERSION)
        return fail(versionText(kGlobalVersion, file.getVersion()));
    if (!data.getSaveFileList()->serialize(file) || !data.getRanking()->serialize(file) ||
        !data.getWorld()->serializeAnima(file) || !data.getGlobalRecord()->serialize(file)) {
        return fail(kGlobalReadFailed);
    }
    if (!runSerializer(script_callback::SerializeGlobal, file))
        return fail(kScriptGlobalLoadFailed);
    return true;
}

bool SaveData::holdsSave(std::int32_t id) {
    const SaveData slot(id);
    // A recorded commit that cannot be finished yet is a save all the same.
    slot.recover();
    return qel::File::exists(slot.folder() + "/" + kPlayerFile) ||
           qel::File::exists(slot.folder() + "/" + SlotCommit::kRecordName);
}

std::vector<std::int32_t> SaveData::savedSlots() {
    std::vector<std::string> paths;
    qel::File::listFiles(kRoot, paths);
    std::vector<std::int32_t> ids;
    for (const std::string& path : paths) {
        const std::int32_t id = slotIdOf(path.substr(path.find_last_of('/') + 1));
        if (id > 0 && holdsSave(id)) ids.push_back(id);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

void SaveData::listSavedSlots() {
    SaveFileList& list = *game().getSaveFileList();
    const std::vector<std::int32_t> ids = savedSlots();
    // Put first, the lowest id first.
    for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
        const std::string name = format("data%02d", *it);
        if (list.adoptData(*it, name))
            qel::logMessage("save: %s/%s holds a save the slot list did not name; listed again",
                            kRoot, name.c_str());
    }
}

void SaveData::appendActiveLog(std::string_view text) {
    if (CURRENT_PLAYER_ID != 0)
        SaveData(static_cast<std::int32_t>(CURRENT_PLAYER_ID)).appendLog(text);
}

void SaveData::installHooks() {
    SaveFileList::setSlotFolders(
        {[](std::int32_t id) { return SaveData(id).removeData(); }, &SaveData::holdsSave});
    TaskMessageLog::setFileWriter(&appendActiveLog);
}
