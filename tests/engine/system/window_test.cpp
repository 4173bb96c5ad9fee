#include "engine/system/window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "engine/core/memory_allocator.h"
#include "engine/system/fps_timer.h"
#include "engine/system/menu_fullscreen.h"
#include "tests/support/fake_window_backend.h"

namespace qel {
namespace {

StartParams gameParams() {
    StartParams p;
    p.title = "Vornhaldeen";
    p.flags = 0xE4;
    return p;
}

struct WindowFixture : ::testing::Test {
    test::FakeWindowBackend backend;
    Window window;
    std::atomic<bool> quit{false};

    void SetUp() override {
        window.bindQuitFlag(&quit);
        window.setWheelHandler(nullptr);
        ASSERT_TRUE(window.create(gameParams(), &backend));
    }
};

TEST(WindowLetterbox, KeepsTheFrameShapeCentredInTheClientArea) {
    struct Case {
        int w, h;
        WindowRect expected;
    };
    const Case cases[] = {
        {1920, 1080, {240, 0, 1680, 1080}},
        // 1280 over the f32 aspect 1.3333334 is 959.99997: 959 rows.
        {1280, 1024, {0, 32, 1280, 991}},
        {800, 600, {0, 0, 800, 600}},
        {1600, 1200, {0, 0, 1600, 1200}},
        {1000, 600, {100, 0, 900, 600}},
        // One column wider: the spare column goes right (left 0.5 truncates to 0).
        {801, 600, {0, 0, 800, 600}},
        // 800 over the f32 aspect is 599.99998: 599 rows.
        {800, 1000, {0, 200, 800, 799}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Window::computeLetterbox(800, 600, c.w, c.h), c.expected) << c.w << "x" << c.h;
    }
    // A degenerate client (minimised) gets the whole (empty) client.
    EXPECT_EQ(Window::computeLetterbox(800, 600, 0, 0), (WindowRect{0, 0, 0, 0}));
}

TEST_F(WindowFixture, CreationShowsTheWindowWithTheStartRecordSettings) {
    EXPECT_EQ(backend.creates, 1);
    EXPECT_TRUE(backend.desc.maximizeBox);
    EXPECT_TRUE(backend.desc.vsync);
    EXPECT_FALSE(backend.desc.fullscreen);
    EXPECT_TRUE(backend.shown);
    EXPECT_FALSE(window.isLetterboxed());
    EXPECT_EQ(backend.presentRect, (WindowRect{0, 0, 800, 600}));
}

TEST(Window, TheSystemRecordsMakeTheirObjectsInTheSystemPool) {
    for (const ClassInfo* record :
         {&Window::staticClassInfo(), &WindowMenuBase::staticClassInfo(),
          &MenuDevelop::staticClassInfo(), &MenuFullscreen::staticClassInfo(),
          &FpsTimer::staticClassInfo()}) {
        Core* made = record->create();
        ASSERT_NE(made, nullptr) << record->name;
        EXPECT_EQ(&made->classInfo(), record);
        EXPECT_EQ(MemoryAllocatorBase::ownerOf(made), poolById(Pool::System)) << record->name;
        delete made;
    }
}

TEST(Window, FailedCreationReportsFalse) {
    test::FakeWindowBackend backend;
    backend.createSucceeds = false;
    Window window;
    EXPECT_FALSE(window.create(gameParams(), &backend));
    EXPECT_EQ(window.backend(), nullptr);
}

bool allowClose() {
    return true;
}
int closeQueries = 0;
bool countingRefusal() {
    ++closeQueries;
    return false;
}

TEST_F(WindowFixture, CloseIsAskedOnTheGameThreadAndCanBeRefused) {
    closeQueries = 0;
    window.setCloseCallback(&countingRefusal);
    window.onCloseRequest();
    EXPECT_FALSE(quit);  // only flagged on the window thread
    EXPECT_TRUE(window.isCloseRequested());
    window.update();
    EXPECT_EQ(closeQueries, 1);
    EXPECT_FALSE(quit);
    EXPECT_FALSE(window.isCloseRequested());  // the request is cleared
    window.update();
    EXPECT_EQ(closeQueries, 1);  // and not asked again without a new close

    window.setCloseCallback(&allowClose);
    window.onCloseRequest();
    window.update();
    EXPECT_TRUE(quit);
}

TEST_F(WindowFixture, CloseWithoutCallbackEndsTheProgramAtOnce) {
    window.onCloseRequest();
    EXPECT_TRUE(quit);
}

int maximizes = 0;
int restores = 0;
void countMaximize() {
    ++maximizes;
}
void countRestore() {
    ++restores;
}

TEST_F(WindowFixture, MaximiseEntersTheLetterboxedFullScreenWindowAndRestoreLeavesIt) {
    maximizes = restores = 0;
    window.setMaximizeCallback(&countMaximize);
    window.setRestoreCallback(&countRestore);
    backend.clientWidth = 1280;
    backend.clientHeight = 1024;
    window.onMaximize();
    EXPECT_TRUE(backend.fullscreenWindow);
    EXPECT_TRUE(window.isLetterboxed());
    EXPECT_EQ(backend.presentRect, (WindowRect{0, 32, 1280, 991}));
    EXPECT_EQ(maximizes, 0);
    window.update();
    EXPECT_EQ(maximizes, 1);

    // Back from the task bar: still the full-screen window.
    window.onMinimize();
    window.onRestore();
    window.update();
    EXPECT_TRUE(window.isFullscreenWindow());
    EXPECT_EQ(restores, 0);

    window.onRestore();
    EXPECT_FALSE(backend.fullscreenWindow);
    EXPECT_FALSE(window.isLetterboxed());
    window.update();
    EXPECT_EQ(restores, 1);
}

TEST_F(WindowFixture, AResizedWindowKeepsTheFrameShape) {
    backend.clientWidth = 1920;
    backend.clientHeight = 1080;
    window.onResize(1920, 1080);
    EXPECT_EQ(backend.presentRect, (WindowRect{240, 0, 1680, 1080}));
}

TEST_F(WindowFixture, FullScreenMenuCommandsRestoreAndCloseThroughTheWindowThread) {
    maximizes = restores = closeQueries = 0;
    window.setCloseCallback(&countingRefusal);
    window.setRestoreCallback(&countRestore);
    window.onMaximize();
    window.attachMenu(MenuFullscreen::staticClassInfo());
    ASSERT_NE(window.menuBar(), nullptr);
    ASSERT_EQ(window.menuBar()->popups.size(), 1u);
    const MenuPopup& popup = window.menuBar()->popups[0];
    EXPECT_EQ(popup.label, "ウィンドウ");
    ASSERT_EQ(popup.items.size(), 2u);
    EXPECT_EQ(popup.items[0].id, 21001);
    EXPECT_EQ(popup.items[0].label, "元に戻す");
    EXPECT_EQ(popup.items[1].id, 21002);
    EXPECT_EQ(popup.items[1].label, "閉じる");

    // "閉じる" reaches the close query like the window's close box.
    window.onMenuShortcut(1);
    window.update();  // game thread: onCommand posts the close to the window thread
    EXPECT_EQ(closeQueries, 0);
    window.serviceRequests();
    window.update();
    EXPECT_EQ(closeQueries, 1);

    window.onMenuShortcut(0);  // "元に戻す"
    window.update();
    window.serviceRequests();
    EXPECT_FALSE(window.isFullscreenWindow());
    window.update();
    EXPECT_EQ(restores, 1);

    window.onMenuShortcut(7);  // no such item
    window.update();
    window.detachMenu();
    EXPECT_EQ(window.menu(), nullptr);
    window.onMenuShortcut(1);  // no menu: ignored
}

TEST_F(WindowFixture, OnlyMenuClassesAttach) {
    window.attachMenu(Window::staticClassInfo());
    EXPECT_EQ(window.menu(), nullptr);
    window.attachMenu(MenuFullscreen::staticClassInfo());
    WindowMenuBase* first = window.menu();
    ASSERT_NE(first, nullptr);
    window.attachMenu(MenuFullscreen::staticClassInfo());  // replaces the old one
    EXPECT_NE(window.menu(), nullptr);
    EXPECT_EQ(window.menuBar()->popups.size(), 1u);
}

// A menu that takes one id at once on the window thread.
class HandlingMenu : public WindowMenuBase {
public:
    QEL_CLASS(HandlingMenu, WindowMenuBase, Pool::System);
    bool handleCommand(std::int32_t id) override { return id == 5; }
};

TEST(WindowMenuBase, QueuedCommandsRunInOrderUnlessHandledAtOnce) {
    HandlingMenu menu;
    for (int id : {3, 5, 4, 3}) menu.dispatch(id);
    std::vector<std::int32_t> ids = menu.takeCommands();
    EXPECT_EQ(ids, (std::vector<std::int32_t>{3, 4, 3}));
    EXPECT_TRUE(menu.takeCommands().empty());
}

// A menu whose first command takes the menu off the window.
class DetachingMenu : public WindowMenuBase {
public:
    QEL_CLASS(DetachingMenu, WindowMenuBase, Pool::System);
    void onCommand(std::int32_t id) override {
        ++ran;
        if (id == 1) window()->detachMenu();
        if (id == 2) window()->attachMenu(MenuFullscreen::staticClassInfo());
        if (id == 5) {
            // The new menu may well take the old one's place in the pool.
            Window* w = window();
            w->detachMenu();
            w->attachMenu(DetachingMenu::staticClassInfo());
        }
    }
    static inline int ran = 0;
};

TEST_F(WindowFixture, ACommandThatReplacesTheMenuEndsTheDrainOfTheOldOne) {
    for (std::int32_t first : {1, 2, 5}) {
        DetachingMenu::ran = 0;
        window.attachMenu(DetachingMenu::staticClassInfo());
        ASSERT_NE(window.menu(), nullptr);
        for (std::int32_t id : {first, 3, 4}) window.menu()->dispatch(id);
        window.update();  // the old menu is gone after its first command
        EXPECT_EQ(DetachingMenu::ran, 1) << first;
        EXPECT_EQ(window.menu() != nullptr, first != 1);
        window.update();
        EXPECT_EQ(DetachingMenu::ran, 1) << first;
        window.detachMenu();
    }
}

TEST_F(WindowFixture, TitleIsCutAtSixtyFourBytesWithoutSplittingACharacter) {
    std::string longTitle(63, 'a');
    longTitle += "漢";  // two bytes starting at byte 63
    window.setTitle(longTitle.c_str());
    EXPECT_EQ(std::string(window.title()), std::string(63, 'a'));
    EXPECT_EQ(backend.title, std::string(63, 'a'));
    window.setTitle("Vornhaldeen Ver 1.00");
    EXPECT_EQ(std::string(window.title()), "Vornhaldeen Ver 1.00");
    window.setTitle(nullptr);
    EXPECT_EQ(std::string(window.title()), "");
}

}  // namespace
}  // namespace qel
