// One link of a character's decorator chain. Every rule-bearing question
// about a character (a status value, a turn hook, damage, mana, death, the
// names and icons it shows) is asked of the first link of its chain; each
// link answers it or asks the next one, and the chain's end (CharaEnd)
// gives the base answers.
//
// Links answer through these 24 operations, in this order; the scripts
// reach them under the same names. Characters are passed by pointer and the
// attacker of a hit may be null.
#pragma once

#include <cstdint>

#include "engine/core/core.h"
#include "engine/core/script_object.h"

class Action;
class Command;
class Damage;
class Dice;
class EffectNameList;
class ObjectChara;
class SubIconList;

class VirtualChara : public qel::ScriptObject {
public:
    QEL_CLASS(VirtualChara, qel::ScriptObject, qel::Pool::World);

    virtual float getPriority() const = 0;
    virtual std::int32_t getId() const = 0;
    virtual std::int32_t getType() const = 0;

    virtual std::int32_t getStatus(std::int32_t index) = 0;
    virtual bool preInput() = 0;
    virtual void beginTurn() = 0;
    virtual bool beginAction(Command* command) = 0;
    virtual void endAction() = 0;
    virtual void endTurn() = 0;
    // Changes `dice` in place; `tag` may be null.
    virtual void getDamageDice(Dice& dice, const char* tag) = 0;
    virtual std::int32_t preSendDamage(ObjectChara* target, Damage* damage) = 0;
    // A damage result, DAMRES_NONE to DAMRES_DEAD.
    virtual std::int32_t receiveDamage(ObjectChara* attacker, Damage* damage) = 0;
    virtual void receiveHarm(ObjectChara* attacker, const char* text) = 0;
    virtual std::int32_t postSendDamage(ObjectChara* target, Damage* damage,
                                        std::int32_t result) = 0;
    virtual bool preCastSpell(const Action* action) = 0;
    virtual bool postCastSpell(const Action* action) = 0;
    virtual std::int32_t calManaCost(const Action* action) = 0;
    virtual bool checkMana(std::int32_t cost) = 0;
    virtual bool useMana(std::int32_t cost) = 0;
    virtual std::int32_t healLife(std::int32_t amount) = 0;
    virtual std::int32_t death(const char* cause) = 0;
    virtual std::int32_t afterDead() = 0;
    virtual void getEffectName(EffectNameList* list) = 0;
    virtual void getSubIconList(SubIconList* list) = 0;
};
