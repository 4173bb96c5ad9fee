#include "engine/task/sys_scene.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/core/register.h"
#include "tests/engine/task/trace_task.h"

namespace qel {
namespace {

using testing::TaskTreeTest;
using testing::trace;
using Lines = std::vector<std::string>;

// Scenes trace like TracedTask; whether init succeeds is looked up by name.
std::map<std::string, bool>& initFails() {
    static std::map<std::string, bool> fails;
    return fails;
}

class TracedScene : public SceneBase {
public:
    explicit TracedScene(const char* name) : name_(name) {}
    ~TracedScene() override { trace().add(name_, "delete"); }
    bool init() override {
        trace().add(name_, "init");
        return !initFails()[name_];
    }
    void update() override { trace().add(name_, "update"); }
    void draw() override { trace().add(name_, "draw"); }
    void release() override { trace().add(name_, "release"); }

private:
    const char* name_;
};

// Each test scene names its class record after itself.
template <class Self>
class NamedScene : public TracedScene {
public:
    NamedScene() : TracedScene(Self::kName) {}
    static const ClassInfo& staticClassInfo() {
        static const ClassInfo info = ClassInfo::make<Self, SceneBase>(Self::kName);
        return info;
    }
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
};
struct Title : NamedScene<Title> {
    static constexpr const char* kName = "Title";
};
struct Opening : NamedScene<Opening> {
    static constexpr const char* kName = "Opening";
};
struct Game : NamedScene<Game> {
    static constexpr const char* kName = "Game";
};

// A task that is not a scene, and a scene that cannot be made from its record.
class NotAScene : public TaskBase {
public:
    QEL_CLASS(NotAScene, TaskBase, Pool::Tasks);
};
class Unmakeable : public SceneBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(Unmakeable, SceneBase, Pool::Tasks);
};

Lines filtered(const char* who, const char* what) {
    Lines out;
    for (const std::string& l : trace().of(who)) {
        if (l.ends_with(what)) out.push_back(l);
    }
    return out;
}

class SysSceneTest : public TaskTreeTest {
protected:
    void SetUp() override {
        TaskTreeTest::SetUp();
        initFails().clear();
        manager = SysScene::create();
        ASSERT_NE(manager, nullptr);
    }
    void TearDown() override {
        TaskTreeTest::TearDown();
        EXPECT_EQ(Register<SysScene>::instance().getSingle(), nullptr);
        EXPECT_EQ(Register<SceneBase>::instance().keyCount(), 0u);
    }

    // The current scene's class name, or "" for none.
    std::string current() const {
        SceneBase* s = manager->getCurrent();
        return s ? s->classInfo().name : "";
    }

