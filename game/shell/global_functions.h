// The bodies of the global script functions (the C_ functions) that the
// bindings call; each checks nothing the bindings already checked.
#pragma once

#include <cstddef>
#include <string>

#include "game/world/value_types.h"

template <class T>
struct LinkList;
class Action;
class Anima;
class Dungeon;
class EnemyMaker;
class FieldView;
class ItemFactory;
class NpcFactory;
class ObjectBase;
class ObjectChara;
class ObjectGimmick;
class ObjectItem;
class ObjectManager;
class ObjectNpc;
class ObjectPlayer;
class ObjectTrap;
class Skill;
class Spell;
class TaskAnimaList;
class TaskCursor;
class TaskItemList;
class TaskMenu;
class TaskName;
class TaskWindow;
class Tile;

// Queues the sound effect `name` for this frame on the sound-effect
// manager, when there is a name and a manager; `flag` changes nothing.
void C_PlaySE(const char* name, bool flag);
// The master volume of the sound players, clamped to 0..1.
void C_SetVolume(float volume);
// Creates or replaces the engine font `id` (a null face: the default face);
// false, the id's old font kept, when the font cannot be made or the width
// or weight is negative.
bool C_SetFont(int id, int height, const char* face, int width, int weight, bool italic);
// The game's current dungeon map.
Dungeon* C_GetDungeon();
// The map view's full redraw (and the status panel's, which runs
// DrawStatusView at its next draw) and the automatic zoom count; nothing
// outside the game scene.
void C_Redraw();
// Forgets every cell the player saw and has the map view's picture cleared.
void C_ClearMap();
void C_CountZoomCommand(bool zoomOut);
// The game's item factory.
ItemFactory* C_GetItemFactory();

// The keyboard as this frame's input sampled it, by virtual-key code; a
// code outside 0..255 is never down.
bool C_KeyOn(int key);
// Down this frame and up the frame before: once per press.
bool C_KeyTrg(int key);
// The press frame, then every frame the held key's repeat counter reads 0.
bool C_KeyRpt(int key);
// The direction the held direction keys ask for, each axis in -1..1; with
// Ctrl held only a diagonal counts.
Point C_GetInputDir();
// The game's field view and monster placement table; null once the game
// root is released.
FieldView* C_GetFieldView();
EnemyMaker* C_GetEnemyMaker();
// The game's monster definitions.
NpcFactory* C_GetNpcFactory();

// Asks the scene manager for the opening scene; nothing while another change
// is pending or without a scene manager.
void C_GotoOpening();

// Pads by button index 0..39 (false outside, and without a pad).
bool C_PadOn(int index);
bool C_PadTrg(int index);
bool C_PadRpt(int index);
// One dice term rolled (at most the dice an expression may hold).
int C_Dice(int count, int sides);
// Draws from the game's generator: the raw output; r mod n (n = 0 counts as
// 1); r mod n + 1; n..m (m one below n gives n; ends in either order);
// floats in [0, 1), [0, n) and n + (m - n) u.
unsigned int C_GetRandt();
unsigned int C_GetRandI_0toN(unsigned int n);
unsigned int C_GetRandI_1toN(unsigned int n);
int C_GetRandI_NtoM(int n, int m);
float C_GetRandF_0to1();
float C_GetRandF_0toN(float n);
float C_GetRandF_NtoM(float n, float m);

// The current floor, by cell (x, y) or point; off the map: null, 0 or
// nothing. The first character, the count of items and the first object
// node of a cell; the first node of a link kind's list (0..4); the cell's
// tile; a cell shown for the next recomputation of the field view.
ObjectChara* C_GetCharaAtPos(int x, int y);
ObjectChara* C_GetCharaAtPos(const Point& pos);
int C_GetItemNumAtPos(int x, int y);
int C_GetItemNumAtPos(const Point& pos);
LinkList<ObjectBase>* C_GetObjectLinkAtPos(int x, int y);
LinkList<ObjectBase>* C_GetObjectLinkAtPos(const Point& pos);
LinkList<ObjectBase>* C_GetObjectLinkType(int kind);
Tile* C_GetTile(int x, int y);
Tile* C_GetTile(const Point& pos);
void C_DrawTile(int x, int y);
void C_DrawTile(const Point& pos);
// The object as that class when it is one; null otherwise and for null.
ObjectChara* C_CastObjectChara(ObjectBase* object);
ObjectPlayer* C_CastObjectPlayer(ObjectBase* object);
ObjectItem* C_CastObjectItem(ObjectBase* object);
ObjectNpc* C_CastObjectNpc(ObjectBase* object);
ObjectGimmick* C_CastObjectGimmick(ObjectBase* object);
// Whether the character may enter the cell (walls, water, floating, what
// stands there); false for no character.
bool C_CheckMove(ObjectChara* chara, int x, int y, bool ignoreChara);
// A new monster of the definition with this id, at (0, 0) or the point,
// given its belongings; null for an unknown id.
ObjectNpc* C_CreateNpc(int id);
ObjectNpc* C_CreateNpc(int id, const Point& pos);
ObjectTrap* C_CastObjectTrap(ObjectBase* object);
// The game's player (null without one) and object manager.
ObjectPlayer* C_GetPlayer();
ObjectManager* C_GetObjectManager();

