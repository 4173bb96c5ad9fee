#include "engine/system/sys_main.h"

#include <gtest/gtest.h>

#include <atomic>
#include <clocale>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/core/memory_allocator.h"
#include "engine/system/message_box.h"
#include "engine/system/window.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_instance_lock.h"
#include "tests/support/fake_window_backend.h"
#include "tests/support/message_box_recorder.h"
#include "tests/support/recording_graphics_device.h"

namespace qel {
namespace {

using Log = std::vector<std::string>;

// Every pass of the application leaves "<name>.<operation>" in the log.
class FakeSystem : public SysBase {
public:
    FakeSystem(std::string name, Log* log) : name_(std::move(name)), log_(log) {}
    bool init() override { return note("init"), initResult; }
    void term() override { note("term"); }
    bool update() override { return note("update"), true; }
    void draw() override { note("draw"); }
    void onLostDevice() override { note("lost"); }
    void onResetDevice() override { note("reset"); }
    bool initResult = true;

private:
    void note(const char* op) { log_->push_back(name_ + "." + op); }
    std::string name_;
    Log* log_;
};

Log* hookLog = nullptr;
bool hookResult = true;
bool noteGameInit() {
    hookLog->push_back("game.init");
    return hookResult;
}
void noteGameShutdown() {
    hookLog->push_back("game.shutdown");
}
bool noteScene() {
    hookLog->push_back("scene");
    return true;
}

StartParams gameParams() {
    StartParams p;
    p.title = "Vornhaldeen";
    p.mutexName = "Vornhaldeen";
    p.flags = 0xE4;
    return p;
}

// An application whose every slot and hook writes to one log, with a fake
// window, device and clock.
struct AppFixture : ::testing::Test {
    Log log;
    test::FakeClock clock;
    test::FakeWindowBackend backend;
    test::FakeInstanceLock instanceLock;
    Window window;
    SysMain app;
    FakeSystem input{"input", &log}, task{"task", &log}, resource{"resource", &log},
        camera{"camera", &log}, light{"light", &log}, render{"render", &log},
        memory{"memory", &log}, sound{"sound", &log}, extraA{"addedA", &log},
        extraB{"addedB", &log};
    RecordingGraphicsDevice* device = nullptr;
    std::string lockDir;

    void SetUp() override {
        hookLog = &log;
        hookResult = true;
        app.setSubsystem(SysMain::kSlotInput, &input);
        app.setSubsystem(SysMain::kSlotTask, &task);
        app.setSubsystem(SysMain::kSlotResource, &resource);
        app.setSubsystem(SysMain::kSlotCamera, &camera);
        app.setSubsystem(SysMain::kSlotLight, &light);
        app.setSubsystem(SysMain::kSlotRender, &render);
        app.setSubsystem(SysMain::kSlotMemory, &memory);
        app.setSubsystem(SysMain::kSlotSound, &sound);
        app.setSceneHook(&noteScene);
        app.setGameInitHook(&noteGameInit);
        app.setGameShutdownHook(&noteGameShutdown);
        app.setClock(&clock);
        app.setWindow(&window);
        window.setWheelHandler(nullptr);
        app.setWindowBackend(&backend);
        app.setDeviceFactory([this](int, int, int) {
            auto d = std::make_unique<RecordingGraphicsDevice>();
            device = d.get();
            return SysMain::CreatedDevice{std::move(d), DeviceError::None};
        });
        // The fake lock keeps names apart by folder: one folder per test.
        lockDir = std::string("sys_main_") +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        app.setInstanceLock(&instanceLock);
        app.setInstanceLockDirectory(lockDir);
    }

