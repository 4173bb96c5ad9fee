#include "engine/system/message_box.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "tests/support/message_box_recorder.h"

namespace qel {
namespace {

TEST(MessageBox, RecorderTakesBoxesFromAnyThreadWithoutBlocking) {
    test::MessageBoxRecorder recorder;
    MessageBox::setMainThread();
    MessageBox::show("現在は終了できません", "Vornhaldeen");
    std::thread([] { MessageBox::show("other", nullptr); }).join();
    auto boxes = recorder.boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "現在は終了できません");
    EXPECT_EQ(boxes[0].caption, "Vornhaldeen");
    EXPECT_EQ(boxes[1].text, "other");
    EXPECT_EQ(boxes[1].caption, "");
}

TEST(MessageBox, AnotherThreadsBoxIsShownByTheMainThreadAndItsCallerWaits) {
    std::atomic<bool> shownOnMain{false};
    std::thread::id mainId = std::this_thread::get_id();
    MessageBox::setMainThread();
    MessageBox::setSink(
        [&](const std::string& text, const std::string&) {
            shownOnMain = std::this_thread::get_id() == mainId && text == "box";
        },
        /*direct=*/false);
    std::atomic<bool> returned{false};
    std::thread caller([&] {
        MessageBox::show("box", "caption");
        returned = true;
    });
    // The caller cannot return before the main thread has shown its box.
    while (!returned) {
        MessageBox::servePending();
        std::this_thread::yield();
    }
    caller.join();
    EXPECT_TRUE(shownOnMain);
    MessageBox::setSink({});
}

TEST(MessageBox, AnotherThreadsQuestionIsAskedByTheMainThreadAndGetsItsAnswer) {
    // The window system's boxes belong to the main thread: a question from
    // the game thread (a table that failed to read, say) is asked there.
    std::thread::id mainId = std::this_thread::get_id();
    MessageBox::setMainThread();
    std::atomic<int> asked{0};
    MessageBox::setAskDisplay([&](const std::string& text, const std::string&) {
        asked += std::this_thread::get_id() == mainId && text == "again?";
        return asked == 1 ? MessageBox::Choice::Retry : MessageBox::Choice::Cancel;
    });
    std::vector<MessageBox::Choice> answers;
    std::atomic<bool> returned{false};
    std::thread caller([&] {
        answers.push_back(MessageBox::askRetry("again?", "caption"));
        answers.push_back(MessageBox::askRetry("again?", "caption"));
        returned = true;
    });
    while (!returned) {
        MessageBox::servePending();
        std::this_thread::yield();
    }
    caller.join();
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(answers, (std::vector<MessageBox::Choice>{MessageBox::Choice::Retry,
                                                        MessageBox::Choice::Cancel}));
    MessageBox::setAskDisplay({});
}

}  // namespace
}  // namespace qel