// The game's message log; each does nothing without one. A nil text adds
// an empty one, a nil colour is white.
void C_Message(const char* text);
void C_MessageLine(const char* text);
void C_MessageColor(const Color* colour);
void C_OpenLogWindow();
void C_CloseLogWindow();
void C_SetLogWindowCursor(bool show);
void C_SetLogWindowColor(const Color* colour);

// The game scene's item list; null without one and while booting.
TaskItemList* C_GetItemList();
// The game scene's anima list, emptied and filled again from the anima
// table with those the player knows selectable; null without one.
TaskAnimaList* C_GetAnimaList();
// Escape or Delete went down this frame; then SE_CANCEL is queued.
bool C_PushCancel();
// The game scene's map cursor; null without one and while booting.
TaskCursor* C_GetCursor();
// True shows the direction ring around the player under the current scene
// (once); false removes it. Nothing while booting.
void C_DispDirection(bool show);
// Menu or drawing window n (0 to 3), made on first request, hidden and
// emptied when reused; null for other numbers and while booting.
TaskMenu* C_GetMenu(int number);
TaskWindow* C_GetWindow(int number);
// The text-entry window, made on first request, hidden and emptied when
// reused; null while booting.
TaskName* C_GetIME();

// False, with one log line per function, while the boot loader runs the
// script package: the tasks, scenes, sound, log and quit flag belong to
// the game thread, which has not started the game yet.
bool scriptMayReachGame(const char* function);

// Reads its text and does nothing.
void C_Trace(const char* text);
// Runs a game file in the game's Lua state; false with the text kept
// ("cannot open <path>" when missing) for C_GetLuaError, null when none.
bool C_DoLuaFile(const char* path);
const char* C_GetLuaError();
// The text from byte `start` (negative: 0; inside a two-byte character: the
// next one; past the end: ""), at most `length` bytes of whole characters
// (0, negative or not below the rest: all of it).
std::string C_SubString(const char* text, int start, int length);
// The version title with the build's date and time, at most kVersionBytes
// bytes of whole characters.
inline constexpr std::size_t kVersionBytes = 255;
std::string C_GetVersion();
// Reads its arguments and does nothing: a released game encrypts no file.
void C_EncryptFile(const char* source, const char* target, bool flag);
// The anima the player knows: added only when the anima table knows the
// id, removed always; the definitions by id, at random up to a level, and
// an id by tag (0 for none).
void C_SetAnima(int id, bool have);
bool C_HaveAnima(int id);
const Anima* C_GetAnima(int id);
const Anima* C_GetAnimaRandom(int level);
int C_GetAnimaID(const char* tag);
int C_GetHaveAnimaNum();
// Asks the program to end after this frame, through the normal shutdown.
void C_EndGame();

// Definitions: a skill by tag or by place in the skill list, an action and
// a spell by tag (`flag` changes nothing); null for an empty or unknown tag
// and a place outside the list. A new item of the kind with this id drawn
// at random; null for an unknown id.
const Skill* C_GetSkill(const char* tag);
const Skill* C_GetSkillIndex(int index);
const Action* C_GetAction(const char* tag, bool flag);
const Spell* C_GetSpell(const char* tag);
ObjectItem* C_CreateItem(int id);

class TurnManager;
// The game scene's turn manager; null outside a game.
TurnManager* C_GetTurnManager();

// The game's records: the run's world, the score table, the record kept
// across games, the slot list, and the active slot's message log path.
class World;
class Ranking;
class GlobalRecord;
class SaveFileList;
World* C_GetWorld();
Ranking* C_GetRanking();
GlobalRecord* C_GetGlobalRecord();
SaveFileList* C_GetSaveFileList();
std::string C_GetDumpLogFile();
// Queues a post of the text and number to the message server while the
// network is enabled; nothing otherwise.
void C_SendNetworkMessage(const char* text, int number);
