#include "game/world/object_work.h"

#include <cstring>
#include <string>

#include "engine/file/file.h"
#include "engine/file/string_util.h"

void ObjectWork::setTag(std::string_view tag) {
    tag = tag.substr(0, tag.find('\0'));
    const std::string cut = qel::cutString(tag, 0, kTagCapacity - 1);
    tag_.fill('\0');
    std::memcpy(tag_.data(), cut.data(), cut.size());
}

std::int32_t ObjectWork::getWork(std::int64_t index) const {
    return index >= 0 && index < kWorkCount ? work_[static_cast<std::size_t>(index)] : 0;
}

void ObjectWork::setWork(std::int64_t index, std::int32_t value) {
    if (index >= 0 && index < kWorkCount) work_[static_cast<std::size_t>(index)] = value;
}

bool ObjectWork::serialize(qel::File& file) {
    return file.serializeCString(tag_.data(), tag_.size()) &&
           file.serializeBytes(work_.data(), sizeof work_);
}