    Log take() {
        Log out;
        out.swap(log);
        return out;
    }
};

TEST_F(AppFixture, SubsystemsRunInTheirFixedOrdersWithAddedOnesLast) {
    ASSERT_TRUE(app.createDevice(gameParams()));
    ASSERT_TRUE(app.init());
    EXPECT_EQ(take(), (Log{"resource.init", "input.init", "task.init", "camera.init", "light.init",
                           "render.init", "sound.init", "scene", "game.init"}));
    // Text is Shift-JIS by explicit conversion: the C locale stays.
    EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");

    EXPECT_EQ(app.addSystem(&extraA), 0);
    EXPECT_EQ(app.addSystem(&extraB), 1);
    EXPECT_EQ(take(), (Log{"addedA.init", "addedB.init"}));

    EXPECT_TRUE(app.update());
    EXPECT_EQ(app.frameCounter(), 1u);
    EXPECT_EQ(take(), (Log{"input.update", "task.update", "memory.update", "resource.update",
                           "camera.update", "light.update", "render.update", "sound.update",
                           "addedA.update", "addedB.update"}));

    app.draw();
    EXPECT_EQ(take(), (Log{"input.draw", "resource.draw", "camera.draw", "light.draw", "sound.draw",
                           "addedA.draw", "addedB.draw", "task.draw", "render.draw"}));

    app.term();
    EXPECT_EQ(take(),
              (Log{"game.shutdown", "addedA.term", "addedB.term", "sound.term", "render.term",
                   "camera.term", "light.term", "task.term", "input.term", "resource.term"}));
}

TEST_F(AppFixture, TheFirstFailingInitStopsStartUp) {
    camera.initResult = false;
    EXPECT_FALSE(app.init());
    EXPECT_EQ(take(), (Log{"resource.init", "input.init", "task.init", "camera.init"}));

    camera.initResult = true;
    hookResult = false;  // the game's hook decides init's result
    EXPECT_FALSE(app.init());
    EXPECT_EQ(take().back(), "game.init");
}

TEST_F(AppFixture, AnAddedSubsystemThatFailsItsInitEndsTheProgram) {
    extraA.initResult = false;
    EXPECT_EQ(app.addSystem(&extraA), -1);
    EXPECT_TRUE(app.isQuit());
    EXPECT_EQ(app.addSystem(nullptr), -1);
    app.update();
    EXPECT_EQ(std::count(log.begin(), log.end(), "addedA.update"), 0);
}

TEST_F(AppFixture, TheAddedListLivesInTheSystemPoolAndGoesAtTerm) {
    auto used = [] { return MemoryAllocator<Pool::System>::instance().stats().usedBlocks; };
    std::vector<std::unique_ptr<FakeSystem>> added;  // subsystems are system-pool objects too
    for (int i = 0; i < 9; ++i) added.push_back(std::make_unique<FakeSystem>("added", &log));
    const std::size_t before = used();
    for (int i = 0; i < 9; ++i) {  // past the first capacity of 4 and its growth to 8
        EXPECT_EQ(app.addSystem(added[i].get()), i);
        EXPECT_EQ(used(), before + 1) << i;
    }
    app.update();
    EXPECT_EQ(std::count(log.begin(), log.end(), "added.update"), 9);
    app.term();
    EXPECT_EQ(std::count(log.begin(), log.end(), "added.term"), 9);
    EXPECT_EQ(used(), before);
}

// A subsystem that another thread adds (the boot loader adds the socket
// client while frames run); it counts its calls without the log.
class CountingSystem : public SysBase {
public:
    bool init() override { return inits.fetch_add(1), true; }
    bool update() override { return updates.fetch_add(1), true; }
    std::atomic<int> inits{0};
    std::atomic<int> updates{0};
};

TEST_F(AppFixture, ASubsystemAddedFromAnotherThreadJoinsBetweenFrames) {
    CountingSystem late;
    app.gameLock().enter();  // a frame is running
    std::thread loader([&] { EXPECT_EQ(app.addSystem(&late), 0); });
    while (late.inits == 0) std::this_thread::yield();
    for (int i = 0; i < 1000; ++i) std::this_thread::yield();
    app.update();  // still the same frame's list
    EXPECT_EQ(late.updates, 0);
    app.gameLock().leave();
    loader.join();
    app.gameLock().enter();
    app.update();
    app.gameLock().leave();
    EXPECT_EQ(late.updates, 1);
}

// Counts inits and terms of the same object from any thread.
class BalancedSystem : public SysBase {
public:
    bool init() override { return inits.fetch_add(1), true; }
    void term() override { terms.fetch_add(1); }
    std::atomic<int> inits{0};
    std::atomic<int> terms{0};
};

TEST_F(AppFixture, ShutdownRacingALoaderThatAddsSubsystemsLosesNoneAndTouchesNoFreedList) {
    for (int round = 0; round < 50; ++round) {
        SysMain racing;
        std::vector<std::unique_ptr<BalancedSystem>> systems;
        for (int i = 0; i < 40; ++i) systems.push_back(std::make_unique<BalancedSystem>());
        std::atomic<bool> go{false};
        std::thread loader([&] {
            while (!go) std::this_thread::yield();
            for (auto& s : systems) racing.addSystem(s.get());
        });
        go = true;
        for (int i = 0; i < round % 7; ++i) std::this_thread::yield();
        racing.term();
        loader.join();
        // Each subsystem that came up went down once, whichever side of the
        // shutdown its addition fell on.
        for (auto& s : systems) {
            ASSERT_EQ(s->inits.load(), 1) << round;
            ASSERT_EQ(s->terms.load(), 1) << round;
        }
    }
}

TEST_F(AppFixture, DeviceLossIsRepairedOnTheWindowThreadAndTheTreeHearsAtItsNextDraw) {
    ASSERT_TRUE(app.createDevice(gameParams()));
    device->setStatus(DeviceStatus::Lost);
    app.renderFrame();
    EXPECT_EQ(app.deviceState(), SysMain::kDeviceLost);
    EXPECT_EQ(backend.frames, 1);
    take();

    // Not ready for a reset yet: only the lost notices, again on each attempt.
    app.onResetDevice();
    EXPECT_EQ(device->callsOf(RecordingGraphicsDevice::Op::Reset).size(), 0u);
    EXPECT_EQ(take(), (Log{"input.lost", "task.lost", "resource.lost", "camera.lost", "light.lost",
                           "render.lost", "memory.lost", "sound.lost"}));
    // A failing reset leaves the device lost.
    device->setStatus(DeviceStatus::NeedsReset);
    device->setResetSucceeds(false);
    app.onResetDevice();
    EXPECT_EQ(device->callsOf(RecordingGraphicsDevice::Op::Reset).size(), 1u);
    EXPECT_EQ(app.deviceState(), SysMain::kDeviceLost);
    take();

    device->setResetSucceeds(true);
    app.onResetDevice();
    EXPECT_EQ(app.deviceState(), SysMain::kDeviceResetDone);
    Log log2 = take();
    Log resets(log2.begin() + 8, log2.end());
    EXPECT_EQ(resets, (Log{"input.reset", "resource.reset", "camera.reset", "light.reset",
                           "render.reset", "memory.reset", "sound.reset"}));

    app.draw();  // the task tree gets its reset in place of this draw
    EXPECT_EQ(take(), (Log{"input.draw", "resource.draw", "camera.draw", "light.draw", "sound.draw",
                           "task.reset", "render.draw"}));
    EXPECT_EQ(app.deviceState(), SysMain::kDeviceOk);
    app.draw();
    EXPECT_EQ(std::count(log.begin(), log.end(), "task.draw"), 1);
}

// Ends the program after a few sleeps, so a waiting loop can be watched.
class QuittingClock : public test::FakeClock {
public:
    explicit QuittingClock(SysMain& app) : app_(app) {}
    void sleepMilliseconds(std::uint32_t ms) override {
        FakeClock::sleepMilliseconds(ms);
        if (sleeps() >= 3) app_.requestQuit();
    }

private:
    SysMain& app_;
};

TEST_F(AppFixture, TheGameThreadSleepsWhileTheDeviceIsLostAndLeavesOnQuit) {
    QuittingClock quitting(app);
    app.setClock(&quitting);
    app.setDeviceState(SysMain::kDeviceLost);
    app.gameLoop();  // returns only because the clock set the quit flag
    EXPECT_EQ(quitting.sleeps(), 3);
    EXPECT_TRUE(log.empty());                // no frame ran
    EXPECT_TRUE(app.gameLock().tryEnter());  // and the lock was not kept
    app.gameLock().leave();
}

TEST_F(AppFixture, DeviceCreationFallsBackAndNamesTheFirstAttemptsError) {
    struct Case {
        int failures;  // attempts that fail before one succeeds (4: all fail)
        DeviceError firstError;
        const char* message;  // null: no message
    };
    const Case cases[] = {
        {0, DeviceError::None, nullptr},
        {3, DeviceError::NotAvailable, nullptr},  // the reference device still works
        {4, DeviceError::OutOfVideoMemory,
         "ビデオカードの初期化に失敗しました。\nDirect3D "
         "が処理を行うのに十分なディスプレイ メモリがない。"},
        {4, DeviceError::NotAvailable,
         "ビデオカードの初期化に失敗しました。\nこのデバイスは、問い合わせたテクニックをサポートし"
         "ていない。"},
        {4, DeviceError::InvalidCall,
         "ビデオカードの初期化に失敗しました。\nメソッドの呼び出しが無効である。たとえば、メソッド"
         "の"
         "パラメータに無効な値が設定されている場合などである。"},
        {4, DeviceError::Unknown, "ビデオカードの初期化に失敗しました。\n不明なエラー"},
    };
    for (const Case& c : cases) {
        SysMain fresh;
        std::vector<int> attempts;
        fresh.setDeviceFactory([&](int attempt, int w, int h) {
            EXPECT_EQ(w, 800);
            EXPECT_EQ(h, 600);
            attempts.push_back(attempt);
            SysMain::CreatedDevice made;
            if (attempt >= c.failures) {
                made.device = std::make_unique<RecordingGraphicsDevice>();
            } else {
                // Later attempts fail differently: only the first one's error counts.
                made.error = attempt == 0 ? c.firstError : DeviceError::Unknown;
            }
            return made;
        });
        test::MessageBoxRecorder boxes;
        bool ok = fresh.createDevice(gameParams());
        EXPECT_EQ(ok, c.failures < 4);
        EXPECT_EQ(attempts.size(), static_cast<std::size_t>(std::min(c.failures + 1, 4)));
        for (std::size_t i = 0; i < attempts.size(); ++i) EXPECT_EQ(attempts[i], int(i));
        if (c.message) {
            ASSERT_EQ(boxes.boxes().size(), 1u);
            EXPECT_EQ(boxes.boxes()[0].text, c.message);
            EXPECT_EQ(boxes.boxes()[0].caption, "");  // the title is set by start-up
            EXPECT_EQ(fresh.device(), nullptr);
        } else {
            EXPECT_TRUE(boxes.boxes().empty());
            EXPECT_NE(fresh.device(), nullptr);
        }
    }
}

TEST_F(AppFixture, ASecondInstanceIsRefusedBeforeAnyWindowExists) {
    test::FakeInstanceLock first;
    ASSERT_TRUE(first.acquire("Vornhaldeen", lockDir));
    test::MessageBoxRecorder boxes;
    EXPECT_EQ(app.run(gameParams()), 0);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "多重起動は出来ません。\n使用中のフォルダ: " + lockDir);
    EXPECT_EQ(boxes.boxes()[0].caption, "Vornhaldeen");
    EXPECT_EQ(backend.creates, 0);
    EXPECT_TRUE(log.empty());

