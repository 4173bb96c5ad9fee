// The decorator whose behaviour the scripts write. Every hook but the status
// question calls the script function CallDecoratorFunc with the owner (under
// its class name), the hook's name and the hook's own arguments, and
// returns its answer; it never asks the next link itself (the script may,
// through the links it can see). The status question combines the
// decorator's own bonus block (upStatus) with the next link's value by the
// combine rule of Status, without calling a script.
//
// What it keeps true: a hook answers its missing-function default when the
// script is missing or fails (false, 0, nothing); only the boolean true
// counts as yes, and numbers are truncated and wrapped to 32 bits (NaN 0).
// A character taking it off its chain (its removal, or the character's
// teardown) tells the scripts (RemoveAllDecorator with the character);
// deleting it runs no script, and the scripts forget it and its bonus
// block.
#pragma once

#include "game/world/chara_decorator.h"
#include "game/world/status.h"

class DecoLua : public CharaDecorator {
public:
    DecoLua() = default;

    QEL_CLASS(DecoLua, CharaDecorator, qel::Pool::World);

    Status& getUpStatus() { return upStatus_; }
    const Status& getUpStatus() const { return upStatus_; }

    void detach(ObjectChara* chara) override;
    std::int32_t getStatus(std::int32_t index) override;
    bool preInput() override;
    void beginTurn() override;
    bool beginAction(Command* command) override;
    void endAction() override;
    void endTurn() override;
    void getDamageDice(Dice& dice, const char* tag) override;
    std::int32_t preSendDamage(ObjectChara* target, Damage* damage) override;
    std::int32_t receiveDamage(ObjectChara* attacker, Damage* damage) override;
    void receiveHarm(ObjectChara* attacker, const char* text) override;
    std::int32_t postSendDamage(ObjectChara* target, Damage* damage, std::int32_t result) override;
    bool preCastSpell(const Action* action) override;
    bool postCastSpell(const Action* action) override;
    std::int32_t calManaCost(const Action* action) override;
    bool checkMana(std::int32_t cost) override;
    bool useMana(std::int32_t cost) override;
    std::int32_t healLife(std::int32_t amount) override;
    std::int32_t death(const char* cause) override;
    std::int32_t afterDead() override;
    void getEffectName(EffectNameList* list) override;
    void getSubIconList(SubIconList* list) override;

    // The fields of the base, then whatever SerializeDecorator moves; false
    // when the script is missing, fails, answers anything but true or moves
    // past the end of the data.
    bool serialize(ObjectChara* chara, VersionFile& file) override;

private:
    Status upStatus_;
};
