// The game scene's map view on the software device, as the program runs it:
// the whole 50 x 30 map remembered, the blur trail on, 30 animating objects
// drawn into the light target and the shown rectangle magnified onto the
// 800 x 600 screen, unscaled and magnified. BM_GameFrameSteady is a frame
// where no cell changed (goal: under 1 ms in a release build on one core);
// BM_GameFrameFullRedraw adds a full redraw of the field target (goal: under
// 2 ms). Sight is not cast: the field view's own benchmark times that.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "bench/device_frame.h"
#include "engine/render/data_only/sys_light.h"
#include "engine/render/sys_camera.h"
#include "engine/render/sys_render.h"
#include "engine/render/sys_shader.h"
#include "engine/resource/sys_resource.h"
#include "engine/task/sys_task.h"
#include "game/shell/settings.h"
#include "game/shell/task_field.h"
#include "game/world/field_view.h"
#include "game/world/game_data.h"
#include "game/world/object_anim.h"
#include "game/world/object_manager.h"
#include "platform/gfx/software_graphics_device.h"

namespace {

constexpr int kObjects = 30;

class GameFrame {
public:
    explicit GameFrame(float zoomOutScale)
        : device_(qel::SoftwareGraphicsDevice::create(bench::kWidth, bench::kHeight).device) {
        resetSettings();
        FIELD_BLUR_ENABLE = true;
        ZOOM_OUT_SCALE = zoomOutScale;
        resources_.setDevice(device_.get());
        render_.setResources(&resources_);
        qel::SysShader::instance().setResources(&resources_);
        render_.setDevice(device_.get());
        camera_.setDevice(device_.get());
        ok_ = camera_.init() && qel::SysLight::instance().init() && render_.init() && tasks_.init();
        // The chip sheet, registered under the name the map view asks for.
        auto surface =
            device_->createSurface(bench::kAtlas, bench::kAtlas, qel::PixelFormat::A8R8G8B8);
        const auto words = bench::pictureWords(bench::kAtlas, bench::kAtlas, 7, true);
        std::copy(words.begin(), words.end(), surface->pixels().begin());
        chips_ = new qel::ResTexture();
        chips_->attach(std::move(surface));
        chips_->setState(qel::ResBase::kLoaded);
        resources_.registerResource(chips_, RES_TEX_CHIP);

        GameData& game = GameData::instance();
        FieldView& view = *game.getFieldView();
        for (int x = 0; x < FieldView::kWidth; ++x) {
            for (int y = 0; y < FieldView::kHeight; ++y) {
                FieldView::INFO& info = *view.getInfo(x, y);
                info.flag = FieldView::FLAG_MEMORY;
                info.chipLight = {static_cast<std::uint8_t>((x * 7 + y) % 16),
                                  static_cast<std::uint8_t>((x + y * 3) % 16), Color::WHITE};
            }
        }
        for (int i = 0; i < kObjects; ++i) {
            auto* object =
                new ObjectAnim("mover", Point(i % 16, 3), Color::WHITE, 0, ObjectBase::INFO{},
                               Point(3 + i, 4 + i % 20), true, false);
            object->setForceDraw(true);
            objects_.push_back(object);
        }
        field_ = TaskField::start(nullptr);
        ok_ = ok_ && field_ != nullptr;
        frame();  // init and the first redraw
    }
    ~GameFrame() {
        GameData::instance().getObjectManager()->clearAll();
        objects_.clear();
        GameData::instance().getFieldView()->clear();
        if (field_) field_->kill();
        frame();
        tasks_.term();
        chips_->release();
        render_.term();
        qel::SysLight::instance().term();
        camera_.term();
        render_.setDevice(nullptr);
        camera_.setDevice(nullptr);
        resources_.term();
        render_.setResources(nullptr);
        qel::SysShader::instance().setResources(nullptr);
        resetSettings();
    }
    bool ok() const { return ok_; }
    TaskField* field() const { return field_; }

    void frame() {
        // Everyone keeps walking on the spot, so every object draws.
        for (ObjectAnim* object : objects_)
            if (!object->haveAnim()) object->addAnimWait(1000);
        tasks_.update();
        camera_.draw();
        tasks_.draw();
        render_.draw();
        benchmark::DoNotOptimize(device_->backBuffer().pixels().data());
    }

private:
    std::unique_ptr<qel::SoftwareGraphicsDevice> device_;
    qel::SysResource& resources_ = qel::SysResource::instance();
    qel::SysRender& render_ = qel::SysRender::instance();
    qel::SysCamera& camera_ = qel::SysCamera::instance();
    qel::SysTask& tasks_ = qel::SysTask::instance();
    qel::ResTexture* chips_ = nullptr;
    std::vector<ObjectAnim*> objects_;
    TaskField* field_ = nullptr;
    bool ok_ = false;
};

// The argument is the zoomed-out scale in hundredths: 100 shows the map
// unscaled, 125 magnified as while zooming.
void BM_GameFrameSteady(benchmark::State& state) {
    GameFrame frame(static_cast<float>(state.range(0)) / 100.0f);
    if (!frame.ok()) {
        state.SkipWithError("the map view could not start");
        return;
    }
    for (auto _ : state) frame.frame();
}
BENCHMARK(BM_GameFrameSteady)->Arg(100)->Arg(125)->Unit(benchmark::kMicrosecond);

void BM_GameFrameFullRedraw(benchmark::State& state) {
    GameFrame frame(static_cast<float>(state.range(0)) / 100.0f);
    if (!frame.ok()) {
        state.SkipWithError("the map view could not start");
        return;
    }
    for (auto _ : state) {
        frame.field()->redraw();
        frame.frame();
    }
}
BENCHMARK(BM_GameFrameFullRedraw)->Arg(100)->Arg(125)->Unit(benchmark::kMicrosecond);

}  // namespace
