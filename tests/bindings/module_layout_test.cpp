// The script interface's census: every class table of module C, read from a
// live state after registration and from the generated registration code,
// against the names the interface gives each class (its functions with
// their overloads, its variables and its constants), and the counts of the
// module itself. A registration that goes missing, or one nobody listed,
// fails here by name.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/bindings/bound_lua.h"

namespace {

// One table of module C: its path below C, then its names, separated by
// spaces. Functions stand in registration order; "name*N" is a name
// registered N times (overloads: the last registered is tried first).
// Variables and constants are sorted; "name[]" is an array.
struct TableNames {
    const char* path;
    const char* functions;
    const char* variables;
    const char* constants;
};

// Every class in the interface's order. The project registers nothing
// beyond these: no departure is listed, so any extra name fails.
const TableNames kClasses[] = {
    {"LinkList_ObjectBase_", "new new_local .call delete getObj next prev insert remove", "", ""},
    {"LinkList_ObjectItem_", "new new_local .call delete getObj next prev insert remove", "", ""},
    {"Point", "new*2 new_local*2 .call*2 delete set .add*2 .sub*2 .mul .div .eq length lengthSq",
     "_x _y", ""},
    {"Vector2",
     "new*3 new_local*3 .call*3 delete .add*2 .sub*2 .mul*2 .div .eq length lengthSq "
     "normalize Dot Lerp Hermite Normalize",
     "ONE X_ONE Y_ONE ZERO _u _v _x _y", ""},
    {"Status",
     "new new_local .call delete init .geti get set add .add calMana calAction calOffense "
     "calOffenseSub calFire calMagic calDefense calHit calHitSub calHitFire calHitMagic "
     "calAvoid calResist calWeight calControl CalValueSum",
     "", ""},
    {"TARGET_FLAG", "new new_local .call", "_dir _item1 _item2 _lock _point _val", ""},
    {"Action",
     "name tag luaFunc type target aiType range mana ap difficulty useMouse useEyes msg "
     "paramStr param explain",
     "PARAM_MAX", "ACTION ITEM MAGIC_BLACK MAGIC_WHITE SKILL"},
    {"Skill",
     "id name tag luaClass library levelName levelSkillPoint levelAction levelSpell "
     "levelMax levelType levelData type",
     "",
     "SKILL_ARMOR SKILL_EFFECT SKILL_GRUDGE SKILL_NORMAL SKILL_TYPE_MAX SKILL_WEAPON "
     "TYPE_ACTION TYPE_OTHER TYPE_SPELL TYPE_STATUS"},
    {"Skill.LevelData", "",
     "_action _name _otherTag _skillPoint _spell _status _statusEq _statusVal _tag _type", ""},
    {"Spell", "name tag size action", "", ""},
    {"Command",
     "new*2 new_local*2 .call*2 delete getType setType getDir setDir*2 getPoint "
     "setPoint*2 getActor setActor getAction setAction*2 addItem getItemNum getItem "
     "setActPoint getActPoint addActPoint clearItem",
     "",
     "APPLY BUILD CHARA CLOSE DIG DOWN DROP EAT EATING EXAMINE FIRE GET GIVE HELP HIT "
     "INVENT KICK LOG LOOT MAGIC MOVE NONE OFFER OPEN PRAY PUT QUAFF READ RECEIVE REDRAW "
     "SAVE SEARCH TALK THROW TRAP UP USE WAIT WEAR ZAP"},
    {"ObjectBase",
     "new*2 new_local*2 .call*2 delete kill getFieldColor getClassName getId getName "
     "setName getChip setChip getColor setColor getType setType getPriority setPriority "
     "canOtherWalk canOtherPut canSight setWalk setPut setSight getInfo setInfo getPos "
     "setPos*2 addPos*2 isVisible setVisible isKeep setKeep isDrawField setDrawField "
     "isExceptionKeep setExceptionKeep getLinkAll getLinkPos getLinkType getTypeOfLink "
     "SetNextId .eq",
     "INFO_EFFECT INFO_GIMMICK_FLOOR INFO_GIMMICK_TABLE INFO_GIMMICK_WALL INFO_ITEM "
     "INFO_NPC INFO_PLAYER INFO_TRAP",
     "LINK_ITEM LINK_MAX LINK_NPC LINK_OTHER LINK_PLAYER LINK_TRAP TYPE_ENEMY TYPE_EVENT "
     "TYPE_FRIEND TYPE_GIMMICK TYPE_ITEM TYPE_NONE TYPE_NPC TYPE_PLAYER TYPE_TRAP"},
    {"ObjectBase.INFO", "new*4 new_local*4 .call*4 delete",
     "_data _openView _priority _put _sight _walk", ""},
    {"VirtualChara",
     "delete getPriority getId getType getStatus preInput beginTurn beginAction endAction "
     "endTurn getDamageDice preSendDamage receiveDamage receiveHarm postSendDamage "
     "preCastSpell postCastSpell calManaCost checkMana useMana healLife death afterDead "
     "getEffectName getSubIconList",
     "", ""},
    {"ObjectAnim",
     "new new_local .call delete getClassName addAnim addAnimMove addAnimHit addAnimThrow "
     "addAnimWait updateAnim clearAnim haveAnim getAnimLen setSkip getSkip setForceDraw "
     "getForceDraw",
     "", ""},
    {"Race", "new*2 new_local*2 .call*2 delete",
     "_angel _beast _demon _dragon _element _fly _human _insect _lizard _machine _noid "
     "_ooze _plant _rabby _rock _undead _unique _val _water",
     ""},
    {"ObjectChara",
     "new new_local .call delete getClassName isInWater isEnemy isFriend updateSightState "
     "getSightState isOutSight isInSight setActPoint getActPoint addActPoint isLive "
     "isDead isLifeMax isManaMax getLife setLife addLife getLifeRatio getMana setMana "
     "addMana getLevel setLevel setBaseStatus getBaseStatus addBaseStatus setUpdate "
     "getUpdate getSex setSex getRace setRace getBaseDamageDice getExp setExp addExp "
     "getNextExp setNextExp getSkillLevel setSkillLevel addSkillLevel addEnableSkill "
     "removeEnableSkill checkEnableSkill getSkillLevelActive getOtherSkillLevel "
     "setPetrify isPetrify setPressure getPressure isMuggle addItem getItemLink "
     "getItemNum getItemTotalWeight getEquipTotalWeight equip*2 desarm*2 desarmAll "
     "getEquip checkCanEquip createAcquireSkill getMoney setMoney addMoney searchDecoId*2 "
     "searchDecoType*2 addDecorator removeDecorator*2 getStatus preInput beginTurn "
     "beginAction endAction endTurn getDamageDice preSendDamage receiveDamage receiveHarm "
     "postSendDamage preCastSpell postCastSpell calManaCost checkMana useMana healLife "
     "death afterDead getEffectName getSubIconList",
     "", "SIGHT_IN SIGHT_OUT SIGHT_TELEPATHY"},
    {"FullTimeEffect", "GetWeightState GetSatietyState GetFieldState set",
     "FIELD_DROWN FIELD_STRAND FIELD_SWIM FIELD_WATER SATIETY_DEAD SATIETY_EMPTY "
     "SATIETY_FULL SATIETY_HUNGER SATIETY_OVER WEIGHT_DEAD WEIGHT_OVER WEIGHT_PRESS "
     "_color _condition _name _priority _status",
     ""},
    {"EffectNameList", "new new_local .call delete clear add size get sort", "", ""},
    {"EffectNameList.Data", "name color", "", ""},
    {"SubIconList", "new new_local .call delete clear add size get sort", "", ""},
    {"SubIconList.Data", "chip color", "", ""},
    {"EquipFlag", "",
     "_accessory _armor _book _bow _foot _hand _head _left _right _torch _twoHand _val", ""},
    {"ObjectPlayer",
     "new new_local .call delete getClassName addItem getSkillPoint setSkillPoint "
     "addSkillPoint getSatiety setSatiety addSatiety getSatietyMax setSatietyMax "
     "addSatietyMax getSatietyPer getDarkIll setDarkIll addDarkIll getDarkIllMax "
     "setDarkIllMax getDarkIllPer addDarkIllTag removeDarkIllTag checkDarkIll "
     "getDarkIllTag getDarkIllNum getFate setFate addFate getFaith setFaith addFaith "
     "getCharaRace setCharaRace getCharaRaceId getCharaClass setCharaClass "
     "getCharaClassId setPressure getPressure checkCanEquip getEquipFlag setEquipFlag",
     "", ""},
    {"ObjectNpc",
     "getClassName getName getRealName getBaseDamageDice searchNearestTarget "
     "setMemoryPoint getMemoryPoint getMemoryType getSightState isOutSight isInSight "
     "getFriend setFriend getTalk setTalk getLeash setLeash releaseBind getTargetItem "
     "setTargetItem getBase getExp getCorpseId createCorpse getAiCount getAi getAiFlag "
     "getControl getEatMaterial getKillExpBase getKillExpRatio setSummoned isSummoned "
     "setElite isElite setMuggle isMuggle addBelongings checkCanEquip",
     "", ""},
    {"ObjectEffect", "new new_local .call delete getClassName setSyncObject", "", ""},
    {"ObjectGimmick", "new new_local .call delete getClassName setWork getWork setTag getTag", "",
     ""},
    {"ObjectTrap", "new new_local .call delete getClassName setWork getWork setTag getTag", "", ""},
    {"DecoLua", "new new_local .call delete init getInner getUpStatus beginTurn", "", ""},
    {"DAMAGE_TYPE", "new*2 new_local*2 .call*2",
     "_arrow _bomb _death _evil _fire _freeze _ground _holy _impact _magic _near "
     "_nearKick _nearSub _notext _penetrate _physical _poison _reflect _self _sender "
     "_surely _thunder _val _wind",
     ""},
    {"Damage", "new*3 new_local*3 .call*3 delete deleteEffect", "_addtype _damage _hit _type", ""},
    {"ItemName",
     "toAnalyze toUnknown toAssumed getName getMainName getFalseName getAssumeName "
     "getState getColor setMainName setFalseName setAssumeName setColor",
     "", "ANALYZE ASSUMED UNKNOWN"},
    {"ItemMaterial", "new*2 new_local*2 .call*2 delete .eq*2 bitAnd bitOr",
     "_bone _cloth _dragon _fresh _glass _gold _herb _iron _jewel _leather _machine "
     "_mithril _organic _paper _stone _val _wood",
     ""},
    {"ObjectItem",
     "new new_local .call delete getName*2 getColor getClassName kill setBurst setFire "
     "setRust setCurse setBless setIdentify setStateIdentify setNameIdentify "
     "setCountIdentify canAssume setAssumeName getStock setStock addStock isSame marge "
     "split organize addLinkSelf put*2 consume putInventory getInventory "
     "getInventoryCount getTotalWeight isSubWeapon isWeapon isArmor getEatEffect "
     "getNameColor getItemName setIdentityName getIdentityName canBurst canFire canRust "
     "isNormal isCurse isBless isIdentify isNameIdentify isStateIdentify isCountIdentify "
     "setShop isShop setFreeze isFreeze setLock isLock setTake isTake setMimic isMimic "
     "getMimic getLevel setLevel addLevel getEquipChara isDroped isFrozen getSkillTag "
     "getSubSkillTag setSubSkillTag setCorpse getCorpse getRotting setRotting addRotting "
     "getFoodSize setBindChara getBindChara getUseCount setUseCount addUseCount getBaseId "
     "getLibrary getLuaFunc getItemType getWeight getMaterial canStock getDenom "
     "canEnhance canCurse canBless canBaseFire canBaseBurst canBaseRust canEat canQuaff "
     "canRead canZap canUse isEquip getEquipPos isTwoHand isInventory getEat getQuaff "
     "getReadTarget getZapTarget getUseTarget getThrow getGive getBroken getConsumePer "
     "isGoodEffect isBadEffect getSell getBuy getScore getBaseSkillTag getDamageDice "
     "getHit getRange getDeffence getAvoid getResist getMagic getTorch getExplain",
     "", "RES_ALREADY RES_ANOTHER RES_NEVER RES_SUCCESS"},
    {"ObjectItem.STATE", "",
     "_bless _burst _countIdentify _curse _fire _freeze _lock _mimic _rust _shop "
     "_stateIdentify _take _val",
     ""},
    {"ItemBase",
     "createRandom createNormal isEquip getEquipPos isTwoHand getItemName id library "
     "nameId name luaFunc type chip nameType weight material stock denom minStock "
     "maxStock enhance curse bless identify countUnknown burst fire rust minLevel "
     "maxLevel eat quaff read zap use throwEnable giveEnable brokenEnable consumePer "
     "effect group createPer wish sell sellUp buy buyUp score scoreUp skillTag damageDice "
     "hit range deffence avoid resist magic torch explain",
     "", ""},
    {"TaskItemList",
     "new new_local .call delete reload addItem getItem removeItem removeAll open close "
     "isOpen stop start setList*2 isSelect isCancel getSelectedItem setAllSelect "
     "toggleSelect setOption setDrawCursor getCurIndex",
     "", ""},
    {"Anima",
     "new new_local .call delete id name no tag rarity level drop canSelect explain chip "
     "color",
     "", ""},
    {"TaskAnimaList",
     "new new_local .call delete reload addAnima getAnima removeAnima removeAll open "
     "close isOpen stop start getPageMax getPage setPage pageNext pagePrev setList "
     "isSelect isCancel getSelNum getSelAnima getCurAnima getCurIndex toggleSelect "
     "setDrawCursor",
     "", ""},
    {"TaskMenu",
     "addItem*4 removeAll setTag setDrawParam open close isOpen stop start getPageMax "
     "getPage setPage pageNext pagePrev size isSelect isCancel getSelTag getSelIndex "
     "getCurIndex getCurTag setEnableCancel setEnableLoop setCursor setCursorDraw",
     "", ""},
    {"TaskWindow",
     "calWidth calHeight setDrawParam open close clear*2 drawText*2 drawLine drawRect "
     "drawFrame drawChip",
     "", ""},
    {"TaskName", "setTag setDrawParam open close getInput", "", ""},
    {"TaskCursor", "setPos getPos setChara getChara setFrame setState getState", "",
     "BLINK OFF ON"},
    {"AcquireSkill", "new new_local .call delete add clear .geti .seti size sort", "", ""},
    {"AcquireSkill.DATA", "", "_active _identify _level _skill", ""},
    {"TaskStatusView", "new new_local .call delete redraw drawText*2 drawChip", "", ""},
    {"Tile",
     "new*5 new_local*5 .call*5 delete getTag getChip getColor getPos setTag getInfo "
     "setInfo isMove isWall isDig isRoom isLight isWater isSpecial setMove setWall setDig "
     "setRoom setLight setWater setSpecial getState setState .eq .lt",
     "", ""},
    {"Tile.INFO", "new*2 new_local*2 .call*2 .eq", "_data _dig _move _room _special _wall _water",
     ""},
    {"Dice",
     "new*2 new_local*2 .call*2 delete copy roll getMin getMax clear add*2 setNum getNum "
     "setDice getDice name Create",
     "", ""},
    {"AITarget", "new new_local .call delete setTarget cal16Dir cal8Dir",
     "_adjoin _lineDir _lineLen2 _memoryDir _point _pointDir _pointLen2", ""},
    {"Color", "new*6 new_local*6 .call*6 delete set*2 Lerp .eq .add .sub .mul*2 .div",
     "BLACK BLUE CYAN GLAY GREEN MAGENTA RED TRANSPARENT_BLACK TRANSPARENT_WHITE WHITE "
     "YELLOW _a _b _g _r _val",
     ""},
    {"TurnManager", "selectActNpc getWaitNpc incWaitNpc getPlayer getObjectManager", "", ""},
    {"Dungeon",
     "new new_local .call delete initLightState setAllDark setAllLight saveStatic "
     "loadStatic getLuaFunc updateRoom getTag setTag getLevel setLevel getDefRoom "
     "getDefPass getDefWall setDefRoom setDefPass setDefWall getStartPos setStartPos "
     "getTile*2 setTile*2 checkRange*2 checkRangeX checkRangeY getRoomNum getRoomPos "
     "getRoomRandomPos",
     "", ""},
    {"CreateDungeon",
     "new*2 new_local*2 .call*2 delete create fillAll makeRoom makePass fillRect "
     "fillEllipse fillFrame putRandom putTile fillRoomFrame fillDoor clearRoomList "
     "removeRoomList addRoomList updateRoomList isOpenSpace checkCanTouch moveTile "
     "randomPoint randomRoomPoint randomPassPoint randomDoorPoint randomFramePoint "
     "getRoomPointNum getPassPointNum getDoorPointNum getFramePointNum getRoomPoint "
     "getPassPoint getDoorPoint getFramePoint getShop getRoomNum getRoomInfo "
     "findAllRoomPoints",
     "", "DIR_DOWN DIR_LEFT DIR_NUM DIR_RIGHT DIR_UP"},
    {"CreateDungeon.SHOP", "new new_local .call delete", "door lt rb step vendor", ""},
    {"CreateDungeon.ROOM_INFO", "new new_local .call delete", "door[] doorNum height lt rb width",
     ""},
    {"FieldView",
     "getInfo*2 checkRange*2 checkRangeX checkRangeY putLight checkLineOfSight "
     "setPlayerLightEnable getPlayerLightEnable",
     "", ""},
    {"FieldView.INFO", "", "_chipLight", ""},
    {"FieldView.INFO.CHIP", "", "_color _x _y", ""},
    {"NpcFactory",
     "create*2 createName*2 createClone*2 createRandom*2 getBaseId getBase getBaseIndex", "", ""},
    {"EnemyMaker",
     "new new_local .call delete loadFile reloadFile getEnemyList createNormal*2 "
     "createWander*2 release",
     "", ""},
    {"NpcBase",
     "create id library nameId name level chip color race type control eat expBase "
     "expRatio status damageDice corpseId corpsePer corpseSize eatType skillCount skill "
     "aiFlag aiCount ai",
     "", "TYPE_ENEMY TYPE_NPC TYPE_UNIQUE"},
    {"NpcBase.AiFlag", "",
     "_eqAccessory _eqArmor _eqBow _eqFoot _eqHand _eqHead _eqLeft _eqRight _eqTwoHand "
     "_get _hit _kick _open _quaff _read _throw _val _walk _zap",
     ""},
    {"ObjectManager",
     "new new_local .call delete clearAll clearExceptKeep add search remove exeRemove "
     "getLinkAll getLinkPos*2 getLinkType getLinkAllRoot getLinkPosRoot*2 getLinkTypeRoot "
     "getPosChara",
     "", ""},
    {"OpeningParam",
     "new new_local .call delete loadRaceFile loadClassFile getRace getRaceNum getClass "
     "getClassNum release createPlayer beginNewGame beginContinue",
     "", ""},
    {"RaceBase", "upgrade id name nameMini isStart isAlter status expression skillCount skill", "",
     ""},
    {"ClassBase",
     "upgrade id name nameMini isStart baseId color status skillCount skill expression", "", ""},
    {"World",
     "init getTurn addTurn addScore getScore setCause*2 getCause setResult getResult "
     "addGenocide clearGenocide isGenocide execGenocide*2 getFriendData",
     "", ""},
    {"RankingData", "new new_local .call delete getText getScore", "", ""},
    {"Ranking", "clear addData*2 getDataMax getData getNew removeNew", "", ""},
    {"ItemFactory",
     "createGroup*2 setGroupPer createId createName createClone resetName getBaseId "
     "getBase getBaseIndex createPick*2 setPickGroupPer createShop*2 setShopGroupPer "
     "createChange*2 setChangeGroupPer",
     "", ""},
    {"SaveData",
     "new new_local .call delete createDirectory saveGame loadGame saveDungeon "
     "loadDungeon existDungeon removeDungeon saveCharacter loadCharacter removeCharacter "
     "removeData removeUnkeepObject saveGlobal loadGlobal",
     "", "KEEP_ALL KEEP_FRIEND KEEP_LEASH KEEP_PLAYER"},
    {"SaveFileList", "getDataNum getId getName newData updateData removeData", "", ""},
    {"LuaSerializer", "isWrite isRead num str boolean point getVersion", "", ""},
    {"PackageWriter", "new*2 new_local*2 .call*2 delete open close push .b32", "", ""},
    {"FriendData",
     "clear addFriend removeFriend*2 getTotalControl getControl getFriendNum getFriend "
     "getFriendId getFriendNumS getFriendS getFriendNumA getFriendIdA updateFriend",
     "", ""},
    {"GlobalRecord",
     "init getTotalSec getTotalPlay getBestLevel isClear setClearFlag isZoom setZoom "
     "getZoomMode setZoomMode",
     "", ""},
    {"Localize", "new new_local .call delete exec_lua exec_data", "", ""},
};

// The status indices, a module of constants inside C.
const TableNames kStatus = {
    "STATUS", "", "",
    "ACTION ACTION_RATIO AGI ATTACK_SPEED AUTO_HEAL AUTO_HEAL_RATIO AUTO_MANA "
    "AUTO_MANA_RATIO AVOID CHA CONTROL DEFENSE DEX FIRE FIRE_SPEED FLOAT HIT HIT_FIRE "
    "HIT_MAGIC HIT_SUB INT INVISIBLE INVISI_VISION LAND LIFE LUCK MAGIC MAIN_MAX MANA "
    "MOVE_SPEED OFFENSE OFFENSE_SUB PER RESIST RES_DEATH RES_EVIL RES_FIRE RES_FREEZE "
    "RES_GROUND RES_HOLY RES_MAGIC RES_MIND RES_NEURAL RES_PHYSIC RES_POISON RES_STONE "
    "RES_THUNDER RES_WIND SATIETY STR SUCCESS_MAGIC TELEPATHY THROUGH TORCH TYPE_MAX "
    "VISION VIT WATER WEIGHT WIS"};

// The six global functions with two forms; every other C_ function has one.
const char* const kGlobalsTwice[] = {"C_GetCharaAtPos", "C_GetItemNumAtPos", "C_GetObjectLinkAtPos",
                                     "C_GetTile",       "C_DrawTile",        "C_CreateNpc"};

std::vector<std::string> words(const char* text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

// What one table of the live state holds.
struct LiveTable {
    std::set<std::string> functions, variables, arrays, constants;
    bool isClass = false;
};

// Walks C (and the C_ globals, as "_G") in the live state: functions,
// variables (a table in ".get" is an array), constants and nested tables;
// tolua's own keys (metamethods, the collector, the box table) are not
// registrations.
std::map<std::string, LiveTable> readLiveState(lua_State* L) {
    const std::string dump = lua_runner::run(L, R"lua(
        local out = {}
        local function add(path, kind, name) out[#out + 1] = path .. " " .. kind .. " " .. name end
        local function walk(t, path)
            for k, v in next, t do
                if type(k) ~= "string" then
                    add(path, "?", tostring(k))
                elseif k == ".get" then
                    for name, get in next, v do add(path, type(get) == "table" and "a" or "v", name) end
                elseif k == ".set" or k == ".collector" or k == "tolua_ubox" or k:sub(1, 2) == "__" then
                elseif type(v) == "table" then
                    local sub = path .. "." .. k
                    add(sub, rawget(v, "tolua_ubox") and "class" or "module", "-")
                    walk(v, sub)
                elseif type(v) == "function" then
                    add(path, "f", k)
                elseif type(v) == "number" then
                    add(path, "c", k)
                else
                    add(path, "?", k)
                end
            end
        end
        walk(C, "C")
        for k, v in pairs(_G) do
            if type(k) == "string" and k:sub(1, 2) == "C_" then add("_G", "f", k) end
        end
        return table.concat(out, "\n")
    )lua");
    std::map<std::string, LiveTable> tables;
    std::istringstream in(dump);
    for (std::string path, kind, name; in >> path >> kind >> name;) {
        LiveTable& t = tables[path];
        if (kind == "f") t.functions.insert(name);
        if (kind == "v") t.variables.insert(name);
        if (kind == "a") t.arrays.insert(name);
        if (kind == "c") t.constants.insert(name);
        if (kind == "class") t.isClass = true;
        EXPECT_NE(kind, "?") << path << " holds " << name << ", which is no registration";
    }
    return tables;
}

// Every function registration of the generated registration code, by
// table path ("_G", "C", "C.ObjectItem"...), counted per name.
std::map<std::string, std::map<std::string, int>> readGeneratedFunctions() {
    std::map<std::string, std::map<std::string, int>> out;
    std::ifstream in(QEL_GENERATED_BINDINGS);
    EXPECT_TRUE(in) << "cannot read " << QEL_GENERATED_BINDINGS;
    // The quoted first name after `call` on the line, or "" when the line
    // is no such call.
    const auto argument = [](const std::string& line, const std::string& call) {
        const std::size_t at = line.find_first_not_of(' ');
        if (at == std::string::npos || line.compare(at, call.size(), call) != 0)
            return std::string();
        const std::size_t open = at + call.size();
        if (line.compare(open, 4, "NULL") == 0) return std::string("_G");
        const std::size_t close = line.find('"', open + 1);
        return line[open] == '"' && close != std::string::npos
                   ? line.substr(open + 1, close - open - 1)
                   : std::string();
    };
    bool inOpen = false;
    std::vector<std::string> path;
    for (std::string line; std::getline(in, line);) {
        if (!inOpen) {
            inOpen = line.find("int tolua_script_open (lua_State* tolua_S)") != std::string::npos;
            continue;
        }
        if (line == "}") break;  // the routine's end
        const std::size_t at = line.find_first_not_of(' ');
        if (const std::string name = argument(line, "tolua_beginmodule(tolua_S,"); !name.empty()) {
            path.push_back(name);
        } else if (at != std::string::npos && line.compare(at, 16, "tolua_endmodule(") == 0) {
            EXPECT_FALSE(path.empty()) << "unbalanced module in the generated code";
            if (!path.empty()) path.pop_back();
        } else if (const std::string f = argument(line, "tolua_function(tolua_S,"); !f.empty()) {
            std::string joined;
            for (std::size_t i = 1; i < path.size(); ++i) joined += (i > 1 ? "." : "") + path[i];
            ++out[path.size() <= 1 ? "_G" : joined][f];
        }
    }
    EXPECT_TRUE(inOpen) << "no registration routine in the generated code";
    EXPECT_TRUE(path.empty()) << "unbalanced module in the generated code";
    return out;
}

std::string listed(const std::set<std::string>& names) {
    std::string out;
    for (const std::string& name : names) out += " " + name;
    return out;
}

// Names in one set and not the other, reported both ways.
void compare(const std::string& what, const std::set<std::string>& want,
             const std::set<std::string>& got) {
    std::set<std::string> missing, extra;
    for (const std::string& name : want)
        if (!got.count(name)) missing.insert(name);
    for (const std::string& name : got)
        if (!want.count(name)) extra.insert(name);
    EXPECT_TRUE(missing.empty()) << what << " lacks" << listed(missing);
    EXPECT_TRUE(extra.empty()) << what << " has unlisted" << listed(extra);
}

class ModuleLayout : public BoundLua {
protected:
    void SetUp() override {
        BoundLua::SetUp();
        live_ = readLiveState(host_.state());
        generated_ = readGeneratedFunctions();
    }

    // Compares one listed table with the live state and the generated code.
    void check(const TableNames& table) {
        const std::string path = std::string("C.") + table.path;
        SCOPED_TRACE(path);
        ASSERT_TRUE(live_.count(path)) << "no table " << path;
        const LiveTable& live = live_[path];
        std::map<std::string, int> registrations;
        for (const std::string& word : words(table.functions)) {
            const std::size_t star = word.find('*');
            registrations[word.substr(0, star)] =
                star == std::string::npos ? 1 : std::stoi(word.substr(star + 1));
        }
        std::set<std::string> functions, variables, arrays;
        for (const auto& [name, count] : registrations) functions.insert(name);
        for (const std::string& word : words(table.variables)) {
            if (word.size() > 2 && word.compare(word.size() - 2, 2, "[]") == 0) {
                arrays.insert(word.substr(0, word.size() - 2));
            } else {
                variables.insert(word);
            }
        }
        const std::vector<std::string> constantList = words(table.constants);
        compare(path + "'s functions", functions, live.functions);
        compare(path + "'s variables", variables, live.variables);
        compare(path + "'s arrays", arrays, live.arrays);
        compare(path + "'s constants", {constantList.begin(), constantList.end()}, live.constants);
        const auto found = generated_.find(path);
        const std::map<std::string, int> none;
        EXPECT_EQ(found == generated_.end() ? none : found->second, registrations)
            << path << ": the registrations of each function name (overloads)";
    }

    std::map<std::string, LiveTable> live_;
    std::map<std::string, std::map<std::string, int>> generated_;
};

TEST_F(ModuleLayout, EveryClassTableHoldsExactlyItsListedNames) {
    std::set<std::string> listedClasses;
    for (const TableNames& table : kClasses) {
        check(table);
        listedClasses.insert(std::string("C.") + table.path);
    }
    std::set<std::string> liveClasses;
    for (const auto& [path, table] : live_)
        if (table.isClass) liveClasses.insert(path);
    compare("module C's classes", listedClasses, liveClasses);
    EXPECT_EQ(listedClasses.size(), 78u);
}

TEST_F(ModuleLayout, TheModuleItsStatusTableAndTheGlobalFunctions) {
    check(kStatus);
    EXPECT_FALSE(live_["C.STATUS"].isClass) << "STATUS is a module, not a class";

    const LiveTable& c = live_["C"];
    EXPECT_EQ(c.variables.size(), 267u) << "settings variables and read-only values";
    compare("module C's arrays", {"STATUS_NAME", "WINDOW_TEX_SIZE"}, c.arrays);
    EXPECT_EQ(c.constants.size(), 305u);
    compare("module C's functions", {"CreateDecoLua"}, c.functions);
    EXPECT_EQ(generated_["C"], (std::map<std::string, int>{{"CreateDecoLua", 1}}));

    // 83 global functions, 89 registrations: six names have two forms.
    const std::map<std::string, int>& globals = generated_["_G"];
    std::set<std::string> names;
    int registrations = 0;
    for (const auto& [name, count] : globals) {
        names.insert(name);
        registrations += count;
    }
    compare("the global table", names, live_["_G"].functions);
    EXPECT_EQ(names.size(), 83u);
    EXPECT_EQ(registrations, 89);
    for (const char* name : kGlobalsTwice) {
        const auto found = globals.find(name);
        EXPECT_TRUE(found != globals.end() && found->second == 2) << name << " has two forms";
    }

    // The interface's totals over every table.
    int functionTotal = 0, variableTotal = 0, constantTotal = 0, arrayTotal = 0;
    for (const auto& [path, counts] : generated_)
        for (const auto& [name, count] : counts) functionTotal += count;
    for (const auto& [path, table] : live_) {
        variableTotal += static_cast<int>(table.variables.size());
        constantTotal += static_cast<int>(table.constants.size());
        arrayTotal += static_cast<int>(table.arrays.size());
    }
    EXPECT_EQ(functionTotal, 1384);
    EXPECT_EQ(variableTotal, 481);
    EXPECT_EQ(constantTotal, 460);
    EXPECT_EQ(arrayTotal, 3);
}

}  // namespace
