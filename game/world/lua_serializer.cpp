#include "game/world/lua_serializer.h"

#include "game/world/version_file.h"

bool LuaSerializer::isWrite() const {
    return file_ && file_->isWriteMode();
}

bool LuaSerializer::isRead() const {
    return file_ && file_->isReadMode();
}

std::uint32_t LuaSerializer::getVersion() const {
    return file_ ? file_->getVersion() : 0;
}

bool LuaSerializer::fits(std::size_t size) const {
    return !file_->isWriteMode() || file_->tell() + size <= kWriteLimit;
}

bool LuaSerializer::transfer(void* data, std::size_t size) {
    if (!failed_ && file_ && fits(size) && file_->serializeBytes(data, size)) return true;
    failed_ = true;
    return false;
}

float LuaSerializer::num(float value) {
    return transfer(&value, sizeof value) ? value : 0.0f;
}

bool LuaSerializer::boolean(bool value) {
    std::uint8_t byte = value ? 1 : 0;
    return transfer(&byte, 1) && byte != 0;
}

Point LuaSerializer::point(const Point& value) {
    std::int32_t xy[2] = {value.x, value.y};
    return transfer(xy, sizeof xy) ? Point(xy[0], xy[1]) : Point();
}

std::string LuaSerializer::str(const std::string& value) {
    std::string text = value.substr(0, value.find('\0'));
    if (failed_ || !file_ || !fits(text.size() + 1) || !file_->serializeString(text)) {
        failed_ = true;
        return std::string();
    }
    return text;
}
