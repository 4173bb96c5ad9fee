// A decorator link of a character's chain: it stores its place (priority),
// an id and a type chosen by whoever made it, the next link toward the
// chain's end and its owner, and by default passes every question on to the
// next link unchanged, so a decorator overrides only what it changes.
//
// What it keeps true:
//   - A link belongs to at most one chain, or waits in one character's
//     queue of additions: the character sets owner and next when it links
//     it, and marks a queued one, so the same link is never taken twice.
//   - A link whose next is null (never linked, or just unlinked) answers as
//     a chain's end without a character does: base values of 0 and no
//     script calls.
#pragma once

#include <cstdint>

#include "game/world/virtual_chara.h"

class VersionFile;

class CharaDecorator : public VirtualChara {
public:
    CharaDecorator() = default;
    CharaDecorator(const CharaDecorator&) = delete;
    CharaDecorator& operator=(const CharaDecorator&) = delete;

    QEL_CLASS(CharaDecorator, VirtualChara, qel::Pool::World);

    float getPriority() const override { return priority_; }
    std::int32_t getId() const override { return id_; }
    std::int32_t getType() const override { return type_; }
    void setPriority(float priority) { priority_ = priority; }
    void setId(std::int32_t id) { id_ = id; }
    void setType(std::int32_t type) { type_ = type; }

    VirtualChara* getInner() const { return inner_; }
    ObjectChara* getOwner() const { return owner_; }
    // Linked into a chain or queued to be: a character holds it.
    bool isTaken() const { return owner_ || queuedBy_; }

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

    // Called when a character links the decorator (not when loading).
    virtual void attach(ObjectChara* chara);
    // Called when the character takes the decorator off its chain (its
    // removal, or the character's teardown), unlinked and ownerless, right
    // before the character deletes it.
    virtual void detach(ObjectChara*) {}
    // Writing: the class name with its NUL, then priority, id and type.
    // Reading: the three fields (the character has read the name).
    virtual bool serialize(ObjectChara* chara, VersionFile& file);

protected:
    // The next link, or an ownerless end when there is none.
    VirtualChara& next();

private:
    friend class ObjectChara;

    float priority_ = 0.0f;
    std::int32_t id_ = 0;
    std::int32_t type_ = 0;
    VirtualChara* inner_ = nullptr;
    ObjectChara* owner_ = nullptr;
    // The character whose queue of additions holds the decorator.
    ObjectChara* queuedBy_ = nullptr;
};
