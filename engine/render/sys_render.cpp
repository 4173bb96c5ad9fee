#include "engine/render/sys_render.h"

#include <atomic>

#include "engine/core/report.h"
#include "engine/gfx/graphics_device.h"
#include "engine/math/color.h"
#include "engine/render/data_only/data_only.h"
#include "engine/render/default_shader.h"
#include "engine/render/render_method.h"
#include "engine/render/render_states.h"
#include "engine/render/sprite_batch_end.h"
#include "engine/render/sys_camera.h"
#include "engine/render/sys_render_line.h"
#include "engine/render/sys_render_method.h"
#include "engine/render/sys_render_sprite.h"
#include "engine/render/sys_render_text.h"
#include "engine/render/sys_shader.h"
#include "engine/resource/render_target.h"
#include "engine/resource/sys_resource.h"

namespace qel {
namespace {

std::atomic<bool> g_reportedNoViewport{false};

constexpr SysRender::Part kTermOrder[] = {SysRender::kSprites, SysRender::kText,
                                          SysRender::kLines,   SysRender::kModels,
                                          SysRender::kMethods, SysRender::kShaders};

}  // namespace

SysRender& SysRender::instance() {
    static SysRender system;
    return system;
}

SysRender::SysRender() {
    parts_[kMethods] = &SysRenderMethod::instance();
    parts_[kSprites] = &SysRenderSprite::instance();
    parts_[kText] = &SysRenderText::instance();
    parts_[kLines] = &SysRenderLine::instance();
    spriteBatch_ = &SysRenderSprite::instance();
    parts_[kModels] = &SysRenderModel::instance();
    parts_[kShaders] = &SysShader::instance();
}

SysRender::~SysRender() = default;

SysResource& SysRender::resourceSystem() const {
    return resources_ ? *resources_ : SysResource::instance();
}

void SysRender::setSpriteBatch(SpriteBatchEnd* batch) {
    spriteBatch_ = batch ? batch : &SysRenderSprite::instance();
}

void SysRender::setDevice(GraphicsDevice* device) {
    device_ = device;
    SysShader::instance().states().setDevice(device);
}

bool SysRender::init() {
    for (SysBase* part : parts_) {
        if (part && !part->init()) return false;
    }
    ShaderBase* shader = SysShader::instance().defaultShader();
    if (current_ == default_) current_ = shader;
    default_ = shader;

    if (!white_) white_ = resourceSystem().createRenderTarget(1, 1, PixelFormat::A8R8G8B8);
    if (!white_) return false;
    white_->colorFill(Color::WHITE.argb());

    RenderStates& states = SysShader::instance().states();
    states.setRenderState(kRsShadeMode, kShadeGouraud);
    states.setRenderState(kRsDitherEnable, 1);
    states.setStageTextureTimesDiffuse();
    states.setRenderState(kRsSpecularEnable, 1);
    states.setRenderState(kRsAmbient, 0);
    states.setSamplerState(0, kSampMipFilter, kFilterLinear);
    states.setSamplerState(0, kSampMinFilter, kFilterLinear);
    states.setSamplerState(0, kSampMagFilter, kFilterLinear);
    states.apply();
    return true;
}

void SysRender::term() {
    delete white_;
    white_ = nullptr;
    for (Part part : kTermOrder) {
        if (parts_[part]) parts_[part]->term();
    }
    current_ = nullptr;
    default_ = nullptr;
    sorted_.release();
    unsorted_.release();
}

bool SysRender::queue(std::uint32_t key, RenderMethod* method) {
    if (!method) return false;
    return (key == kUnsortedKey ? unsorted_ : sorted_).push(key, method);
}

bool SysRender::pushMethod(std::uint32_t kind, int viewport, std::uint32_t order,
                           RenderMethod* method) {
    std::uint32_t key = 0;
    if (!SysCamera::instance().viewportKeyOf(viewport, key)) {
        reportOnce(g_reportedNoViewport,
                   "render queue: a command for an empty or unknown viewport was dropped");
        return false;
    }
    if (key != kUnsortedKey) key |= kindBits(kind, order);
    return queue(key, method);
}

void SysRender::draw() {
    sorted_.sort();
    pass_ = 4;
    anyKind_ = false;
    afterSprite_ = false;
    run(unsorted_);
    endQueue();
    run(sorted_);
    endQueue();
    sorted_.clear();
    unsorted_.clear();
    SysRenderModel::instance().commandCount = 0;
    SysRenderMethod::instance().resetAll();
}

void SysRender::run(const RenderQueue& queue) {
    for (const RenderQueue::Entry& entry : queue.entries()) {
        const std::uint32_t pass = keyPass(entry.key);
        if (pass != pass_) {
            pass_ = pass;
            if (current_) current_->setPassMode(static_cast<int>(pass));
        }
        const std::uint32_t kind = keyKind(entry.key);
        if (!anyKind_ || kind != kind_) {
            if (anyKind_ && isSpriteKind(kind_)) endSpriteBatch();
            if (anyKind_ && isModelKind(kind_)) endModelEffect();
            kind_ = kind;
            anyKind_ = true;
        }
        const bool sprite = entry.method->isSprite();
        if (!sprite && afterSprite_) endSpriteBatch();
        entry.method->execute();
        afterSprite_ = sprite;
    }
}

void SysRender::endQueue() {
    endSpriteBatch();
    endModelEffect();
    if (current_) current_->end();
    if (device_) device_->setRenderTarget(nullptr);
}

void SysRender::endSpriteBatch() {
    if (spriteBatch_) spriteBatch_->endSpriteBatch();
    afterSprite_ = false;
}

void SysRender::endModelEffect() {
    SysRenderModel& models = SysRenderModel::instance();
    if (!models.effectBegun) return;
    if (current_) current_->end();
    models.effectBegun = false;
}

void SysRender::onLostDevice() {
    for (SysBase* part : parts_) {
        if (part) part->onLostDevice();
    }
}

void SysRender::onResetDevice() {
    if (white_) white_->colorFill(Color::WHITE.argb());
    for (SysBase* part : parts_) {
        if (part) part->onResetDevice();
    }
}

void SysRender::setStateIfChanged(std::uint32_t state, std::uint32_t value) {
    if (current_->getRenderState(state) != value) current_->setRenderState(state, value);
}

void SysRender::ApplyStateFlags(std::uint32_t word) {
    if (!current_) return;
    const std::uint32_t mode = word & 15u;
    if (mode >= 1 && mode < kBlendModeCount) {
        setStateIfChanged(kRsAlphaBlendEnable, 1);
        setStateIfChanged(kRsSrcBlend, kBlendPairs[mode].source);
        setStateIfChanged(kRsDestBlend, kBlendPairs[mode].destination);
    } else {
        setStateIfChanged(kRsAlphaBlendEnable, 0);
    }
    setStateIfChanged(kRsZEnable, (word & 0x10u) ? 0 : 1);
    setStateIfChanged(kRsZFunc, kCmpLessEqual);
    setStateIfChanged(kRsZWriteEnable, 1);
    setStateIfChanged(kRsAlphaTestEnable, 0);
    setStateIfChanged(kRsPointSpriteEnable, 0);
    setStateIfChanged(kRsFillMode, kFillSolid);
    setStateIfChanged(kRsLighting, (word & 0x200u) ? 0 : 1);
    setStateIfChanged(kRsCullMode, (word & 0x2000u) ? kCullNone : kCullCcw);

    RenderStates& states = SysShader::instance().states();
    const std::uint32_t filterBits = word & 0x18000u;
    if (filterBits != 0x18000u) {
        const std::uint32_t filter = filterBits == 0x8000u ? kFilterPoint : kFilterLinear;
        if (states.getSamplerState(0, kSampMipFilter) != filter) {
            states.setSamplerState(0, kSampMipFilter, filter);
            states.setSamplerState(0, kSampMinFilter, filter);
            states.setSamplerState(0, kSampMagFilter, filter);
        }
    }
    states.apply();
}

}  // namespace qel
