// What the opening's script works with: the races and classes a new
// character is made of, the making of the player, and the start of a new
// or a saved game.
//
// What it keeps true:
//   - The records belong to this object: release(), a reload and the
//     destructor delete them, and each deleted record leaves no script value
//     pointing at it.
//   - A table that cannot be read ends the game in order from the game
//     thread: the data-failure box, the detailed reason in the log, exit
//     code -1 at the end of the frame; the load answers false and keeps no
//     record of that table.
//   - There is at most one player: making one first removes the game's
//     player and what it carries.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "game/data/csv_reader.h"
#include "game/data/data_files.h"

class ClassBase;
class ObjectPlayer;
class RaceBase;

class OpeningParam : public qel::ScriptObject {
public:
    static constexpr const char* kRaceNotFound = "種族リストファイルが見つかりません : %s";
    static constexpr const char* kClassNotFound = "クラスリストファイルが見つかりません : %s";
    static constexpr const char* kBadRace = "種族データが不正です line%d : %s";
    static constexpr const char* kBadClass = "クラスデータが不正です line%d : %s";
    static constexpr const char* kErrorCaption = "エラー";

    OpeningParam();
    ~OpeningParam() override;
    OpeningParam(const OpeningParam&) = delete;
    OpeningParam& operator=(const OpeningParam&) = delete;

    QEL_CLASS(OpeningParam, qel::ScriptObject, qel::Pool::World);

    // Replace the table with the file at `path`, its texts in the language
    // LOCALE names when that language has a race or class table; on failure
    // the game ends (see above) and the answer is false.
    bool loadRaceFile(const std::string& path = kRaceTableFile);
    bool loadClassFile(const std::string& path = kClassTableFile);
    // The same loads without ending the game: false with the reason kept in
    // message().
    bool readRaceFile(const std::string& path);
    bool readClassFile(const std::string& path);
    const char* message() const { return message_.data(); }

    // Null outside 0..count-1.
    RaceBase* getRace(std::int64_t index) const;
    std::int32_t getRaceNum() const { return static_cast<std::int32_t>(races_.size()); }
    ClassBase* getClass(std::int64_t index) const;
    std::int32_t getClassNum() const { return static_cast<std::int32_t>(classes_.size()); }

    void release();
    void releaseRace();
    void releaseClass();

    // Makes the game's player of the race and class at these indices: the
    // start figures with the race's and then the class's combined in, the
    // race's picture (the class's when the race has none), the race's
    // colour and race word, the class's colour last, the race's equip flag,
    // and the race's then the class's skills. Null, and nothing made, for an
    // index outside its list. A null name is empty.
    ObjectPlayer* createPlayer(const char* name, std::int32_t sex, std::int64_t race,
                               std::int64_t classIndex);

    // New unidentified names, no extinct monsters, one more game begun, and
    // the game scene asked for; nothing while a scene change is pending or
    // while the game scene runs (a game begins from outside it: the opening
    // or the title).
    void beginNewGame();
    // Loads the slot's game and asks for the game scene with the slot
    // active. A slot that cannot be loaded shows why and leaves the opening
    // as if just entered (no object, ids from 1, no run state, no slot);
    // false then, and (nothing loaded) while a scene change is pending or
    // the game scene runs.
    bool beginContinue(std::int32_t slot);

private:
    bool endGameOnFailure(bool loaded);

    std::vector<RaceBase*> races_;
    std::vector<ClassBase*> classes_;
    std::array<char, kLoadMessageSize> message_{};
};
