#include "game/shell/opening_param.h"

#include "engine/core/log.h"
#include "engine/core/object_operation.h"
#include "engine/core/register.h"
#include "engine/system/message_box.h"
#include "engine/system/sys_main.h"
#include "engine/task/sys_scene.h"
#include "game/shell/boot_loader.h"
#include "game/shell/save/save_data.h"
#include "game/shell/scene_game.h"
#include "game/shell/settings.h"
#include "game/world/class_base.h"
#include "game/world/creation_row.h"
#include "game/world/game_data.h"
#include "game/world/item_factory.h"
#include "game/world/localize.h"
#include "game/world/object_item.h"
#include "game/world/object_player.h"
#include "game/world/race_base.h"

namespace {

// One creation table: the shared loop over its rows into `records`, each
// record parsing the cells after the id.
template <class Record>
bool readCreationTable(const std::string& path, std::vector<Record*>& records, const char* notFound,
                       const char* badRow, LoadMessage message) {
    std::int32_t id = -1;
    CsvTableLoad table;
    table.path = path;
    table.notFoundFormat = notFound;
    table.clear = [&records] {
        for (Record* record : records) delete record;
        records.clear();
    };
    table.readKeys = [&id](CsvReader& reader) { id = reader.readInt(-1); };
    table.loadRow = [&](CsvReader& reader, int line) {
        auto* record = new Record();
        if (!record->parse(reader, id)) {
            writeLoadMessage(message, badRow, line, record->name().c_str());
            delete record;
            return false;
        }
        records.push_back(record);
        return true;
    };
    if (loadCsvTable(table, message)) return true;
    // Rows before the failing one are not kept either: the table is whole
    // or empty.
    table.clear();
    return false;
}

template <class Record>
Record* at(const std::vector<Record*>& records, std::int64_t index) {
    if (index < 0 || index >= static_cast<std::int64_t>(records.size())) return nullptr;
    return records[static_cast<std::size_t>(index)];
}

}  // namespace

OpeningParam::OpeningParam() = default;

OpeningParam::~OpeningParam() {
    release();
}

bool OpeningParam::readRaceFile(const std::string& path) {
    message_[0] = '\0';
    if (!readCreationTable(path, races_, kRaceNotFound, kBadRace, LoadMessage(message_)))
        return false;
    Localize::applyRaces(LOCALE, races_);
    return true;
}

bool OpeningParam::readClassFile(const std::string& path) {
    message_[0] = '\0';
    if (!readCreationTable(path, classes_, kClassNotFound, kBadClass, LoadMessage(message_)))
        return false;
    Localize::applyClasses(LOCALE, classes_);
    return true;
}

bool OpeningParam::loadRaceFile(const std::string& path) {
    return endGameOnFailure(readRaceFile(path));
}

bool OpeningParam::loadClassFile(const std::string& path) {
    return endGameOnFailure(readClassFile(path));
}

bool OpeningParam::endGameOnFailure(bool loaded) {
    if (loaded) return true;
    qel::logMessage("opening: %s", message_.data());
    qel::MessageBox::show(BootLoader::kDataFailureText, BootLoader::kDataFailureCaption);
    qel::SysMain::instance().setExitCode(-1);
    qel::SysMain::instance().requestQuit();
    return false;
}

RaceBase* OpeningParam::getRace(std::int64_t index) const {
    return at(races_, index);
}

ClassBase* OpeningParam::getClass(std::int64_t index) const {
    return at(classes_, index);
}

void OpeningParam::release() {
    releaseRace();
    releaseClass();
}

void OpeningParam::releaseRace() {
    for (RaceBase* race : races_) delete race;
    races_.clear();
}

void OpeningParam::releaseClass() {
    for (ClassBase* record : classes_) delete record;
    classes_.clear();
}