    // Without the single-instance flag the same start goes ahead.
    StartParams many = gameParams();
    many.flags &= ~kStartSingleInstance;
    app.setFrameLimit(1);
    EXPECT_EQ(app.run(many), 1);
}

TEST_F(AppFixture, StartUpFailuresReturnZero) {
    backend.createSucceeds = false;  // the window: silently
    test::MessageBoxRecorder boxes;
    EXPECT_EQ(app.run(gameParams()), 0);
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_TRUE(log.empty());
    // A start that failed does not keep the next start out.
    test::FakeInstanceLock next;
    EXPECT_TRUE(next.acquire("Vornhaldeen", lockDir));
    next.release();

    backend.createSucceeds = true;
    hookResult = false;  // the game's start-up hook
    EXPECT_EQ(app.run(gameParams()), 0);
    EXPECT_EQ(log.back(), "game.init");
}

TEST_F(AppFixture, RunPlaysFramesUntilTheLimitThenShutsDown) {
    app.setFrameLimit(5);
    EXPECT_EQ(app.run(gameParams()), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "task.update"), 5);
    EXPECT_EQ(std::count(log.begin(), log.end(), "task.draw"), 5);
    EXPECT_EQ(backend.frames, 5);
    EXPECT_EQ(backend.frameWidth, 800);
    EXPECT_EQ(backend.frameHeight, 600);
    EXPECT_EQ(log.back(), "resource.term");
    EXPECT_TRUE(backend.destroyed);
    // Five frames at 60 per second on the application's clock: 16+17+16+17+17.
    EXPECT_GE(app.timer().elapsed(), 83);
}

