#include "engine/resource/sys_resource.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "engine/core/report.h"
#include "engine/core/thread.h"
#include "engine/file/string_util.h"
#include "engine/resource/loader_file_memory.h"
#include "engine/resource/loader_texture.h"
#include "engine/resource/render_target.h"
#include "engine/resource/render_texture.h"
#include "engine/resource/res_file_memory.h"
#include "engine/resource/res_target.h"
#include "engine/resource/res_vertex_buffer.h"

namespace qel {
namespace {

std::atomic<bool> g_reportedKindClash{false};

constexpr auto kIdleSleep = std::chrono::milliseconds(10);

}  // namespace

SysResource& SysResource::instance() {
    static SysResource system;
    return system;
}

SysResource::SysResource() = default;

SysResource::~SysResource() {
    term();
}

bool SysResource::init() {
    {
        ScopedLock lock(lock_);
        quit_ = false;
    }
    if (!loaderThread_) {
        loaderThread_ = new Thread(&SysResource::loaderMain, this, true);
        if (!loaderThread_ || !loaderThread_->isValid()) {
            delete loaderThread_;
            loaderThread_ = nullptr;
            return false;
        }
    }
    return true;
}

void SysResource::term() {
    {
        ScopedLock lock(lock_);
        quit_ = true;
    }
    clearRequests();
    if (loaderThread_) {
        // Joined, never abandoned: a load in progress finishes first.
        loaderThread_->resume();
        while (!loaderThread_->waitDone(std::chrono::milliseconds(100))) {
        }
        delete loaderThread_;
        loaderThread_ = nullptr;
    }
    while (collectGarbage()) {
    }
    releaseAll();
}

bool SysResource::update() {
    if (autoCollect_) collectGarbage();
    return true;
}

void SysResource::onLostDevice() {
    for (auto& [name, res] : map_) res->onLostDevice();
}

void SysResource::onResetDevice() {
    for (auto& [name, res] : map_) res->onResetDevice();
}

template <class T>
T* SysResource::findKind(const std::string& key, bool& taken) const {
    auto it = map_.find(key);
    taken = it != map_.end();
    if (!taken) return nullptr;
    T* res = classCast<T>(it->second);
    if (!res) {
        reportOnce(g_reportedKindClash,
                   "resource: a name asked for is held by another kind of resource");
    }
    return res;
}

RenderTexture* SysResource::getTexture(std::string_view path, std::uint32_t colorKey, int mode) {
    const std::string key = foldName(path);
    bool taken = false;
    if (ResTexture* known = findKind<ResTexture>(key, taken)) return new RenderTexture(known);
    if (taken) return nullptr;

    auto* texture = new ResTexture();
    if (!texture) return nullptr;
    auto* loader = new LoaderTexture(std::string(path), texture, colorKey, decoder_);
    if (!loader) {
        delete texture;
        return nullptr;
    }
    request(texture, key, loader, mode);
    // The map and the loader hold it now; the handle takes the place of
    // the creation reference.
    auto* handle = new RenderTexture(texture);
    texture->release();
    return handle;
}

ResFileMemory* SysResource::getFileMemory(std::string_view path) {
    const std::string key = foldName(path);
    bool taken = false;
    if (ResFileMemory* known = findKind<ResFileMemory>(key, taken)) {
        known->addRef();
        return known;
    }
    if (taken) return nullptr;

    auto* file = new ResFileMemory();
    if (!file) return nullptr;
    auto* loader = new LoaderFileMemory(std::string(path), file);
    if (!loader) {
        delete file;
        return nullptr;
    }
    // The creation reference becomes the caller's.
    request(file, key, loader, kLoadNow);
    return file;
}

std::string SysResource::nextName(std::string_view before, std::string_view after) {
    ScopedLock lock(lock_);
    char number[16];
    std::snprintf(number, sizeof number, "%x", static_cast<unsigned>(nameCounter_));
    ++nameCounter_;
    std::string name(before);
    name += number;
    name += after;
    return name;
}

RenderTarget* SysResource::createRenderTarget(std::uint32_t width, std::uint32_t height,
                                              PixelFormat format) {
    ScopedLock lock(lock_);
    const std::string name = nextName("ResTarget", "");
    auto* target = new ResTarget();
    if (!target) return nullptr;
    if (!device_ || !target->create(*device_, width, height, false, format)) {
        delete target;
        return nullptr;
    }
    auto* handle = new RenderTarget(target);
    if (!handle) {
        delete target;
        return nullptr;
    }
    registerResource(target, name);
    target->release();
    return handle;
}

ResVertexBuffer* SysResource::createVertexBuffer() {
    ScopedLock lock(lock_);
    const std::string name = nextName("VertexBuffer", " [600]");
    auto* buffer = new ResVertexBuffer();
    if (!buffer) return nullptr;
    if (!buffer->create()) {
        delete buffer;
        return nullptr;
    }
    registerResource(buffer, name);
    return buffer;
}

bool SysResource::registerResource(ResBase* res, const std::string& name) {
    if (!res) return false;
    if (!name.empty() && map_.count(name) != 0) return false;
    res->setName(name);
    res->addRef();
    map_.emplace(name, res);
    return true;
}

ResBase* SysResource::find(std::string_view name) const {
    auto it = map_.find(foldName(name));
    return it == map_.end() ? nullptr : it->second;
}

bool SysResource::collectGarbage() {
    bool any = false;
    for (auto it = map_.begin(); it != map_.end();) {
        if (it->second->getRefCount() < 2) {
            delete it->second;
            it = map_.erase(it);
            any = true;
        } else {
            ++it;
        }
    }
    return any;
}

void SysResource::request(ResBase* res, const std::string& name, LoaderBase* loader, int mode) {
    registerResource(res, name);
    switch (mode) {
        case kLoadQueued:
            addRequest(loader, false);
            break;
        case kLoadFirst:
            addRequest(loader, true);
            break;
        case kLoadNow:
            loader->load();
            delete loader;
            break;
        default:
            // Nobody would ever run or free it.
            delete loader;
            break;
    }
}

void SysResource::addRequest(LoaderBase* loader, bool front) {
    ScopedLock lock(lock_);
    if (front) {
        requests_.push_front(loader);
    } else {
        requests_.push_back(loader);
    }
    // The first request starts the thread; it is never held again.
    if (loaderThread_ && loaderThread_->isSuspended()) loaderThread_->resume();
}

LoaderBase* SysResource::popRequest(bool& quit) {
    ScopedLock lock(lock_);
    quit = quit_;
    if (quit || requests_.empty()) return nullptr;
    LoaderBase* loader = requests_.front();
    requests_.pop_front();
    return loader;
}

bool SysResource::loadNext() {
    bool quit = false;
    LoaderBase* loader = popRequest(quit);
    if (!loader) return false;
    loader->load();
    delete loader;
    return true;
}

std::size_t SysResource::pendingRequests() const {
    ScopedLock lock(lock_);
    return requests_.size();
}

void SysResource::loaderMain(void* self) {
    auto& system = *static_cast<SysResource*>(self);
    for (;;) {
        bool quit = false;
        LoaderBase* loader = system.popRequest(quit);
        if (quit) return;
        if (loader) {
            loader->load();
            delete loader;
        } else {
            std::this_thread::sleep_for(kIdleSleep);
        }
    }
}

void SysResource::clearRequests() {
    std::deque<LoaderBase*> dropped;
    {
        ScopedLock lock(lock_);
        dropped.swap(requests_);
    }
    for (LoaderBase* loader : dropped) delete loader;
}

void SysResource::releaseAll() {
    for (auto& [name, res] : map_) delete res;
    map_.clear();
}

}  // namespace qel