    SysScene* manager = nullptr;
};

TEST_F(SysSceneTest, ManagerIsRegisteredUnderTheRoot) {
    EXPECT_EQ(Register<SysScene>::instance().getSingle(), manager);
    EXPECT_EQ(manager->getParent(), sys().getRoot());
    EXPECT_EQ(manager->getState(), TaskBase::kStateActive);
    EXPECT_EQ(current(), "");
}

TEST_F(SysSceneTest, StartUpRequestStartsAtOnceAndBecomesCurrentAtFirstUpdate) {
    ASSERT_TRUE(manager->requestChange(&Title::staticClassInfo()));
    EXPECT_EQ(trace().lines, (Lines{"0:Title.init"}));
    EXPECT_EQ(current(), "");
    frame();
    EXPECT_EQ(current(), "Title");
    EXPECT_EQ(filtered("Title", "update"), (Lines{"1:Title.update"}));
}

TEST_F(SysSceneTest, ReplacementTimingByFrame) {
    ASSERT_TRUE(manager->requestChange(&Title::staticClassInfo()));
    frames(2);
    // Requested during frame 2's events, as a scene's own input would.
    ASSERT_TRUE(manager->requestChange(&Game::staticClassInfo()));
    EXPECT_EQ(current(), "Title");
    ++trace().frame;
    sys().update();
    // Both exist side by side for the rest of this update, the old one dying.
    ASSERT_EQ(current(), "Game");
    ASSERT_EQ(manager->getChildCount(), 2u);
    EXPECT_EQ(manager->getFirstChild()->getState(), TaskBase::kStateDying);
    sys().draw();
    frames(2);
    EXPECT_EQ(trace().of("Title"),
              (Lines{"0:Title.init", "1:Title.update", "1:Title.draw", "2:Title.update",
                     "2:Title.draw", "4:Title.release", "5:Title.delete"}));
    EXPECT_EQ(trace().of("Game"),
              (Lines{"3:Game.init", "3:Game.update", "3:Game.draw", "4:Game.update", "4:Game.draw",
                     "5:Game.update", "5:Game.draw"}));
    EXPECT_EQ(manager->getChildCount(), 1u);
}

TEST_F(SysSceneTest, SecondRequestInOneFrameIsRefusedAndItsSceneDeleted) {
    ASSERT_TRUE(manager->requestChange(&Title::staticClassInfo()));
    frame();
    ASSERT_TRUE(manager->requestChange(&Opening::staticClassInfo()));
    EXPECT_FALSE(manager->requestChange(&Game::staticClassInfo()));
    EXPECT_EQ(trace().of("Game"), (Lines{"1:Game.delete"}));
    EXPECT_FALSE(manager->requestChange(nullptr)) << "a removal is a request too";
    frame();
    EXPECT_EQ(current(), "Opening");
    // Once carried out, the next request is accepted again.
    EXPECT_TRUE(manager->requestChange(&Game::staticClassInfo()));
    frame();
    EXPECT_EQ(current(), "Game");
}

TEST_F(SysSceneTest, RequestWithoutRecordRemovesTheCurrentScene) {
    ASSERT_TRUE(manager->requestChange(&Title::staticClassInfo()));
    frame();
    ASSERT_TRUE(manager->requestChange(nullptr));
    EXPECT_EQ(current(), "Title");
    frames(3);
    EXPECT_EQ(current(), "");
    EXPECT_FALSE(manager->isChangePending());
    EXPECT_EQ(filtered("Title", "release"), (Lines{"3:Title.release"}));
    EXPECT_EQ(filtered("Title", "delete"), (Lines{"4:Title.delete"}));
}

TEST_F(SysSceneTest, SceneWhoseInitFailsNeverBecomesCurrent) {
    // At start-up there is nothing to keep: no current scene.
    initFails()["Title"] = true;
    ASSERT_TRUE(manager->requestChange(&Title::staticClassInfo()));
    frames(3);
    EXPECT_EQ(current(), "");
    EXPECT_EQ(trace().of("Title"), (Lines{"0:Title.init", "1:Title.release", "2:Title.delete"}));

    // Later, the old scene stays current and keeps running.
    ASSERT_TRUE(manager->requestChange(&Opening::staticClassInfo()));
    frame();
    initFails()["Game"] = true;
    ASSERT_TRUE(manager->requestChange(&Game::staticClassInfo()));
    frames(3);
    EXPECT_EQ(current(), "Opening");
    EXPECT_EQ(trace().of("Game"), (Lines{"5:Game.init", "5:Game.release", "6:Game.delete"}));
    EXPECT_EQ(filtered("Opening", "update").back(), "7:Opening.update");
    EXPECT_TRUE(filtered("Opening", "release").empty());

    // And a valid switch is not blocked by the failed one.
    initFails()["Game"] = false;
    ASSERT_TRUE(manager->requestChange(&Game::staticClassInfo()));
    frame();
    EXPECT_EQ(current(), "Game");
}

TEST_F(SysSceneTest, SceneKilledElsewhereIsForgottenBeforeItsBlockIsReused) {
    ASSERT_TRUE(manager->requestChange(&Title::staticClassInfo()));
    frame();
    SceneBase* title = manager->getCurrent();
    ASSERT_NE(title, nullptr);
    title->kill();
    EXPECT_EQ(current(), "Title") << "listed until its kill is processed";
    frames(2);  // released, then deleted
    EXPECT_EQ(current(), "");
    // The next scene may well be allocated in the title's old block; it must
    // not be taken for the old current scene and killed in its place.
    ASSERT_TRUE(manager->requestChange(&Game::staticClassInfo()));
    EXPECT_EQ(current(), "") << "not current before the switch";
    frame();
    EXPECT_EQ(current(), "Game");
    ASSERT_NE(manager->getCurrent(), nullptr);
    EXPECT_TRUE(manager->getCurrent()->isActive());
    frame();
    EXPECT_EQ(filtered("Game", "update"), (Lines{"4:Game.update", "5:Game.update"}));
    EXPECT_TRUE(filtered("Game", "release").empty());
}

TEST_F(SysSceneTest, APendingSceneKilledWhileTheManagerIsSkippedIsDropped) {
    ASSERT_TRUE(manager->requestChange(&Title::staticClassInfo()));
    frame();
    ASSERT_TRUE(manager->requestChange(&Game::staticClassInfo()));
    TaskBase* pending = nullptr;
    for (TaskBase* child : manager->getChildren()) {
        if (child != manager->getCurrent()) pending = child;
    }
    ASSERT_NE(pending, nullptr);
    // The manager sees nothing while its pending scene dies and is deleted.
    manager->setSkipCounter(4);
    pending->kill();
    frames(5);
    EXPECT_EQ(trace().of("Game").back(), "3:Game.delete");
    frames(2);
    EXPECT_FALSE(manager->isChangePending());
    EXPECT_EQ(current(), "Title");
    EXPECT_EQ(manager->getChildCount(), 1u);
}

TEST_F(SysSceneTest, RequestsThatMakeNoSceneChangeNothing) {
    ASSERT_TRUE(manager->requestChange(&Title::staticClassInfo()));
    frame();
    struct Case {
        const char* name;
        const ClassInfo* record;
    };
    const Case cases[] = {
        {"record without factory", &Unmakeable::staticClassInfo()},
        {"record of a task that is not a scene", &NotAScene::staticClassInfo()},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(manager->requestChange(c.record)) << c.name;
        EXPECT_FALSE(manager->isChangePending()) << c.name;
    }
    frames(2);
    EXPECT_EQ(current(), "Title");
    EXPECT_EQ(manager->getChildCount(), 1u);
}

TEST_F(SysSceneTest, SceneRequestedAfterTheStartPhaseSwitchesOnceStarted) {
    ASSERT_TRUE(manager->requestChange(&Title::staticClassInfo()));
    // Runs before the manager in the update pass, so its request comes after
    // this frame's start phase and before the manager's update.
    auto* early = new testing::TracedTask("early", -1.0f);
    early->onUpdate = [this] {
        if (trace().frame == 2) {
            EXPECT_TRUE(manager->requestChange(&Game::staticClassInfo()));
        }
    };
    ASSERT_TRUE(sys().add(early));
    frames(2);
    EXPECT_EQ(current(), "Title") << "an unstarted scene must not replace the running one";
    frame();
    EXPECT_EQ(current(), "Game");
    EXPECT_EQ(filtered("Title", "update").back(), "2:Title.update");
    EXPECT_EQ(trace().of("Game").front(), "3:Game.init");
}

TEST_F(SysSceneTest, ScenesTakeTheLowestFreeKeyAndLeaveTheRegistryWhenKilled) {
    auto& reg = Register<SceneBase>::instance();
    ASSERT_TRUE(manager->requestChange(&Title::staticClassInfo()));
    EXPECT_EQ(reg.Find(0), manager->getFirstChild());
    frame();
    ASSERT_TRUE(manager->requestChange(&Game::staticClassInfo()));
    SceneBase* game = reg.Find(1);
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->getRegisterKey(), 1);
    frame();  // the title is killed and leaves key 0
    EXPECT_EQ(reg.Find(0), nullptr);
    EXPECT_EQ(reg.Find(1), game);
    ASSERT_TRUE(manager->requestChange(&Opening::staticClassInfo()));
    EXPECT_EQ(reg.Find(0)->classInfo().name, std::string("Opening"));
}

}  // namespace
}  // namespace qel
