// The application: starts the platform (single-instance lock, window,
// graphics device, frame timer), owns the engine subsystems and calls them
// in fixed orders, runs the window thread (this thread: events, posted
// requests, message boxes, showing frames, device resets) and the game
// thread (update, draw, frame wait, present, all under the game lock), and
// shuts down in reverse.
//
// Kept true: each subsystem sits in one slot of a fixed table, and every
// pass (init, update, draw, device lost, device reset, term) walks its own
// order of slots, skipping empty ones, so a subsystem joins every pass by
// being put in its slot. The quit flag and the device state are atomic:
// both threads read them without the lock.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/critical_section.h"
#include "engine/core/memory_allocator.h"
#include "engine/core/sys_base.h"
#include "engine/gfx/graphics_device.h"
#include "engine/system/fps_timer.h"
#include "engine/system/instance_lock.h"
#include "engine/system/start_params.h"

namespace qel {

class Clock;
class InputSource;
class Window;
class WindowBackend;

class SysMain : public SysBase {
public:
    enum DeviceState : int { kDeviceOk = 0, kDeviceLost = 1, kDeviceResetDone = 2 };
    // Subsystem slots; the passes' orders are lists of these.
    enum Slot : int {
        kSlotInput,
        kSlotTask,
        kSlotResource,
        kSlotCamera,
        kSlotLight,
        kSlotRender,
        kSlotMemory,
        kSlotSound,
        kSlotCount
    };
    // The four ways of making a device, tried in this order.
    enum DeviceAttempt : int {
        kAttemptMixed,
        kAttemptHardware,
        kAttemptSoftware,
        kAttemptReference,
        kAttemptCount
    };
    struct CreatedDevice {
        std::unique_ptr<GraphicsDevice> device;
        DeviceError error = DeviceError::None;
    };
    using DeviceFactory = std::function<CreatedDevice(int attempt, int width, int height)>;
    using InitHook = bool (*)();
    using ShutdownHook = void (*)();
    using SceneHook = bool (*)();

    // The refusal of a second copy, and the line that names the folder the
    // running copy holds.
    static constexpr const char* kSecondCopyText = "多重起動は出来ません。";
    static constexpr const char* kSecondCopyPlace = "使用中のフォルダ: ";

    static SysMain& instance();
    // The singleton is the program's; tests make their own.
    SysMain();
    ~SysMain() override;
    SysMain(const SysMain&) = delete;
    SysMain& operator=(const SysMain&) = delete;

    QEL_CLASS_WITHOUT_FACTORY(SysMain, SysBase, Pool::System);

    // The whole program: 0 when start-up failed, 1 after an orderly end.
    int run(const StartParams& params);

    // The game's hooks: init's last step (its result is init's), term's first.
    void setGameInitHook(InitHook hook) { gameInitHook_ = hook; }
    void setGameShutdownHook(ShutdownHook hook) { gameShutdownHook_ = hook; }

    // What run stands on, set before run: the program's entry gives the
    // operating system's window, graphics device and instance lock (without
    // a window or device the start fails; without a lock any number of
    // copies may run); the clock defaults to the system clock and the scene
    // hook to the scene manager.
    void setWindow(Window* window) { window_ = window; }
    void setWindowBackend(WindowBackend* backend) { backend_ = backend; }
    void setDeviceFactory(DeviceFactory factory) { deviceFactory_ = std::move(factory); }
    void setClock(Clock* clock);
    void setSceneHook(SceneHook hook) { sceneHook_ = hook; }
    void setInstanceLock(InstanceLock* lock) { instanceLock_ = lock; }
    void setInstanceLockDirectory(std::string dir) { lockDirectory_ = std::move(dir); }
    // Ends the program after this many frames (0: never); for headless runs.
    void setFrameLimit(std::uint32_t frames) { frameLimit_ = frames; }
    // False: frames follow each other without waiting for their time (a
    // scripted run that should finish as fast as the machine allows).
    void setThrottled(bool on) { throttled_ = on; }
    bool isThrottled() const { return throttled_; }
    // Where the input devices read from instead of the window (a scripted
    // run); null: the window. Set before run().
    void setInputSource(InputSource* source) { inputSource_ = source; }

    void setSubsystem(Slot slot, SysBase* system) { slots_[slot] = system; }
    SysBase* subsystem(Slot slot) const { return slots_[slot]; }
    // Adds a further subsystem after its init; its index, or -1 (and the
    // quit flag set) when its init fails. Any thread: the list changes
    // under the game lock, between frames. Once term has begun, a
    // subsystem is shut down again instead of added (-1).
    int addSystem(SysBase* system);

    // The steps of run, for tests.
    bool startPlatform(const StartParams& params);
    bool createDevice(const StartParams& params);
    bool init() override;
    void term() override;
    bool update() override;
    void draw() override;
    void onResetDevice() override;
    // One frame of the game thread after a true update: draw, wait, present.
    void renderFrame();
    // The game thread's procedure.
    void gameLoop();

    GraphicsDevice* device() const { return device_.get(); }
    Window* window() const { return window_; }
    CriticalSection& gameLock() { return gameLock_; }
    FpsTimer& timer() { return timer_; }
    std::uint32_t frameCounter() const { return frameCounter_; }
    int frameRate() const { return timer_.rate(); }
    bool isQuit() const { return quit_; }
    void requestQuit() { quit_ = true; }
    // What the process ends with after an orderly end (0 unless the game
    // ends on a failure); any thread.
    void setExitCode(int code) { exitCode_ = code; }
    int exitCode() const { return exitCode_; }
    std::atomic<bool>& quitFlag() { return quit_; }
    int deviceState() const { return deviceState_; }
    void setDeviceState(int state) { deviceState_ = state; }
    const char* title() const { return title_.c_str(); }

private:
    static void gameThreadEntry(void* self);
    // Hands the device to the subsystems that draw or make surfaces.
    void shareDevice(GraphicsDevice* device);
    // Calls op on each non-empty slot of `order`, then on the added subsystems.
    template <class Op>
    void forEach(const Slot* order, std::size_t count, bool withAdded, Op op);
    void windowLoop();
    void shutdownPlatform();

    std::unique_ptr<GraphicsDevice> device_;
    FpsTimer timer_;
    Clock* clock_;
    std::atomic<bool> quit_{false};
    std::atomic<int> exitCode_{0};
    InstanceLock* instanceLock_ = nullptr;
    std::atomic<int> deviceState_{kDeviceOk};
    std::atomic<std::uint32_t> frameCounter_{0};
    std::uint32_t frameLimit_ = 0;
    bool throttled_ = true;
    InputSource* inputSource_ = nullptr;
    CriticalSection gameLock_;
    SysBase* slots_[kSlotCount] = {};
    // Created on first use with room for 4; grows by its size, at most 100 at a time.
    std::vector<SysBase*, PoolAllocator<SysBase*, Pool::System>> added_;
    // Set by term under the game lock: no more additions.
    bool shuttingDown_ = false;

    Window* window_ = nullptr;
    WindowBackend* backend_ = nullptr;
    DeviceFactory deviceFactory_;
    InitHook gameInitHook_ = nullptr;
    ShutdownHook gameShutdownHook_ = nullptr;
    SceneHook sceneHook_ = nullptr;
    std::string lockDirectory_;
    std::string title_;
    // The buffer traded for the back buffer's at each hand-over to the
    // window (see renderFrame).
    std::vector<std::uint32_t> handOver_;
};

}  // namespace qel
