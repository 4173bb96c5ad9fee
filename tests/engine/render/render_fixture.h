// What the render tests share: a method that writes its tag to a log when
// executed, a sprite batcher that logs the ends of its batches, and a
// fixture that starts the camera, light and render subsystems on a
// recording device with a private resource subsystem.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/render/data_only/sys_light.h"
#include "engine/render/method_buffer.h"
#include "engine/render/render_method.h"
#include "engine/render/sprite_batch_end.h"
#include "engine/render/sys_camera.h"
#include "engine/render/sys_render.h"
#include "engine/render/sys_shader.h"
#include "engine/resource/sys_resource.h"
#include "platform/gfx/software_graphics_device.h"
#include "tests/support/recording_graphics_device.h"

namespace qel::test {

using Log = std::vector<std::string>;

class BatchLog final : public SpriteBatchEnd {
public:
    explicit BatchLog(Log& log) : log_(log) {}
    // Logs the end of an open batch only, as the sprite batcher draws only then.
    void endSpriteBatch() override {
        if (open) log_.push_back("end");
        open = false;
    }

    bool open = false;  // a sprite ran since the last end

private:
    Log& log_;
};

class TagMethod : public RenderMethod {
public:
    QEL_CLASS(TagMethod, RenderMethod, Pool::RenderCommands);

    void execute() override {
        log->push_back(tag);
        if (sprite && batch) batch->open = true;
    }
    bool isSprite() const override { return sprite; }

    Log* log = nullptr;
    BatchLog* batch = nullptr;
    std::string tag;
    bool sprite = false;
};

template <class Device>
std::unique_ptr<Device> makeDevice() {
    return std::make_unique<Device>();
}
template <>
inline std::unique_ptr<SoftwareGraphicsDevice> makeDevice() {
    return SoftwareGraphicsDevice::create(800, 600).device;
}

template <class Device = RecordingGraphicsDevice>
struct RenderFixtureT : ::testing::Test {
    std::unique_ptr<Device> ownDevice = makeDevice<Device>();
    Device& device = *ownDevice;
    SysResource resources;
    SysRender& render = SysRender::instance();
    SysCamera& camera = SysCamera::instance();
    SysLight& light = SysLight::instance();
    SysShader& shaders = SysShader::instance();
    Log log;
    BatchLog batch{log};

    void SetUp() override {
        resources.setDevice(&device);
        render.setResources(&resources);
        shaders.setResources(&resources);
        render.setDevice(&device);
        camera.setDevice(&device);
        render.setSpriteBatch(&batch);
        ASSERT_TRUE(camera.init());
        ASSERT_TRUE(light.init());
        ASSERT_TRUE(render.init());
    }
    void TearDown() override {
        render.term();
        light.term();
        camera.term();
        render.setSpriteBatch(nullptr);
        render.setDevice(nullptr);
        camera.setDevice(nullptr);
        shaders.setEffectMaker(nullptr);
        resources.term();
        render.setResources(nullptr);
        shaders.setResources(nullptr);
    }

    // A tagged method of this frame, queued by kind, viewport and order.
    TagMethod* tag(const std::string& name, bool sprite = false) {
        TagMethod* m = MethodBuffer<TagMethod>::instance().get();
        m->log = &log;
        m->batch = &batch;
        m->tag = name;
        m->sprite = sprite;
        return m;
    }
    bool push(const std::string& name, std::uint32_t kind, int viewport, std::uint32_t order = 0,
              bool sprite = false) {
        return render.pushMethod(kind, viewport, order, tag(name, sprite));
    }
};

using RenderFixture = RenderFixtureT<>;

}  // namespace qel::test
