#include "game/world/damage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

TEST(DamageType, BitsMasksAndNames) {
    struct Case {
        DAMAGE_TYPE::Bit bit;
        std::uint32_t mask;  // 0: no script mask
        const char* name;
    };
    const Case cases[] = {
        {DAMAGE_TYPE::PHYSICAL, DAMAGE_PHYSICAL, "physical"},
        {DAMAGE_TYPE::NEAR, DAMAGE_NEAR, "near"},
        {DAMAGE_TYPE::MAGIC, DAMAGE_MAGIC, "magic"},
        {DAMAGE_TYPE::FIRE, DAMAGE_FIRE, "fire"},
        {DAMAGE_TYPE::FREEZE, DAMAGE_FREEZE, "freeze"},
        {DAMAGE_TYPE::THUNDER, DAMAGE_THUNDER, "thunder"},
        {DAMAGE_TYPE::GROUND, DAMAGE_GROUND, "ground"},
        {DAMAGE_TYPE::WIND, DAMAGE_WIND, "wind"},
        {DAMAGE_TYPE::HOLY, DAMAGE_HOLY, "holy"},
        {DAMAGE_TYPE::EVIL, DAMAGE_EVIL, "evil"},
        {DAMAGE_TYPE::POISON, DAMAGE_POISON, "poison"},
        {DAMAGE_TYPE::PENETRATE, DAMAGE_PENETRATE, "penetrate"},
        {DAMAGE_TYPE::REFLECT, DAMAGE_REFLECT, "reflect"},
        {DAMAGE_TYPE::SURELY, DAMAGE_SURELY, "surely"},
        {DAMAGE_TYPE::NOTEXT, DAMAGE_NOTEXT, "notext"},
        {DAMAGE_TYPE::SENDER, DAMAGE_SENDER, "sender"},
        {DAMAGE_TYPE::DEATH, DAMAGE_DEATH, "death"},
        {DAMAGE_TYPE::SELF, DAMAGE_SELF, "self"},
        {DAMAGE_TYPE::IMPACT, DAMAGE_IMPACT, "impact"},
        {DAMAGE_TYPE::NEAR_SUB, DAMAGE_NEARSUB, "nearSub"},
        {DAMAGE_TYPE::BOMB, DAMAGE_BOMB, "bomb"},
        {DAMAGE_TYPE::NEAR_KICK, DAMAGE_NEARKICK, "nearKick"},
        {DAMAGE_TYPE::ARROW, 0, "arrow"},
    };
    static_assert(sizeof(cases) / sizeof(cases[0]) == DAMAGE_TYPE::BIT_COUNT);
    for (int i = 0; i < DAMAGE_TYPE::BIT_COUNT; ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(c.bit, i) << c.name << " is bit " << i;
        EXPECT_STREQ(DAMAGE_TYPE::NAMES[i], c.name);
        if (c.mask) {
            EXPECT_EQ(c.mask, 1u << i) << c.name;
        }

        DAMAGE_TYPE only(1u << i);
        for (int j = 0; j < DAMAGE_TYPE::BIT_COUNT; ++j) {
            EXPECT_EQ(only.test(static_cast<DAMAGE_TYPE::Bit>(j)), i == j) << c.name << "/" << j;
        }
    }
    EXPECT_EQ(DAMAGE_NONE, 0u);
    EXPECT_EQ(DAMAGE_FIRE + DAMAGE_MAGIC, 12u);
    EXPECT_EQ(DAMAGE_TYPE(4194304u).val, 1u << DAMAGE_TYPE::ARROW);
}

TEST(DamageType, SettingABitKeepsTheRest) {
    DAMAGE_TYPE t(DAMAGE_PHYSICAL);
    t.set(DAMAGE_TYPE::FIRE, true);
    EXPECT_EQ(t.val, 9u);
    t.set(DAMAGE_TYPE::PHYSICAL, false);
    EXPECT_EQ(t.val, 8u);

    DAMAGE_TYPE all(0xFFFFFFFFu);
    for (int i = 0; i < DAMAGE_TYPE::BIT_COUNT; ++i) {
        EXPECT_TRUE(all.test(static_cast<DAMAGE_TYPE::Bit>(i))) << i;
    }
    all.set(DAMAGE_TYPE::ARROW, false);
    EXPECT_EQ(all.val, 0xFFBFFFFFu) << "unnamed high bits survive";
}

struct CountedEffect : qel::Core {
    static int destroyed;
    ~CountedEffect() override { ++destroyed; }
};
int CountedEffect::destroyed = 0;

TEST(Damage, ConstructionForms) {
    const Damage none;
    EXPECT_EQ(none.damage, 0);
    EXPECT_EQ(none.hit, 0);
    EXPECT_EQ(none.type.val, 0u);
    EXPECT_EQ(none.addtype, 0);
    EXPECT_EQ(none.effect, nullptr);

    const Damage amountOnly(10);
    EXPECT_EQ(amountOnly.damage, 10);
    EXPECT_EQ(amountOnly.hit, 0);
    EXPECT_EQ(amountOnly.type.val, 0u);

    const Damage byWord(5, 80, DAMAGE_PHYSICAL | DAMAGE_NEAR, 3);
    EXPECT_EQ(byWord.hit, 80);
    EXPECT_EQ(byWord.type.val, 3u);
    EXPECT_EQ(byWord.addtype, 3);

    const Damage byRecord(5, 80, DAMAGE_TYPE(DAMAGE_MAGIC));
    EXPECT_TRUE(byRecord.type.test(DAMAGE_TYPE::MAGIC));
}

TEST(Damage, EffectIsDestroyedOnlyByDeleteEffectAndOnlyOnce) {
    CountedEffect::destroyed = 0;
    auto* effect = new CountedEffect();
    ASSERT_NE(effect, nullptr);
    {
        Damage d(1, 0, DAMAGE_NONE, 0, effect);
        EXPECT_EQ(d.effect, effect);
    }
    EXPECT_EQ(CountedEffect::destroyed, 0) << "the record does not own the effect at its end";

    Damage d(1, 0, DAMAGE_NONE, 0, effect);
    d.deleteEffect();
    EXPECT_EQ(CountedEffect::destroyed, 1);
    EXPECT_EQ(d.effect, nullptr);
    d.deleteEffect();
    EXPECT_EQ(CountedEffect::destroyed, 1);

    Damage bare;
    bare.deleteEffect();  // nothing attached: nothing happens
}

TEST(Damage, ClassRecordCreatesAZeroedRecord) {
    qel::Core* made = Damage::staticClassInfo().create();
    ASSERT_NE(made, nullptr);
    Damage* d = qel::classCast<Damage>(made);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->damage, 0);
    EXPECT_EQ(d->type.val, 0u);
    EXPECT_EQ(d->effect, nullptr);
    delete made;
}

}  // namespace
