#include "engine/sound/snd_ogg_res_memory.h"

#include <vorbis/vorbisfile.h>

#include <cstring>

#include "engine/resource/res_file_memory.h"
#include "engine/resource/sys_resource.h"

namespace qel {
namespace {

const ov_callbacks kCallbacks = {
    &SndOggResMemory::readCallback,
    &SndOggResMemory::seekCallback,
    &SndOggResMemory::closeCallback,
    &SndOggResMemory::tellCallback,
};

}  // namespace

SndOggResMemory::~SndOggResMemory() {
    close();
}

bool SndOggResMemory::open(std::string_view path, SysResource& resources) {
    close();
    fileMemory_ = resources.getFileMemory(path);
    path_ = path;
    if (!fileMemory_ || !fileMemory_->getData() || !openStream()) {
        close();
        return false;
    }
    return true;
}

bool SndOggResMemory::openStream() {
    position_ = 0;
    if (ov_open_callbacks(this, file_, nullptr, 0, kCallbacks) != 0) return false;
    streamOpen_ = true;
    open_ = true;
    return true;
}

void SndOggResMemory::close() {
    SndOggResource::close();
    open_ = false;
    if (fileMemory_) fileMemory_->release();
    fileMemory_ = nullptr;
    position_ = 0;
}

SndOggResource* SndOggResMemory::clone() const {
    if (!open_) return nullptr;
    auto* copy = new SndOggResMemory();
    if (!copy) return nullptr;
    copy->path_ = path_;
    copy->fileMemory_ = fileMemory_;
    fileMemory_->addRef();
    if (!copy->openStream()) {
        delete copy;
        return nullptr;
    }
    return copy;
}

std::size_t SndOggResMemory::dataSize() const {
    return fileMemory_ ? fileMemory_->getSize() : 0;
}

std::size_t SndOggResMemory::readCallback(void* buffer, std::size_t elementSize, std::size_t count,
                                          void* source) {
    auto* self = static_cast<SndOggResMemory*>(source);
    // No element size means nothing to read (and nothing to divide by).
    if (!buffer || !self || elementSize == 0 || !self->fileMemory_) return 0;
    const std::size_t left = self->dataSize() - static_cast<std::size_t>(self->position_);
    const std::size_t n = std::min(count, left / elementSize);
    std::memcpy(buffer, self->fileMemory_->getData() + self->position_, n * elementSize);
    self->position_ += static_cast<std::int64_t>(n * elementSize);
    return n;
}

int SndOggResMemory::seekCallback(void* source, std::int64_t offset, int origin) {
    auto* self = static_cast<SndOggResMemory*>(source);
    const auto size = static_cast<std::int64_t>(self->dataSize());
    std::int64_t base;
    switch (origin) {
        case SEEK_SET:
            base = 0;
            break;
        case SEEK_CUR:
            base = self->position_;
            break;
        case SEEK_END:
            base = size;
            break;
        default:
            return -1;
    }
    // Sums that overflow count as beyond the end or before the start.
    std::int64_t target;
    if (__builtin_add_overflow(base, offset, &target)) target = offset > 0 ? size + 1 : -1;
    if (target >= 0 && target <= size) {
        self->position_ = target;
        return 0;
    }
    self->position_ = target > size ? size : 0;
    return -1;
}

int SndOggResMemory::closeCallback(void*) {
    return 0;
}

long SndOggResMemory::tellCallback(void* source) {
    return static_cast<long>(static_cast<SndOggResMemory*>(source)->position_);
}

}  // namespace qel