TEST_F(AppFixture, ALostDeviceIsResetByTheWindowThreadWhileTheGameWaits) {
    app.setDeviceFactory([this](int, int, int) {
        auto d = std::make_unique<RecordingGraphicsDevice>();
        d->loseAtStatusQuery(2);  // after the second frame's present
        device = d.get();
        return SysMain::CreatedDevice{std::move(d), DeviceError::None};
    });
    app.setFrameLimit(6);
    EXPECT_EQ(app.run(gameParams()), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "task.update"), 6);
    // One draw of the tree is replaced by its reset notice.
    EXPECT_EQ(std::count(log.begin(), log.end(), "task.draw"), 5);
    EXPECT_EQ(std::count(log.begin(), log.end(), "task.reset"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "render.reset"), 1);
    EXPECT_GE(std::count(log.begin(), log.end(), "task.lost"), 1);
    auto reset = std::find(log.begin(), log.end(), "render.reset");
    auto treeReset = std::find(log.begin(), log.end(), "task.reset");
    EXPECT_LT(reset, treeReset);
}

int closeAnswers = 0;
bool refuseOnce() {
    return ++closeAnswers >= 2;
}
void closeOnEveryPump(WindowEventSink& sink) {
    sink.onCloseRequest();
}

bool agreeToClose() {
    return true;
}

TEST_F(AppFixture, AnAgreedCloseStopsTheFrameRightAfterTheInputSample) {
    window.bindQuitFlag(&app.quitFlag());  // as start-up does
    window.setCloseCallback(&agreeToClose);
    window.onCloseRequest();
    EXPECT_FALSE(app.update());
    EXPECT_EQ(app.frameCounter(), 1u);
    EXPECT_EQ(take(), Log{"input.update"});
    EXPECT_TRUE(app.isQuit());
}

TEST_F(AppFixture, ClosingTheWindowEndsTheRunOnceTheGameAgrees) {
    closeAnswers = 0;
    window.setCloseCallback(&refuseOnce);
    backend.onPump = &closeOnEveryPump;
    EXPECT_EQ(app.run(gameParams()), 1);
    EXPECT_GE(closeAnswers, 2);
    EXPECT_EQ(log.back(), "resource.term");
}

}  // namespace
}  // namespace qel
