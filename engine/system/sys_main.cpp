#include "engine/system/sys_main.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "engine/core/clock.h"
#include "engine/core/sys_memory.h"
#include "engine/core/thread.h"
#include "engine/input/sys_input.h"
#include "engine/render/data_only/sys_light.h"
#include "engine/render/sys_camera.h"
#include "engine/render/sys_render.h"
#include "engine/resource/sys_resource.h"
#include "engine/sound/sys_sound.h"
#include "engine/system/message_box.h"
#include "engine/system/window.h"
#include "engine/task/sys_scene.h"
#include "engine/task/sys_task.h"

namespace qel {
namespace {

using S = SysMain::Slot;

constexpr S kInitOrder[] = {S::kSlotResource, S::kSlotInput,  S::kSlotTask, S::kSlotCamera,
                            S::kSlotLight,    S::kSlotRender, S::kSlotSound};
// Input is updated first, apart, so that a quit it brings stops the frame.
constexpr S kUpdateOrder[] = {S::kSlotTask,  S::kSlotMemory, S::kSlotResource, S::kSlotCamera,
                              S::kSlotLight, S::kSlotRender, S::kSlotSound};
// The task tree and then the render subsystem follow, apart.
constexpr S kDrawOrder[] = {S::kSlotInput, S::kSlotResource, S::kSlotCamera, S::kSlotLight,
                            S::kSlotSound};
constexpr S kLostOrder[] = {S::kSlotInput, S::kSlotTask,   S::kSlotResource, S::kSlotCamera,
                            S::kSlotLight, S::kSlotRender, S::kSlotMemory,   S::kSlotSound};
// Not the task tree: it hears of the reset at its next draw.
constexpr S kResetOrder[] = {S::kSlotInput,  S::kSlotResource, S::kSlotCamera, S::kSlotLight,
                             S::kSlotRender, S::kSlotMemory,   S::kSlotSound};
constexpr S kTermOrder[] = {S::kSlotSound, S::kSlotRender, S::kSlotCamera,  S::kSlotLight,
                            S::kSlotTask,  S::kSlotInput,  S::kSlotResource};

const char* deviceErrorText(DeviceError error) {
    switch (error) {
        case DeviceError::OutOfVideoMemory:
            return "Direct3D が処理を行うのに十分なディスプレイ メモリがない。";
        case DeviceError::NotAvailable:
            return "このデバイスは、問い合わせたテクニックをサポートしていない。";
        case DeviceError::InvalidCall:
            return "メソッドの呼び出しが無効である。たとえば、メソッドのパラメータに無効な値が設定"
                   "さ"
                   "れている場合などである。";
        default:
            return "不明なエラー";
    }
}

bool createSceneManager() {
    return SysScene::create() != nullptr;
}

}  // namespace

SysMain& SysMain::instance() {
    static SysMain app;
    return app;
}

SysMain::SysMain() : clock_(&Clock::system()) {
    if (!SysMemory::instance().init()) std::exit(-1);
    slots_[kSlotInput] = &SysInput::instance();
    slots_[kSlotTask] = &SysTask::instance();
    slots_[kSlotMemory] = &SysMemory::instance();
    slots_[kSlotResource] = &SysResource::instance();
    slots_[kSlotCamera] = &SysCamera::instance();
    slots_[kSlotLight] = &SysLight::instance();
    slots_[kSlotRender] = &SysRender::instance();
    slots_[kSlotSound] = &SysSound::instance();
}

SysMain::~SysMain() = default;

void SysMain::setClock(Clock* clock) {
    clock_ = clock ? clock : &Clock::system();
    timer_.setClock(clock_);
}

template <class Op>
void SysMain::forEach(const Slot* order, std::size_t count, bool withAdded, Op op) {
    for (std::size_t i = 0; i < count; ++i) {
        if (SysBase* s = slots_[order[i]]) op(*s);
    }
    if (withAdded) {
        for (SysBase* s : added_) op(*s);
    }
}

int SysMain::run(const StartParams& params) {
    quit_ = false;
    deviceState_ = kDeviceOk;
    if (!startPlatform(params)) {
        shutdownPlatform();
        return 0;
    }
    auto* thread = new Thread(&SysMain::gameThreadEntry, this, false);
    if (!thread || !thread->isValid()) {
        delete thread;
        term();
        shutdownPlatform();
        return 0;
    }
    windowLoop();
    // The game thread may still show a message box on its way out.
    while (!thread->waitDone(std::chrono::milliseconds(10))) MessageBox::servePending();
    delete thread;
    term();
    shutdownPlatform();
    return 1;
}

bool SysMain::startPlatform(const StartParams& params) {
    title_ = params.title ? params.title : "";
    MessageBox::setMainThread();
    // The debug console flag is accepted and ignored: the game leaves it off.
    if ((params.flags & kStartSingleInstance) && instanceLock_) {
        if (!instanceLock_->acquire(params.mutexName ? params.mutexName : "", lockDirectory_) &&
            instanceLock_->isHeldElsewhere()) {
            std::string text = kSecondCopyText;
            if (const std::string place = instanceLock_->place(); !place.empty())
                text += "\n" + std::string(kSecondCopyPlace) + place;
            MessageBox::show(text.c_str(), title_.c_str());
            return false;
        }
    }
    if (!window_) window_ = &Window::instance();
    if (!backend_) return false;
    window_->bindQuitFlag(&quit_);
    if (!window_->create(params, backend_)) return false;
    if (!createDevice(params)) return false;
    timer_.setRate(params.framesPerSecond);
    timer_.restart();
    timer_.resetSchedule(0);
    if (auto* input = classCast<SysInput>(slots_[kSlotInput])) {
        input->readFrom(inputSource_ ? inputSource_ : backend_);
        input->setFrameRate(params.framesPerSecond);
    }
    return init();
}

bool SysMain::createDevice(const StartParams& params) {
    const DeviceFactory& factory = deviceFactory_;
    DeviceError firstError = DeviceError::None;
    for (int attempt = 0; factory && attempt < kAttemptCount; ++attempt) {
        CreatedDevice made = factory(attempt, params.width, params.height);
        if (made.device) {
            device_ = std::move(made.device);
            shareDevice(device_.get());
            return true;
        }
        if (attempt == 0) firstError = made.error;
    }
    char text[256];
    std::snprintf(text, sizeof text, "ビデオカードの初期化に失敗しました。\n%s",
                  deviceErrorText(firstError));
    MessageBox::show(text, title_.c_str());
    return false;
}

bool SysMain::init() {
    {
        ScopedLock lock(gameLock_);
        shuttingDown_ = false;
    }
    // The global locale stays "C": text is Shift-JIS by explicit conversion,
    // and the script language's number parsing must not change.
    bool ok = true;
    forEach(kInitOrder, std::size(kInitOrder), false, [&](SysBase& s) { ok = ok && s.init(); });
    if (!ok) return false;
    SceneHook scene = sceneHook_ ? sceneHook_ : &createSceneManager;
    if (!scene()) return false;
    return gameInitHook_ ? gameInitHook_() : true;
}

void SysMain::term() {
    if (gameShutdownHook_) gameShutdownHook_();
    // The list is taken under the game lock, and from then on nothing joins
    // it: a thread adding one now (the boot loader) shuts its own down.
    // Their terms run outside the lock, so one that waits for that thread
    // cannot wait on the lock as well.
    decltype(added_) added;
    {
        ScopedLock lock(gameLock_);
        shuttingDown_ = true;
        added.swap(added_);
    }
    for (SysBase* s : added) s->term();
    decltype(added_)().swap(added);
    forEach(kTermOrder, std::size(kTermOrder), false, [](SysBase& s) { s.term(); });
}

bool SysMain::update() {
    ++frameCounter_;
    if (frameLimit_ != 0 && frameCounter_ > frameLimit_) quit_ = true;
    if (window_) window_->update();
    if (SysBase* input = slots_[kSlotInput]) input->update();
    if (quit_) return false;
    forEach(kUpdateOrder, std::size(kUpdateOrder), true, [](SysBase& s) { s.update(); });
    return !quit_;
}

void SysMain::draw() {
    forEach(kDrawOrder, std::size(kDrawOrder), true, [](SysBase& s) { s.draw(); });
    // The first draw after a reset brings the task tree the news instead.
    SysBase* task = slots_[kSlotTask];
    int expected = kDeviceResetDone;
    if (deviceState_ == kDeviceOk) {
        if (task) task->draw();
    } else if (deviceState_.compare_exchange_strong(expected, kDeviceOk) && task) {
        task->onResetDevice();
    }
    if (SysBase* render = slots_[kSlotRender]) render->draw();
}

void SysMain::renderFrame() {
    if (!device_) return;
    draw();
    if (throttled_) timer_.wait();
    if (backend_) {
        // The back buffer's pixels go to the window as they are and it
        // takes a free buffer in their place; the device puts the frame back
        // only if the next one draws on it before clearing all of it.
        Surface& frame = device_->backBuffer();
        if (handOver_.size() != frame.pixels().size()) handOver_.assign(frame.pixels().size(), 0);
        frame.exchangePixels(handOver_);
        const std::uint32_t* shown = handOver_.data();
        backend_->postFrame(handOver_, frame.width(), frame.height());
        device_->backBufferHandedOver(shown);
    }
    if (device_->status() != DeviceStatus::Ok) deviceState_ = kDeviceLost;
}

void SysMain::onResetDevice() {
    forEach(kLostOrder, std::size(kLostOrder), true, [](SysBase& s) { s.onLostDevice(); });
    if (!device_ || device_->status() != DeviceStatus::NeedsReset) return;
    if (!device_->reset()) return;
    forEach(kResetOrder, std::size(kResetOrder), true, [](SysBase& s) { s.onResetDevice(); });
    deviceState_ = kDeviceResetDone;
}

int SysMain::addSystem(SysBase* system) {
    if (!system) return -1;
    if (!system->init()) {
        quit_ = true;
        return -1;
    }
    // The boot loader adds subsystems while frames run: the list changes
    // only between frames (the lock is re-entrant for the game thread).
    ScopedLock lock(gameLock_);
    if (shuttingDown_) {
        system->term();  // too late to run: shut down, never left behind
        return -1;
    }
    try {
        if (added_.capacity() == 0) {
            added_.reserve(4);
        } else if (added_.size() == added_.capacity()) {
            added_.reserve(added_.capacity() + std::min<std::size_t>(added_.capacity(), 100));
        }
        added_.push_back(system);
    } catch (const std::bad_alloc&) {
        // No room to keep it: undo its init rather than leave it half on.
        system->term();
        quit_ = true;
        return -1;
    }
    return static_cast<int>(added_.size()) - 1;
}

void SysMain::gameThreadEntry(void* self) {
    static_cast<SysMain*>(self)->gameLoop();
}

void SysMain::gameLoop() {
    bool holding = false;
    for (;;) {
        // A lost device is the window thread's to reset; wait for it
        // without the lock, sleeping, and leave if the program ends meanwhile.
        while (deviceState_ == kDeviceLost && !quit_) clock_->sleepMilliseconds(1);
        if (deviceState_ == kDeviceLost) break;
        gameLock_.enter();
        holding = true;
        if (!update()) break;
        renderFrame();
        gameLock_.leave();
        holding = false;
    }
    if (holding) gameLock_.leave();
    quit_ = true;
}

void SysMain::windowLoop() {
    while (!quit_) {
        if (!backend_->pump(*window_)) quit_ = true;
        window_->serviceRequests();
        MessageBox::servePending();
        backend_->presentPending();
        if (deviceState_ == kDeviceLost) {
            ScopedLock lock(gameLock_);
            timer_.wait();
            onResetDevice();
        } else {
            clock_->sleepMilliseconds(1);
        }
    }
}

void SysMain::shareDevice(GraphicsDevice* device) {
    if (auto* resource = classCast<SysResource>(slots_[kSlotResource])) {
        resource->setDevice(device);
    }
    if (auto* camera = classCast<SysCamera>(slots_[kSlotCamera])) camera->setDevice(device);
    if (auto* render = classCast<SysRender>(slots_[kSlotRender])) render->setDevice(device);
}

void SysMain::shutdownPlatform() {
    shareDevice(nullptr);
    device_.reset();
    if (window_) window_->detachMenu();
    if (backend_) backend_->destroy();
    if (instanceLock_) instanceLock_->release();
}

}  // namespace qel
