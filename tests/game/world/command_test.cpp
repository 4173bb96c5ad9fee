// The command record: its start values, the clamped direction, actions by
// record and by tag (the act points follow a found action only), the item
// list, and the actor and items letting go of objects that go.
#include "game/world/command.h"

#include <gtest/gtest.h>

#include <array>

#include "engine/core/object_operation.h"
#include "game/data/action.h"
#include "game/data/action_list.h"
#include "game/world/object_chara.h"
#include "game/world/object_item.h"
#include "tests/game/data/csv_fixture.h"

namespace {

class CommandTest : public CsvFixture {
protected:
    void SetUp() override {
        // An action whose ap cell is 3.
        const std::string row = "Swing,swing,Act,0,0x1,ai,1,2,3,4,0,0,msg,0,0,0,0,0,0,0,0,exp,\n";
        std::array<char, kLoadMessageSize> message{};
        ASSERT_TRUE(ActionList::instance().load(message, table("header\n" + row, "a.dat")))
            << message.data();
        ASSERT_EQ(ActionList::instance().get("swing")->ap(), 3);
    }
    void TearDown() override { ActionList::instance().clear(); }
};

TEST_F(CommandTest, StartValuesDirectionsAndActions) {
    Command c;
    EXPECT_EQ(c.getType(), Command::NONE);
    EXPECT_EQ(Command::NONE, 39);
    EXPECT_EQ(c.getActor(), nullptr);
    EXPECT_EQ(c.getDir(), (qel::Point{0, 0}));
    c.setDir(qel::Point(5, -7));
    EXPECT_EQ(c.getDir(), (qel::Point{1, -1}));
    c.setDir(0, 1);
    EXPECT_EQ(c.getDir(), (qel::Point{0, 1}));

    c.setActPoint(10);
    c.setAction("nothing");
    EXPECT_EQ(c.getAction(), nullptr);
    EXPECT_EQ(c.getActPoint(), 10) << "an unknown tag leaves the act points";
    c.setAction("swing");
    EXPECT_EQ(c.getAction(), ActionList::instance().get("swing"));
    EXPECT_EQ(c.getActPoint(), 3);
    c.setActPoint(7);
    c.setAction(static_cast<const char*>(nullptr));
    EXPECT_EQ(c.getAction(), nullptr);
    EXPECT_EQ(c.getActPoint(), 7);
    c.setActPoint(2147483647);
    c.addActPoint(1);
    EXPECT_EQ(c.getActPoint(), -2147483647 - 1) << "wraps";

    auto* a = new ObjectItem();
    EXPECT_FALSE(c.addItem(nullptr)) << "no empty entry";
    EXPECT_TRUE(c.addItem(a));
    EXPECT_TRUE(c.addItem(a));
    EXPECT_EQ(c.getItemNum(), 2);
    EXPECT_EQ(c.getItem(1), a);
    EXPECT_EQ(c.getItem(2), nullptr);
    EXPECT_EQ(c.getItem(-1), nullptr);
    c.clearItem();
    EXPECT_EQ(c.getItemNum(), 0);
    ObjectBase::destroy(a);
}

TEST_F(CommandTest, ActorAndItemsReadNullOnceTheyGo) {
    auto* actor = new ObjectChara();
    auto* item = new ObjectItem();
    auto* kept = new ObjectItem();
    Command c(Command::HIT, actor);
    c.addItem(item);
    c.addItem(kept);
    Command copy = c;
    ObjectBase::destroy(actor);
    ObjectBase::destroy(item);
    for (const Command* command : {&c, &copy}) {
        EXPECT_EQ(command->getActor(), nullptr);
        EXPECT_EQ(command->getItemNum(), 2) << "the entry stays, reading null";
        EXPECT_EQ(command->getItem(0), nullptr);
        EXPECT_EQ(command->getItem(1), kept);
    }
    {
        // Going while an operation runs: null at once, though still whole.
        const qel::ObjectOperation operation;
        auto* next = new ObjectChara();
        c.setActor(next);
        ObjectBase::destroy(next);
        ObjectBase::destroy(kept);
        EXPECT_EQ(c.getActor(), nullptr);
        EXPECT_EQ(c.getItem(1), nullptr);
        c.setActor(next);
        EXPECT_EQ(c.getActor(), nullptr) << "a going object is no actor";
    }
}

}  // namespace
