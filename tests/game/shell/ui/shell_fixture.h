// What the shell's window tests share: the render subsystems on a software
// device, the task tree, the input subsystem fed key by key, and a
// sound-effect manager that only collects requests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "engine/core/register.h"
#include "engine/input/input_source.h"
#include "engine/input/sys_input.h"
#include "engine/render/data_only/sys_light.h"
#include "engine/render/sys_camera.h"
#include "engine/render/sys_render.h"
#include "engine/render/sys_shader.h"
#include "engine/render/viewport.h"
#include "engine/resource/sys_resource.h"
#include "engine/task/sys_task.h"
#include "game/shell/settings.h"
#include "game/shell/ui/task_se_manager.h"
#include "platform/gfx/software_graphics_device.h"
#include "platform/image/stb_image_decoder.h"
#include "tests/support/gfx_test_support.h"
#include "tests/support/scratch_folder.h"

namespace shell_test {

struct FedSource : qel::InputSource {
    qel::InputSnapshot next;
    void readInput(qel::InputSnapshot& out) override { out = next; }
};

class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override {
        resetSettings();
        device_ = qel::SoftwareGraphicsDevice::create(64, 48).device;
        ASSERT_TRUE(device_);
        resources().setDevice(device_.get());
        render().setResources(&resources());
        qel::SysShader::instance().setResources(&resources());
        render().setDevice(device_.get());
        camera().setDevice(device_.get());
        ASSERT_TRUE(camera().init());
        ASSERT_TRUE(qel::SysLight::instance().init());
        ASSERT_TRUE(render().init());
        ASSERT_TRUE(tasks().init());
        source_.next.foreground = true;
        input().readFrom(&source_);
        input().setFrameRate(60);
        ASSERT_TRUE(input().init());
        // Registered but outside the tree: requests stay pending to be read.
        ASSERT_TRUE(qel::registerSingle(&sounds_));
    }
    void TearDown() override {
        qel::Register<TaskSEManager>::instance().remove(0, 0);
        input().term();
        input().readFrom(nullptr);
        tasks().term();
        render().term();
        qel::SysLight::instance().term();
        camera().term();
        render().setDevice(nullptr);
        camera().setDevice(nullptr);
        resources().term();
        resources().setDevice(nullptr);
        resources().setImageDecoder(nullptr);
        render().setResources(nullptr);
        qel::SysShader::instance().setResources(nullptr);
        resetSettings();
    }
    static qel::SysResource& resources() { return qel::SysResource::instance(); }
    static qel::SysRender& render() { return qel::SysRender::instance(); }
    static qel::SysCamera& camera() { return qel::SysCamera::instance(); }
    static qel::SysTask& tasks() { return qel::SysTask::instance(); }
    static qel::SysInput& input() { return qel::SysInput::instance(); }

    // One whole frame with exactly these keys down.
    void frame(std::initializer_list<int> keys = {}) {
        for (auto& byte : source_.next.keys) byte = 0;
        for (int key : keys) source_.next.keys[key] = 0x80;
        input().update();
        tasks().update();
        camera().draw();
        tasks().draw();
        render().draw();
    }
    // A sheet of 16 x 16 chips of 2 x 2 pixels as RES_TEX_CHIP: chips
    // (0..3, 0) red, green, blue, white, chip (14, 15) white (the log's
    // marker); the rest black, which the chip picture takes as transparent.
    void useChipSheet() {
        resources().setImageDecoder(&decoder_);
        CHIP_WIDTH = 2;
        CHIP_HEIGHT = 2;
        ICON_WIDTH = 2;  // icons at chip size
        ICON_HEIGHT = 2;
        std::vector<std::vector<std::uint32_t>> rows(32, std::vector<std::uint32_t>(32, 0));
        const std::uint32_t firstRow[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 8; ++x) rows[y][x] = firstRow[x / 2];
        }
        for (int y = 30; y < 32; ++y) rows[y][28] = rows[y][29] = 0xFFFFFF;
        const std::vector<std::uint8_t> bytes = qel::test::bmp24(rows);
        RES_TEX_CHIP = scratch_.put("chips.bmp", std::string(bytes.begin(), bytes.end()));
    }
    // The sounds requested so far, joined by spaces; forgets them.
    std::string takeSounds() {
        std::string joined;
        for (const std::string& name : sounds_.takePending())
            joined += (joined.empty() ? "" : " ") + name;
        return joined;
    }
    // The surface as rows of letters; '?' for colours outside the legend.
    static std::string picture(const qel::Surface& s, int x0, int y0, int w, int h) {
        std::string got;
        for (int y = y0; y < y0 + h; ++y) {
            for (int x = x0; x < x0 + w; ++x) {
                const std::uint32_t p = s.argb(x, y);
                got += p == 0xFFFF0000u   ? 'R'
                       : p == 0xFF00FF00u ? 'G'
                       : p == 0xFF0000FFu ? 'B'
                       : p == 0xFF000000u ? '.'
                                          : '?';
            }
            got += '\n';
        }
        return got;
    }

    std::unique_ptr<qel::SoftwareGraphicsDevice> device_;
    FedSource source_;
    TaskSEManager sounds_;
    qel::test::ScratchFolder scratch_;
    qel::StbImageDecoder decoder_;
};

}  // namespace shell_test
