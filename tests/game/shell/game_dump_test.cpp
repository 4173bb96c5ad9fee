// The game's text picture: the same state gives the same text whatever
// order the objects sit in their lists, and what changes shows.
#include "game/shell/game_dump.h"

#include <gtest/gtest.h>

#include "game/world/object_player.h"
#include "tests/game/world/item_fixture.h"

namespace {

class GameDumpTest : public ItemFixture {};

TEST_F(GameDumpTest, SameStateSameTextWhateverTheListOrder) {
    ASSERT_TRUE(loadItems(itemRow(1) + itemRow(2)));
    auto* player = new ObjectPlayer("hero", Point(0, 0), Color::WHITE, Race(), Status());
    player->setPos(3, 4);
    ObjectItem* a = make(1);
    ObjectItem* b = make(2);
    ASSERT_TRUE(a->put(5, 5, false));
    ASSERT_TRUE(b->put(5, 5, false));
    const std::string first = game_dump::dumpGame();
    // The same two items on the same cell, put down the other way round.
    ASSERT_TRUE(b->put(6, 6, false));
    ASSERT_TRUE(a->put(6, 6, false));
    ASSERT_TRUE(b->put(5, 5, false));
    ASSERT_TRUE(a->put(5, 5, false));
    EXPECT_EQ(game_dump::dumpGame(), first);

    EXPECT_NE(first.find("player " + std::to_string(player->getId()) + " \"hero\""),
              std::string::npos)
        << first;
    EXPECT_NE(first.find("  at 3,4\n"), std::string::npos) << first;
    EXPECT_NE(first.find("object type 5 at 5,5 id " + std::to_string(a->getId())),
              std::string::npos)
        << first;
    EXPECT_NE(first.find("script error none"), std::string::npos) << first;

    player->setPos(3, 5);
    player->addItem(a);
    const std::string moved = game_dump::dumpGame();
    EXPECT_NE(moved.find("  at 3,5\n"), std::string::npos) << moved;
    EXPECT_NE(moved.find("  carries item " + std::to_string(a->getId()) + " kind 1"),
              std::string::npos)
        << moved;
    EXPECT_EQ(moved.find("object type 5 at 5,5 id " + std::to_string(a->getId())),
              std::string::npos)
        << moved;
}

}  // namespace
