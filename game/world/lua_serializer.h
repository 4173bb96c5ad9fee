// The scripts' view of an open archive: each call moves one value in the
// archive's direction (read in the read modes, written otherwise) and gives
// back the value, read or written, so a script serialises with one routine
// for both directions by assigning each result back.
//
// On the bytes: a number is a 4-byte float, a boolean one byte (0 or 1), a
// text its bytes and a NUL, a point two int32 (x, y); all little-endian,
// with nothing between them.
//
// What it keeps true: it is valid only while the call that received it
// runs (the scripts forget it when it goes); a read past the end of
// the data gives 0, false, "" or (0, 0) and marks the serializer failed, and
// every later transfer fails too; so does a write past kWriteLimit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "game/world/value_types.h"

class VersionFile;

class LuaSerializer : public qel::ScriptObject {
public:
    // What one archive may grow to through a script: a runaway loop ends
    // here instead of filling the memory.
    static constexpr std::size_t kWriteLimit = std::size_t{64} << 20;

    explicit LuaSerializer(VersionFile* file) : file_(file) {}
    LuaSerializer(const LuaSerializer&) = delete;
    LuaSerializer& operator=(const LuaSerializer&) = delete;

    QEL_CLASS_WITHOUT_FACTORY(LuaSerializer, qel::ScriptObject, qel::Pool::General);

    bool isWrite() const;
    bool isRead() const;
    float num(float value);
    std::string str(const std::string& value);
    bool boolean(bool value);
    Point point(const Point& value);
    std::uint32_t getVersion() const;

    // A transfer failed (data cut short, or no archive).
    bool failed() const { return failed_; }

private:
    bool transfer(void* data, std::size_t size);
    bool fits(std::size_t size) const;

    VersionFile* file_;
    bool failed_ = false;
};
