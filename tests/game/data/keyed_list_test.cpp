#include "game/data/keyed_list.h"

#include <gtest/gtest.h>

#include <string>

#include "game/data/effect_name_list.h"
#include "game/data/sub_icon_list.h"

namespace {

TEST(KeyedList, EffectNamesSortByKey) {
    EffectNameList list;
    list.add(3, "c", qel::Color::RED);
    list.add(1, "a", qel::Color::GREEN);
    list.add(2, "b", qel::Color::BLUE);
    const EffectNameList::Data* first = list.get(0);
    list.sort();
    std::string order;
    for (std::size_t i = 0; i < list.size(); ++i) order += list.get(i)->name;
    EXPECT_EQ(order, "abc");
    EXPECT_EQ(list.get(2), first) << "entries keep their address";
    EXPECT_EQ(list.get(1)->color, qel::Color::BLUE);
    EXPECT_EQ(list.get(3), nullptr);
    list.clear();
    EXPECT_EQ(list.size(), 0u);
}

TEST(KeyedList, SubIconsOfEqualKeyKeepTheirOrder) {
    SubIconList list;
    for (int i = 0; i < 20; ++i) list.add(i % 2, qel::Point(i, 0), qel::Color::WHITE);
    list.sort();
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(list.get(i)->chip.x, static_cast<int>(2 * i)) << i;
        EXPECT_EQ(list.get(10 + i)->chip.x, static_cast<int>(2 * i + 1)) << i;
    }
}

TEST(KeyedList, NewEntriesFromTheirRecords) {
    qel::Core* made = SubIconList::Data::staticClassInfo().create();
    auto* data = static_cast<SubIconList::Data*>(made);
    EXPECT_STREQ(data->classInfo().name, "Data");
    EXPECT_EQ(data->key, 0);
    EXPECT_EQ(data->chip, qel::Point());
    EXPECT_EQ(data->color, qel::Color::WHITE);
    delete made;
}

}  // namespace
