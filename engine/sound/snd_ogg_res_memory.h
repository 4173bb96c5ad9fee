// An Ogg Vorbis stream over a whole file held in memory (a resource of the
// resource subsystem, shared by every clone: each holds one reference).
//
// What it keeps true: the read position stays within 0 .. the data size,
// whatever the decoder library asks of the callbacks, and nothing is read
// outside the file's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/sound/snd_ogg_resource.h"

namespace qel {

class ResFileMemory;
class SysResource;

class SndOggResMemory : public SndOggResource {
public:
    QEL_CLASS(SndOggResMemory, SndOggResource, Pool::Resources);

    SndOggResMemory() = default;
    ~SndOggResMemory() override;

    // Closes, takes the file from `resources` and opens a stream on it;
    // false (and closed) when the file is missing or no Vorbis stream.
    bool open(std::string_view path, SysResource& resources);
    // Also gives back the file and rewinds.
    void close() override;
    SndOggResource* clone() const override;

    bool isOpen() const { return open_; }
    const std::string& path() const { return path_; }

    // The decoder library's callbacks, over a resource.
    static std::size_t readCallback(void* buffer, std::size_t elementSize, std::size_t count,
                                    void* source);
    static int seekCallback(void* source, std::int64_t offset, int origin);
    static int closeCallback(void* source);
    static long tellCallback(void* source);

private:
    // Opens the stream on the file already held; false when it is no
    // Vorbis stream.
    bool openStream();
    std::size_t dataSize() const;

    bool open_ = false;
    std::string path_;
    ResFileMemory* fileMemory_ = nullptr;
    std::int64_t position_ = 0;
};

}  // namespace qel