namespace {

constexpr std::int32_t kEquipSlots = 10;

// The game's player and what it carries go before a new one is made, so
// only one player is ever kept and saved. The player is queued first: its
// teardown takes its items out of the inventory before they are deleted.
void removeThePlayer() {
    GameData& game = GameData::instance();
    ObjectPlayer* old = game.getPlayer();
    ObjectManager* manager = game.getObjectManager();
    if (!old || !manager) return;
    std::vector<ObjectBase*> carried;
    for (LinkList<ObjectItem>* node = old->getItemLink(); node; node = node->next)
        if (node->obj) carried.push_back(node->obj);
    for (std::int32_t slot = 0; slot < kEquipSlots; ++slot)
        if (ObjectItem* item = old->getEquip(slot)) carried.push_back(item);
    manager->remove(old);
    for (ObjectBase* item : carried) manager->remove(item);
    manager->exeRemove();
    game.forgetPlayer(old);
}

}  // namespace

ObjectPlayer* OpeningParam::createPlayer(const char* name, std::int32_t sex, std::int64_t race,
                                         std::int64_t classIndex) {
    const RaceBase* r = getRace(race);
    const ClassBase* k = getClass(classIndex);
    if (!r || !k) return nullptr;
    removeThePlayer();

    Status status;
    for (std::int32_t figure = Status::LIFE; figure <= Status::CHA; ++figure)
        status.set(figure, 12);
    status.set(Status::LAND, 1);
    status.set(Status::WATER, 1);
    status += r->status();
    status += k->status();
    const Point chip = r->chip() == Point(0, 0) ? k->chip() : r->chip();

    // The skills' scripts may delete the new adventurer: it then waits, out
    // of the world, for the end of this operation, and nobody is made.
    const qel::ObjectOperation operation;
    auto* player = new ObjectPlayer(name ? name : "", chip, r->color(),
                                    Race(static_cast<std::uint32_t>(r->raceValue())), status);
    player->setSex(sex);
    player->setCharaRace(r->name(), r->id());
    player->setCharaClass(k->name(), k->id());
    player->setEquipFlag(r->equipFlag());
    player->setColor(k->color());
    creation_row::enableSkills(*player, r->skills());
    creation_row::enableSkills(*player, k->skills());
    return player->isGoing() ? nullptr : player;
}

namespace {

// Whether a game may begin now: not while a scene change is pending (a
// script that asks again before it is taken starts one game), and not from
// inside the game scene, whose tasks (the turn manager, the map view...)
// are the game's only ones until it ends: a second game scene started
// beside it would have none and wait forever.
bool gameMayBegin(const qel::SysScene* scenes) {
    if (!scenes) return true;
    if (scenes->isChangePending()) return false;
    return !qel::classCast<SceneGame>(scenes->getCurrent());
}

}  // namespace

void OpeningParam::beginNewGame() {
    qel::SysScene* scenes = qel::Register<qel::SysScene>::instance().getSingle();
    if (!gameMayBegin(scenes)) return;
    GameData& game = GameData::instance();
    ItemFactory::instance().resetName();
    if (World* world = game.getWorld()) world->clearAdventure();
    if (GlobalRecord* record = game.getGlobalRecord()) record->addTotalPlay();
    if (scenes) scenes->requestChange(&SceneGame::staticClassInfo());
}

bool OpeningParam::beginContinue(std::int32_t slot) {
    qel::SysScene* scenes = qel::Register<qel::SysScene>::instance().getSingle();
    if (!gameMayBegin(scenes)) return false;
    std::string message;
    if (!SaveData(slot).loadGame(message)) {
        // Nothing of the damaged slot may reach a game started next.
        GameData& game = GameData::instance();
        if (ObjectManager* manager = game.getObjectManager()) manager->clearAll();
        ObjectBase::SetNextId(1);
        if (World* world = game.getWorld()) {
            world->init();
            world->getFriendData().clear();
        }
        CURRENT_PLAYER_ID = 0;
        qel::MessageBox::show(message.c_str(), kErrorCaption);
        return false;
    }
    CURRENT_PLAYER_ID = static_cast<std::uint32_t>(slot);
    if (scenes) scenes->requestChange(&SceneGame::staticClassInfo());
    return true;
}
