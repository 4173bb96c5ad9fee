#include "game/world/object_base_types.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using T = ObjectBaseTypes;

TEST(ObjectBaseTypes, PresetWords) {
    struct Case {
        const char* name;
        const T::INFO& info;
        std::uint32_t word;
        int priority;
        bool walk, put, sight, openView;
    };
    const Case cases[] = {
        {"INFO_PLAYER", T::INFO_PLAYER, 0x632, 50, false, true, true, false},
        {"INFO_NPC", T::INFO_NPC, 0x628, 40, false, true, true, false},
        {"INFO_ITEM", T::INFO_ITEM, 0xF1E, 30, true, true, true, true},
        {"INFO_TRAP", T::INFO_TRAP, 0xF0A, 10, true, true, true, true},
        {"INFO_EFFECT", T::INFO_EFFECT, 0x73C, 60, true, true, true, false},
        {"INFO_GIMMICK_FLOOR", T::INFO_GIMMICK_FLOOR, 0xF14, 20, true, true, true, true},
        {"INFO_GIMMICK_TABLE", T::INFO_GIMMICK_TABLE, 0xC15, 21, false, false, true, true},
        {"INFO_GIMMICK_WALL", T::INFO_GIMMICK_WALL, 0x823, 35, false, false, false, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.info.data, c.word) << c.name;
        EXPECT_EQ(c.info.priority(), c.priority) << c.name;
        EXPECT_EQ(c.info.walk(), c.walk) << c.name;
        EXPECT_EQ(c.info.put(), c.put) << c.name;
        EXPECT_EQ(c.info.sight(), c.sight) << c.name;
        EXPECT_EQ(c.info.openView(), c.openView) << c.name;
    }
}

TEST(ObjectBaseTypes, InfoSettersTouchOnlyTheirOwnBits) {
    T::INFO info(0xABCDE000u);   // bits above 11 carry nothing but must survive
    info.set(0x7F, 1, 0, 7, 0);  // any non-zero argument is a set flag
    EXPECT_EQ(info.data, 0xABCDE000u | 0x57F);

    info.setPriority(0xFF);
    info.setWalk(false);
    info.setPut(true);
    info.setOpenView(true);
    info.setSight(false);
    EXPECT_EQ(info.data, 0xABCDE000u | 0xAFF);
    EXPECT_EQ(T::INFO(50, 0, 1, 1, 0), T::INFO_PLAYER) << "a new word starts from zero";
    EXPECT_EQ(T::INFO().data, 0u);
}

TEST(ObjectBaseTypes, KindListOfEveryType) {
    struct Case {
        T::TYPE type;
        T::LINK link;
    };
    const Case cases[] = {
        {T::TYPE_NONE, T::LINK_OTHER},  {T::TYPE_PLAYER, T::LINK_PLAYER},
        {T::TYPE_NPC, T::LINK_NPC},     {T::TYPE_ENEMY, T::LINK_NPC},
        {T::TYPE_FRIEND, T::LINK_NPC},  {T::TYPE_ITEM, T::LINK_ITEM},
        {T::TYPE_TRAP, T::LINK_TRAP},   {T::TYPE_GIMMICK, T::LINK_OTHER},
        {T::TYPE_EVENT, T::LINK_OTHER}, {static_cast<T::TYPE>(99), T::LINK_OTHER},
    };
    for (const Case& c : cases) EXPECT_EQ(T::getTypeOfLink(c.type), c.link) << c.type;
    EXPECT_EQ(T::LINK_MAX, 5);
}

// The object class inherits these, which is how the game names them.
struct FakeObject : ObjectBaseTypes {
    INFO info = INFO_ITEM;
    TYPE type = TYPE_ITEM;
};

TEST(ObjectBaseTypes, InheritedNamesResolveThroughTheObjectClass) {
    FakeObject o;
    EXPECT_EQ(FakeObject::getTypeOfLink(o.type), FakeObject::LINK_ITEM);
    EXPECT_TRUE(o.info.openView());
    static_assert(sizeof(FakeObject) == sizeof(FakeObject::INFO) + sizeof(FakeObject::TYPE),
                  "the mixin adds no storage");
}

}  // namespace
