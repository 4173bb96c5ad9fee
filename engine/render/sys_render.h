// The render subsystem: the frame's two command queues, the active shader,
// the white target, and the render subsystems that produce commands.
//
// Producing (during the task tree's draw event): a producer takes a method
// object from its MethodBuffer, fills it and queues it, either with
// pushMethod(kind, viewport index, order, method), which builds the key from
// the viewport's key (render_key.h), or with queue(key, method) when it
// built the key itself. Index 48 (or key 0xFFFFFFFF) puts the command in
// the unsorted queue.
//
// Executing (draw): the unsorted queue runs first in queuing order, then
// the sorted queue in key order, equal keys in reverse queuing order. Before
// each method: a changed pass (key bits 24-28) goes to the active shader's
// pass mode; when the kind (bits 20-23) changes away from a sprite kind (1,
// 6, 7, 10) the sprite batch ends, and away from a model kind (3, 5) a
// model's effect ends; a method that is not a sprite ends an open sprite
// batch. After each queue: the sprite batch and the active effect end and
// the back buffer becomes the target again. Then both queues are emptied
// and every method buffer takes its objects back.
//
// Kept true: commands are dropped, never run, when their viewport slot is
// empty or outside 0..48, or when a queue cannot grow; each of these is
// reported once. A second frame of the same commands allocates nothing.
#pragma once

#include <cstdint>

#include "engine/core/sys_base.h"
#include "engine/render/render_key.h"
#include "engine/render/render_queue.h"

namespace qel {

class GraphicsDevice;
class RenderMethod;
class RenderTarget;
class ShaderBase;
class SpriteBatchEnd;
class SysResource;

class SysRender : public SysBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(SysRender, SysBase, Pool::System);

    // The render subsystems, in the order they are initialised and told of
    // device events (term: sprites, text, lines, models, methods, shaders).
    enum Part : int { kMethods, kSprites, kText, kLines, kModels, kShaders, kPartCount };

    static SysRender& instance();
    SysRender();
    ~SysRender() override;
    SysRender(const SysRender&) = delete;
    SysRender& operator=(const SysRender&) = delete;

    // Set before init: what is drawn on, and where the white target is made
    // (the program's resource subsystem by default).
    void setDevice(GraphicsDevice* device);
    GraphicsDevice* device() const { return device_; }
    void setResources(SysResource* resources) { resources_ = resources; }
    SysResource& resourceSystem() const;
    // The render subsystems (sprites, text and lines join at construction);
    // tests may put stand-ins in before init.
    void setPart(Part part, SysBase* system) { parts_[part] = system; }
    SysBase* getPart(Part part) const { return parts_[part]; }
    // What ends sprite batches: the sprite subsystem, or a stand-in (null
    // puts the sprite subsystem back).
    void setSpriteBatch(SpriteBatchEnd* batch);

    bool init() override;
    void term() override;
    // Sorts and executes the frame's commands.
    void draw() override;
    void onLostDevice() override;
    void onResetDevice() override;

    // Queues a command of a kind (0-15) for a viewport index (0-47, or 48
    // for the unsorted queue) with its order (20 bits). False when dropped.
    bool pushMethod(std::uint32_t kind, int viewport, std::uint32_t order, RenderMethod* method);
    // Queues a command under a key built by the caller.
    bool queue(std::uint32_t key, RenderMethod* method);

    // Sets the device states of a sprite batch's state word through the
    // active shader, writing only what differs: blend mode (bits 0-3),
    // 0x10 no depth test, 0x200 no lighting, 0x2000 no culling, and sampler
    // 0's filters from bits 15-16 (0x8000 point, 0 or 0x10000 linear,
    // 0x18000 unchanged).
    void ApplyStateFlags(std::uint32_t word);

    ShaderBase* currentShader() const { return current_; }
    void setCurrentShader(ShaderBase* shader) { current_ = shader; }
    ShaderBase* defaultShader() const { return default_; }
    // 1 by 1, white: bound wherever a command has no texture or its texture
    // is not loaded yet.
    RenderTarget* whiteTarget() const { return white_; }

    const RenderQueue& sortedQueue() const { return sorted_; }
    const RenderQueue& unsortedQueue() const { return unsorted_; }

private:
    void run(const RenderQueue& queue);
    void endQueue();
    void endSpriteBatch();
    void endModelEffect();
    void setStateIfChanged(std::uint32_t state, std::uint32_t value);

    RenderQueue sorted_;
    RenderQueue unsorted_;
    ShaderBase* current_ = nullptr;
    SysBase* parts_[kPartCount] = {};
    ShaderBase* default_ = nullptr;
    RenderTarget* white_ = nullptr;
    GraphicsDevice* device_ = nullptr;
    SysResource* resources_ = nullptr;
    SpriteBatchEnd* spriteBatch_ = nullptr;

    // Execution state of the frame being drawn.
    std::uint32_t pass_ = 4;
    std::uint32_t kind_ = 0;
    bool anyKind_ = false;
    bool afterSprite_ = false;
};

}  // namespace qel
