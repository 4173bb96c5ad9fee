// The last link of every character's chain: the base answers. Status values
// come from the character's stored base block; turn, action, damage,
// healing and death events go to the named script functions with the
// character under its own class name; mana is spent here.
//
// Without an owner (the stand-in end of an unlinked decorator) it calls no
// script and answers the neutral values: status 0, input allowed, actions
// refused, spells allowed, no mana.
#pragma once

#include "game/world/virtual_chara.h"

class CharaEnd : public VirtualChara {
public:
    CharaEnd() = default;
    explicit CharaEnd(ObjectChara* owner) : owner_(owner) {}
    CharaEnd(const CharaEnd&) = delete;
    CharaEnd& operator=(const CharaEnd&) = delete;

    QEL_CLASS(CharaEnd, VirtualChara, qel::Pool::World);

    ObjectChara* getOwner() const { return owner_; }

    float getPriority() const override { return 0.0f; }
    std::int32_t getId() const override { return 0; }
    std::int32_t getType() const override { return 0; }

    std::int32_t getStatus(std::int32_t index) override;
    bool preInput() override { return true; }
    void beginTurn() override;
    bool beginAction(Command* command) override;
    void endAction() override;
    void endTurn() override;
    void getDamageDice(Dice& dice, const char* tag) override;
    std::int32_t preSendDamage(ObjectChara*, Damage*) override { return 0; }
    std::int32_t receiveDamage(ObjectChara* attacker, Damage* damage) override;
    void receiveHarm(ObjectChara* attacker, const char* text) override;
    std::int32_t postSendDamage(ObjectChara*, Damage*, std::int32_t) override { return 0; }
    bool preCastSpell(const Action*) override { return true; }
    bool postCastSpell(const Action*) override { return true; }
    std::int32_t calManaCost(const Action* action) override;
    bool checkMana(std::int32_t cost) override;
    bool useMana(std::int32_t cost) override;
    std::int32_t healLife(std::int32_t amount) override;
    std::int32_t death(const char* cause) override;
    std::int32_t afterDead() override;
    void getEffectName(EffectNameList* list) override;
    void getSubIconList(SubIconList*) override {}

private:
    ObjectChara* owner_ = nullptr;
};
