// The script functions the program calls, named in one place. It sits with
// the world, the lowest layer that calls scripts; the shell includes it too.
//
// Each entry gives the Lua global's name, what the program hands it (Lua
// type names in quotes) and what the program reads back. Code that calls a
// script names the entry, never the string, so no callback is spelled twice
// and a reader finds here everything the scripts must provide.
//
// Two ways of calling, as the game has always done:
//   - a hook (result None) is called only when the global is a function,
//     asks for no result and ignores script errors;
//   - a question asks for one result; a missing function or a script error
//     leaves the result list empty, which reads as false, 0 or no text.
// ScriptCall (script_call.h) does both, and is the one way the program
// calls them. Nothing is shown or logged on a script error; the host keeps
// the text for C_GetLuaError.
#pragma once

#include <cstddef>

enum class ScriptResult {
    None,     // a hook: no result asked for
    Boolean,  // only the boolean true counts as yes
    Number,   // truncated to an integer by the callers that want one; 0 when absent
    Text,     // empty when absent
    PerHook,  // CallDecoratorFunc: whatever the named decorator hook answers
};

struct ScriptCallback {
    const char* name;
    const char* arguments;
    ScriptResult result;
};

namespace script_callback {

// Turn manager and player input.
inline constexpr ScriptCallback InputPlayer{
    "InputPlayer", "command \"Command\", player \"ObjectPlayer\"; true when it filled the command",
    ScriptResult::Boolean};
inline constexpr ScriptCallback ProgressTurn{
    "ProgressTurn",
    "turn manager \"TurnManager\", command \"Command\" (input state only); true ends the step",
    ScriptResult::Boolean};
inline constexpr ScriptCallback ProgressTurnChange{
    "ProgressTurnChange", "turn manager \"TurnManager\"; true starts a new turn",
    ScriptResult::Boolean};

// Decorator chain: script-driven links and the chain's end.
inline constexpr ScriptCallback CallDecoratorFunc{
    "CallDecoratorFunc",
    "owner (its class name), hook name (a DecoratorHook), the hook's own arguments",
    ScriptResult::PerHook};
inline constexpr ScriptCallback BeginTurn{"BeginTurn", "owner (its class name)",
                                          ScriptResult::None};
inline constexpr ScriptCallback BeginAction{
    "BeginAction", "owner (its class name), command \"Command\"; true allows the action",
    ScriptResult::Boolean};
inline constexpr ScriptCallback EndAction{"EndAction", "owner (its class name)",
                                          ScriptResult::None};
inline constexpr ScriptCallback EndTurn{"EndTurn", "owner (its class name)", ScriptResult::None};
inline constexpr ScriptCallback GetDamageDice{
    "GetDamageDice", "owner (its class name), dice \"Dice\" (changed in place), tag",
    ScriptResult::None};
inline constexpr ScriptCallback ReceiveDamage{
    "ReceiveDamage", "attacker (its class name) or nil, owner (its class name), damage \"Damage\"",
    ScriptResult::Number};
inline constexpr ScriptCallback ProcHealLife{
    "ProcHealLife", "owner (its class name), amount (number)", ScriptResult::Number};
inline constexpr ScriptCallback ProcDeath{"ProcDeath", "owner (its class name), cause",
                                          ScriptResult::Number};
inline constexpr ScriptCallback AfterDead{"AfterDead", "owner (its class name)",
                                          ScriptResult::Number};
inline constexpr ScriptCallback RemoveAllDecorator{"RemoveAllDecorator", "owner (its class name)",
                                                   ScriptResult::None};
inline constexpr ScriptCallback SerializeDecorator{
    "SerializeDecorator",
    "character (its class name), decorator \"DecoLua\", serializer \"LuaSerializer\"; true on "
    "success",
    ScriptResult::Boolean};

// Characters.
inline constexpr ScriptCallback AddDecorator{
    "AddDecorator",
    "character (its class name), the skill's script class, skill name; from monster creation: "
    "monster (its class name), skill tag",
    ScriptResult::None};
inline constexpr ScriptCallback RemoveDecorator{
    "RemoveDecorator", "character, the skill's script class, skill name", ScriptResult::None};
inline constexpr ScriptCallback IsFrozenWalk{
    "IsFrozenWalk", "character \"ObjectChara\"; true lets it walk on frozen water",
    ScriptResult::Boolean};
inline constexpr ScriptCallback RegisterItemLib{"RegisterItemLib", "item \"ObjectItem\"",
                                                ScriptResult::None};
inline constexpr ScriptCallback GetNpcName{
    "GetNpcName", "monster \"ObjectNpc\", its own name, its definition's name (may be empty)",
    ScriptResult::Text};
inline constexpr ScriptCallback GetNpcRealName{
    "GetNpcRealName", "monster \"ObjectNpc\", its own name, its definition's name (may be empty)",
    ScriptResult::Text};
inline constexpr ScriptCallback SetNpcExp{"SetNpcExp", "new monster \"ObjectNpc\"",
                                          ScriptResult::None};
inline constexpr ScriptCallback SetEnemyNpc{"SetEnemyNpc", "monster \"ObjectNpc\", false",
                                            ScriptResult::None};

// Items and texts.
inline constexpr ScriptCallback GetItemName{
    "GetItemName", "item \"ObjectItem\", its corpse's monster name (may be empty), \"default\"",
    ScriptResult::Text};
inline constexpr ScriptCallback StrFmt{"StrFmt", "text", ScriptResult::Text};

// Screens.
inline constexpr ScriptCallback InputOpening{"InputOpening", "opening parameters \"OpeningParam\"",
                                             ScriptResult::None};
inline constexpr ScriptCallback DrawStatusView{
    "DrawStatusView", "player \"ObjectPlayer\", status view \"TaskStatusView\"",
    ScriptResult::None};

// Boot, saving and shutdown.
inline constexpr ScriptCallback SerializeGame{
    "SerializeGame", "serializer \"LuaSerializer\"; true on success", ScriptResult::Boolean};
inline constexpr ScriptCallback SerializeGlobal{
    "SerializeGlobal", "serializer \"LuaSerializer\"; true on success", ScriptResult::Boolean};
inline constexpr ScriptCallback SetSaveFileName{"SetSaveFileName", "\"update\"",
                                                ScriptResult::None};
inline constexpr ScriptCallback LoadItemGroupPer{"LoadItemGroupPer", "none", ScriptResult::None};

inline constexpr const ScriptCallback* kAll[] = {
    &InputPlayer,     &ProgressTurn,       &ProgressTurnChange, &CallDecoratorFunc,
    &BeginTurn,       &BeginAction,        &EndAction,          &EndTurn,
    &GetDamageDice,   &ReceiveDamage,      &ProcHealLife,       &ProcDeath,
    &AfterDead,       &RemoveAllDecorator, &SerializeDecorator, &AddDecorator,
    &RemoveDecorator, &IsFrozenWalk,       &RegisterItemLib,    &GetNpcName,
    &GetNpcRealName,  &SetNpcExp,          &SetEnemyNpc,        &GetItemName,
    &StrFmt,          &InputOpening,       &DrawStatusView,     &SerializeGame,
    &SerializeGlobal, &SetSaveFileName,    &LoadItemGroupPer,
};

// A floor's own function, named in the floor's static file: a hook with no
// arguments.
constexpr ScriptCallback floorFunction(const char* name) {
    return {name, "none", ScriptResult::None};
}

}  // namespace script_callback

