// The resource subsystem: every texture, render target, file in memory,
// vertex buffer and shader effect by name, counted and collected, with one
// background loader thread.
//
// Kept true:
//   - The map's key is the name a resource was registered under; paths are
//     folded first (foldName: single-byte 'A'..'Z' lowered), so two spellings
//     of one file name one resource, while generated names with capitals
//     ("ResTarget1") are never found by a path.
//   - A resource with a loader queued or running holds that loader's
//     reference, so it cannot be collected under the loader.
//   - The request list and the quit flag are read and written under the
//     lock; the loader thread takes from the front, mode 2 puts at the
//     front, mode 0 at the back.
//   - The loader thread is started by the first queued request and joined at
//     term (a load in progress finishes; queued ones are dropped).
// Everything but the loader thread's loop runs on the game thread; the map
// is the game thread's alone.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <string_view>

#include "engine/core/critical_section.h"
#include "engine/core/sys_base.h"
#include "engine/gfx/graphics_device.h"
#include "engine/gfx/surface.h"

namespace qel {

class ImageDecoder;
class LoaderBase;
class RenderTarget;
class RenderTexture;
class ResBase;
class ResFileMemory;
class ResVertexBuffer;
class Thread;

class SysResource : public SysBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(SysResource, SysBase, Pool::System);

    enum LoadMode : int { kLoadQueued = 0, kLoadNow = 1, kLoadFirst = 2 };

    static SysResource& instance();
    // The program's is instance(); tests make their own.
    SysResource();
    ~SysResource() override;
    SysResource(const SysResource&) = delete;
    SysResource& operator=(const SysResource&) = delete;

    // Starts the loader thread (held until the first queued request).
    bool init() override;
    // Stops and joins the loader thread, drops queued loads, collects until
    // nothing goes, then deletes every resource left.
    void term() override;
    bool update() override;
    // Passed to every resource, in name order.
    void onLostDevice() override;
    void onResetDevice() override;

    // What render targets are made on, and what decodes pictures; set
    // before the first use (the program's entry wires both).
    void setDevice(GraphicsDevice* device) { device_ = device; }
    GraphicsDevice* getDevice() const { return device_; }
    void setImageDecoder(ImageDecoder* decoder) { decoder_ = decoder; }

    // A new handle on the texture of the path. A known path answers at once
    // (colour key and mode ignored); otherwise the texture is registered and
    // loaded by mode: kLoadQueued at the back of the requests, kLoadNow at
    // once on this thread, kLoadFirst at the front. Null when memory runs
    // out, or (reported once) when the name is held by another kind.
    RenderTexture* getTexture(std::string_view path, std::uint32_t colorKey, int mode);
    // The file in memory, with one reference for the caller (who gives it
    // back with release()), loaded at once; state 2 and no data when the
    // file cannot be read. Null as for getTexture.
    ResFileMemory* getFileMemory(std::string_view path);
    // A render target of that size and format (power-of-two surface, the
    // requested size kept), named "ResTarget<n>"; null when it cannot be made.
    RenderTarget* createRenderTarget(std::uint32_t width, std::uint32_t height, PixelFormat format);
    // The sprite vertex buffer, named "VertexBuffer<n> [600]", returned with
    // the caller's reference besides the map's; null when it cannot be made.
    ResVertexBuffer* createVertexBuffer();

    // Adds a reference and keys the resource by the name as it stands;
    // false when a non-empty name is taken.
    bool registerResource(ResBase* res, const std::string& name);
    // The resource of the folded name, or null.
    ResBase* find(std::string_view name) const;
    // Deletes every registered resource whose count is below 2; true when
    // any went. One pass in name order.
    bool collectGarbage();
    // Registers the resource and dispatches the loader by mode (another mode
    // drops the loader: the resource keeps state 0).
    void request(ResBase* res, const std::string& name, LoaderBase* loader, int mode);
    void addRequest(LoaderBase* loader, bool front);

    // One turn of the loader thread: runs and deletes the first queued
    // loader. False when there was none or the quit flag is set.
    bool loadNext();
    std::size_t pendingRequests() const;
    std::size_t resourceCount() const { return map_.size(); }

    bool getAutoCollect() const { return autoCollect_; }
    void setAutoCollect(bool on) { autoCollect_ = on; }
    std::uint32_t getDefaultColorKey() const { return defaultColorKey_; }
    void setDefaultColorKey(std::uint32_t key) { defaultColorKey_ = key; }
    // The next generated name: the counter (hexadecimal) put into the text
    // where "%x" stands; the counter then counts on.
    std::string nextName(std::string_view before, std::string_view after);

private:
    static void loaderMain(void* self);
    LoaderBase* popRequest(bool& quit);
    void clearRequests();
    void releaseAll();
    // The resource of the folded path when it is a T; reports once when the
    // name is held by another kind.
    template <class T>
    T* findKind(const std::string& key, bool& taken) const;

    Thread* loaderThread_ = nullptr;
    std::deque<LoaderBase*> requests_;
    std::multimap<std::string, ResBase*> map_;
    bool quit_ = false;
    bool autoCollect_ = false;
    std::int32_t nameCounter_ = 1;
    std::uint32_t defaultColorKey_ = 0;
    mutable CriticalSection lock_;
    GraphicsDevice* device_ = nullptr;
    ImageDecoder* decoder_ = nullptr;
};

}  // namespace qel
