// The sound-effect manager in a running task tree, playing through the sound
// subsystem on the software mixer: how many players a frame's requests set
// sounding.
#include "game/shell/ui/task_se_manager.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "engine/resource/sys_resource.h"
#include "engine/sound/snd_player.h"
#include "engine/sound/sys_sound.h"
#include "engine/task/sys_task.h"
#include "platform/audio/software_mixer.h"
#include "tests/support/ogg_fixture.h"

namespace {

namespace fs = std::filesystem;

// A task whose draw handler runs a request.
class DrawRequester : public qel::TaskBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(DrawRequester, qel::TaskBase, qel::Pool::Tasks);
    explicit DrawRequester(std::function<void()> onDraw) : onDraw_(std::move(onDraw)) {}
    void draw() override {
        if (onDraw_) onDraw_();
    }

private:
    std::function<void()> onDraw_;
};

class SEManager : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("qel_se_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        for (const char* name : {"ok.ogg", "cancel.ogg"}) {
            ASSERT_TRUE(qel::test::writeBytes((dir_ / name).string(),
                                              qel::test::encodeSine(0.4, 44100, 2)));
        }
        ASSERT_TRUE(resources_.init());
        sound().setAudioDevice(&mixer_);
        sound().setResources(&resources_);
        sound().pacer().setManual(true);
        ASSERT_TRUE(sound().init());
        ASSERT_TRUE(tasks().init());
        manager_ = TaskSEManager::start();
        ASSERT_NE(manager_, nullptr);
        ASSERT_EQ(TaskSEManager::instance(), manager_);
    }
    void TearDown() override {
        tasks().term();
        sound().term();
        sound().setAudioDevice(nullptr);
        sound().setResources(nullptr);
        resources_.term();
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    static qel::SysSound& sound() { return qel::SysSound::instance(); }
    static qel::SysTask& tasks() { return qel::SysTask::instance(); }
    std::string path(const char* name) const { return (dir_ / name).string(); }

    void frame() {
        tasks().update();
        tasks().draw();
    }
    int sounding() const {
        int n = 0;
        for (int i = qel::SysSound::kFirstPlayer; i < qel::SysSound::kPlayerCount; ++i) {
            if (sound().player(i)->state() == qel::SndPlayer::kPlaying) ++n;
        }
        return n;
    }

    fs::path dir_;
    qel::SysResource resources_;
    qel::SoftwareMixer mixer_;
    TaskSEManager* manager_ = nullptr;
};

TEST_F(SEManager, OneFramesRequestsPlayEachNameOnce) {
    EXPECT_TRUE(manager_->request(path("ok.ogg")));
    EXPECT_FALSE(manager_->request(path("ok.ogg")));
    EXPECT_TRUE(manager_->request(path("cancel.ogg")));
    EXPECT_EQ(manager_->pending().size(), 2u);
    frame();
    EXPECT_EQ(sounding(), 2);
    EXPECT_TRUE(manager_->pending().empty());
    // The same name in the next frame plays again, on another player.
    EXPECT_TRUE(manager_->request(path("ok.ogg")));
    frame();
    EXPECT_EQ(sounding(), 3);
}

TEST_F(SEManager, ADrawHandlersRequestPlaysInTheNextFrame) {
    bool asked = false;
    auto* requester = new DrawRequester([&] {
        if (!asked) asked = manager_->request(path("ok.ogg"));
    });
    ASSERT_TRUE(tasks().add(requester));
    frame();
    EXPECT_TRUE(asked);
    EXPECT_EQ(sounding(), 0);
    frame();
    EXPECT_EQ(sounding(), 1);
}

TEST_F(SEManager, OnlyOneManager) {
    EXPECT_EQ(TaskSEManager::start(), nullptr);
    EXPECT_EQ(TaskSEManager::instance(), manager_);
    // A name that plays nothing is dropped all the same.
    EXPECT_TRUE(manager_->request(path("missing.ogg")));
    frame();
    EXPECT_EQ(sounding(), 0);
    EXPECT_TRUE(manager_->pending().empty());
}

}  // namespace