// The hook names a script-driven decorator link hands to CallDecoratorFunc
// as its second argument, with the arguments that follow the owner and the
// hook name. Hooks with result None are called without a result.
struct DecoratorHook {
    const char* name;
    const char* arguments;
    ScriptResult result;
};

namespace decorator_hook {

inline constexpr DecoratorHook preInput{"preInput", "none", ScriptResult::Boolean};
inline constexpr DecoratorHook beginTurn{"beginTurn", "none", ScriptResult::None};
inline constexpr DecoratorHook beginAction{"beginAction", "command \"Command\"",
                                           ScriptResult::Boolean};
inline constexpr DecoratorHook endAction{"endAction", "none", ScriptResult::None};
inline constexpr DecoratorHook endTurn{"endTurn", "none", ScriptResult::None};
inline constexpr DecoratorHook getDamageDice{"getDamageDice", "dice \"Dice\", tag",
                                             ScriptResult::None};
inline constexpr DecoratorHook preSendDamage{
    "preSendDamage", "target (its class name), damage \"Damage\"", ScriptResult::Number};
inline constexpr DecoratorHook receiveDamage{
    "receiveDamage", "attacker (its class name), damage \"Damage\"", ScriptResult::Number};
inline constexpr DecoratorHook receiveHarm{"receiveHarm", "attacker (its class name), text",
                                           ScriptResult::None};
inline constexpr DecoratorHook postSendDamage{
    "postSendDamage", "target (its class name), damage \"Damage\", result (number)",
    ScriptResult::Number};
// Non-zero is true.
inline constexpr DecoratorHook preCastSpell{"preCastSpell", "action \"Action\"",
                                            ScriptResult::Number};
inline constexpr DecoratorHook postCastSpell{"postCastSpell", "action \"Action\"",
                                             ScriptResult::Number};
inline constexpr DecoratorHook calManaCost{"calManaCost", "action \"Action\"",
                                           ScriptResult::Number};
inline constexpr DecoratorHook checkMana{"checkMana", "cost (number)", ScriptResult::Boolean};
inline constexpr DecoratorHook useMana{"useMana", "cost (number)", ScriptResult::Boolean};
inline constexpr DecoratorHook healLife{"healLife", "amount (number)", ScriptResult::Number};
inline constexpr DecoratorHook death{"death", "cause", ScriptResult::Number};
inline constexpr DecoratorHook afterDead{"afterDead", "none", ScriptResult::Number};
inline constexpr DecoratorHook getEffectName{"getEffectName", "list \"EffectNameList\"",
                                             ScriptResult::None};
inline constexpr DecoratorHook getSubIconList{"getSubIconList", "list \"SubIconList\"",
                                              ScriptResult::None};

inline constexpr const DecoratorHook* kAll[] = {
    &preInput,      &beginTurn,     &beginAction,   &endAction,     &endTurn,
    &getDamageDice, &preSendDamage, &receiveDamage, &receiveHarm,   &postSendDamage,
    &preCastSpell,  &postCastSpell, &calManaCost,   &checkMana,     &useMana,
    &healLife,      &death,         &afterDead,     &getEffectName, &getSubIconList,
};

}  // namespace decorator_hook
