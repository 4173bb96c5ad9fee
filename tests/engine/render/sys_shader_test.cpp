// Shaders: the macro list of a flag word, the cache, the fallback effect
// and what a shader without effect leaves active, passes by pass mode, the
// parameters an effect shader commits, textures that are still loading, and
// the lights a viewport enables.
#include "engine/render/sys_shader.h"

#include <gtest/gtest.h>

#include "engine/render/data_only/camera.h"
#include "engine/render/data_only/light.h"
#include "engine/render/data_only/render_shader.h"
#include "engine/render/default_shader.h"
#include "engine/render/viewport.h"
#include "engine/resource/render_target.h"
#include "engine/resource/render_texture.h"
#include "tests/engine/render/render_fixture.h"

namespace qel {
namespace {

using ShaderTest = test::RenderFixture;

std::string defined(const std::vector<ShaderMacro>& macros) {
    std::string out;
    for (const ShaderMacro& m : macros) {
        if (m.definition == "1") out += (out.empty() ? "" : " ") + m.name;
    }
    return out;
}

TEST(ShaderMacros, EachBitDefinesItsMacro) {
    struct Case {
        std::uint32_t flags;
        const char* ones;
    } cases[] = {
        {0x0, ""},
        {0x800001, "LIGHTING POST_EFFECT BLUR_FILTER"},
        {0x800000, "POST_EFFECT"},
        {0x1, "LIGHTING"},
        {0xFFF,
         "LIGHTING METAL_REFLECTION DIFFUSE_MAP BUMP_MAP SPECULAR_MAP DEPTH_BUFFER_SHADOW "
         "SPECULAR FUR MULTI_PASS_DEPTH DEPTH_MAP CROSS_BLEND SOFT_PERTICLE"},
    };
    for (const Case& c : cases) {
        const std::vector<ShaderMacro> macros = shaderMacros(c.flags);
        EXPECT_EQ(macros.size(), 14u);
        EXPECT_EQ(defined(macros), c.ones) << std::hex << c.flags;
    }
}

TEST_F(ShaderTest, SelectMakesEachFlagWordOnceAndSwitchesBegunEffects) {
    std::vector<std::string> made;
    shaders.setEffectMaker([&](const std::string& path, const std::vector<ShaderMacro>& macros) {
        made.push_back(path + " " + defined(macros));
        return LoaderShader::builtInEffect(path, macros);
    });
    ShaderBase* first = shaders.Select(0x3);
    ASSERT_NE(first, render.defaultShader());
    EXPECT_EQ(render.currentShader(), first);
    EXPECT_EQ(first->getFlags(), 0x3u);
    EXPECT_EQ(classCast<RenderShader>(first)->getResource()->getName(), "SHADER 0x00000003");
    first->begin();
    EXPECT_EQ(shaders.Select(0x3), first);
    EXPECT_TRUE(first->isBegun());  // no end and begin again
    EXPECT_EQ(made, (std::vector<std::string>{"shader/Default.fx LIGHTING DIFFUSE_MAP"}));

    // A switch carries the begun state over.
    ShaderBase* second = shaders.Select(0x800000);
    EXPECT_FALSE(first->isBegun());
    EXPECT_TRUE(second->isBegun());
    EXPECT_EQ(shaders.cachedCount(), 2u);
    shaders.activate(render.defaultShader());
    EXPECT_FALSE(second->isBegun());
    EXPECT_TRUE(render.defaultShader()->isBegun());
    render.defaultShader()->end();
}

TEST_F(ShaderTest, AFailedEffectFallsBackAndNoEffectMeansTheDefaultShader) {
    std::vector<std::string> asked;
    bool errorFails = false;
    shaders.setEffectMaker([&](const std::string& path,
                               const std::vector<ShaderMacro>& macros) -> std::unique_ptr<Effect> {
        asked.push_back(path + " " + defined(macros));
        if (path == SysShader::kDefaultEffectPath) return nullptr;
        if (errorFails) return nullptr;
        return LoaderShader::builtInEffect(path, macros);
    });
    ShaderBase* fallback = shaders.Select(0x5);
    auto* shader = classCast<RenderShader>(fallback);
    ASSERT_NE(shader, nullptr);
    EXPECT_EQ(shader->getEffect()->path(), "shader/Error.fx");
    EXPECT_EQ(defined(shader->getEffect()->macros()), "");
    EXPECT_EQ(asked, (std::vector<std::string>{"shader/Default.fx LIGHTING SPECULAR",
                                               "shader/Error.fx "}));

    errorFails = true;
    EXPECT_EQ(shaders.Select(0x7), render.defaultShader());
    EXPECT_EQ(render.currentShader(), render.defaultShader());
    RenderShader* without = shaders.find(0x7);
    ASSERT_NE(without, nullptr);
    EXPECT_EQ(without->getEffect(), nullptr);
    EXPECT_EQ(without->getResource()->getState(), ResBase::kFailed);
}

TEST_F(ShaderTest, PassModeZeroDrawsWithTheSecondPass) {
    auto* shader = classCast<RenderShader>(shaders.Select(0x2));
    ASSERT_NE(shader, nullptr);
    Effect& effect = *shader->getEffect();
    shader->begin();
    EXPECT_EQ(effect.technique(), "TMain");
    EXPECT_EQ(effect.activePass(), 0);  // mode 4 at start
    struct Step {
        int mode, pass;
    } steps[] = {{0, 1}, {2, 0}, {4, 0}, {0, 1}, {0, 1}};
    for (const Step& s : steps) {
        shader->setPassMode(s.mode);
        EXPECT_EQ(effect.activePass(), s.pass) << "mode " << s.mode;
        EXPECT_EQ(shaders.passMode(), s.mode);
    }
    shader->end();
    EXPECT_EQ(effect.activePass(), -1);
    EXPECT_FALSE(effect.isBegun());
    // The frame's executor hands the viewport's pass bits over.
    shader->begin();
    auto* v = new Viewport(Viewport::Rect{}, 0, 2, nullptr, 0.0f, 1.0f);
    camera.setViewport(7, v);
    push("x", 9, 7);
    render.draw();
    EXPECT_EQ(shaders.passMode(), 2);
}

TEST_F(ShaderTest, AnEffectShaderCommitsItsTransformsAndTheEye) {
    auto* shader = classCast<RenderShader>(shaders.Select(0x1));
    ASSERT_NE(shader, nullptr);
    camera.applyViewport(0);  // slot 0 and its camera are current
    const Matrix world = Matrix::translation(1, 2, 3);
    const Matrix view = Matrix::scaling(2, 2, 2);
    const Matrix projection = Matrix::scaling(1, 3, 1);
    shader->setTransform(kTransformWorld, world);
    shader->setTransform(kTransformView, view);
    shader->setTransform(kTransformProjection, projection);
    shader->setTransform(17, Matrix::zero());  // other kinds are ignored
    EXPECT_EQ(shader->commit(), 0);
    EffectPool& pool = shaders.effectPool();
    ASSERT_NE(pool.matrix("g_MatWVP"), nullptr);
    EXPECT_EQ(*pool.matrix("g_MatVP"), view * projection);
    EXPECT_EQ(*pool.matrix("g_MatWVP"), world * (view * projection));
    EXPECT_EQ(*pool.matrix("g_MatWorld"), world);
    // Slot 0's viewport applied its camera (eye 0, 0, 1) over the view.
    ASSERT_NE(pool.vector("g_EyePos"), nullptr);
    EXPECT_EQ(*pool.vector("g_EyePos"), (EffectPool::Vector4{0, 0, 1, 1}));

    const std::uint32_t deviceLighting = shaders.states().getRenderState(kRsLighting);
    shader->setRenderState(kRsLighting, deviceLighting ? 0 : 1);
    EXPECT_EQ(shader->getRenderState(kRsLighting), deviceLighting ? 0u : 1u);
    EXPECT_EQ(*pool.flag("g_LightEnable"), deviceLighting == 0);
    EXPECT_EQ(shaders.states().getRenderState(kRsLighting), deviceLighting);  // an effect flag
    Material m;
    m.power = 5.0f;
    shader->setMaterial(m);
    EXPECT_EQ(*pool.material("g_Mtrl"), m);
    shaders.activate(render.defaultShader());
}

TEST_F(ShaderTest, ATextureStillLoadingBindsTheWhiteTarget) {
    const Surface* white = render.whiteTarget()->getTarget()->getSurface().get();
    RenderTexture* loading =
        resources.getTexture("nowhere/picture.png", 0, SysResource::kLoadQueued);
    RenderTarget* ready = resources.createRenderTarget(4, 4, PixelFormat::A8R8G8B8);
    for (ShaderBase* shader : {render.defaultShader(), shaders.Select(0x2)}) {
        shader->setTexture(0, loading);
        EXPECT_EQ(device.texture(), white);
        shader->setTexture(0, static_cast<const RenderTexture*>(ready));
        EXPECT_EQ(device.texture(), ready->getTarget()->getSurface().get());
        shader->setTexture(0, static_cast<const RenderTexture*>(nullptr));
        EXPECT_EQ(device.texture(), white);
    }
    EXPECT_EQ(*shaders.effectPool().texture("DiffuseMap"), nullptr);
    shaders.activate(render.defaultShader());
    delete loading;
    delete ready;
}

// Logs what the light subsystem asks of the shader.
struct LightLog final : DefaultShader {
    using DefaultShader::DefaultShader;
    void enableLight(std::uint32_t index, bool on) override {
        calls.push_back((on ? "on " : "off ") + std::to_string(index));
    }
    void setLight(std::uint32_t index, const Light& light) override {
        calls.push_back("light " + std::to_string(index) + " = " +
                        std::to_string(static_cast<int>(light.ambient.r)));
    }
    std::vector<std::string> calls;
};

TEST_F(ShaderTest, EachViewportEnablesItsOwnLightsPacked) {
    LightLog shader(shaders);
    render.setCurrentShader(&shader);
    light.apply(0);
    EXPECT_TRUE(shader.calls.empty());  // no lights: nothing either way

    auto* first = new Light();
    auto* fifth = new Light();
    first->ambient.r = 10;
    fifth->ambient.r = 50;
    first->enable[1] = 1;
    fifth->enable[1] = 1;
    fifth->enable[2] = 1;
    light.setLight(0, first);
    light.setLight(5, fifth);
    light.apply(1);
    light.apply(2);
    light.apply(3);
    const std::vector<std::string> expected = {
        "on 0",  "light 0 = 10", "on 1",  "light 1 = 50",  // viewport 1
        "on 0",  "light 0 = 50", "off 1",                  // viewport 2
        "off 0",                                           // viewport 3
    };
    EXPECT_EQ(shader.calls, expected);
    EXPECT_EQ(light.enabledCount(), 0u);

    // The light command sorts right after its viewport's set-up.
    camera.draw();
    light.draw();
    ASSERT_EQ(render.sortedQueue().count(), 2u);
    EXPECT_EQ(render.sortedQueue().entries()[1].key, 0x44000001u);
    render.draw();
    render.setCurrentShader(render.defaultShader());
}

}  // namespace
}  // namespace qel
