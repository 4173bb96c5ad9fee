#include "game/data/item_name.h"

#include <array>
#include <cstring>

#include "engine/file/file.h"
#include "engine/file/string_util.h"

ItemName::ItemName() = default;

ItemName::ItemName(std::int32_t state, std::string_view assumed, const qel::Color& color)
    : assumeName_(cut(assumed)), state_(state), color_(color) {}

ItemName::~ItemName() = default;

std::string ItemName::cut(std::string_view text) {
    return qel::cutString(text.substr(0, text.find('\0')), 0, kTextLimit);
}

const char* ItemName::getName(bool second) const {
    switch (state_) {
        case ANALYZE:
            return (second ? secondMainName_ : mainName_).c_str();
        case UNKNOWN:
            return (second ? secondFalseName_ : falseName_).c_str();
        case ASSUMED:
            return assumeName_.c_str();
        default:
            return nullptr;
    }
}

void ItemName::toAssumed(const char* text) {
    if (text && *text) {
        state_ = ASSUMED;
        assumeName_ = cut(text);
    } else {
        state_ = UNKNOWN;
        assumeName_.clear();
    }
}

void ItemName::setSecondMainName(const char* text) {
    secondMainName_ = text && std::strcmp(text, "-") == 0 ? mainName_ : cut(text);
}

void ItemName::setSecondFalseName(const char* text) {
    secondFalseName_ = text && std::strcmp(text, "-") == 0 ? falseName_ : cut(text);
}

namespace {

// One text of the record: at most 32 bytes and its NUL.
bool serializeText(qel::File& file, std::string& text) {
    std::array<char, ItemName::kTextLimit + 1> buffer{};
    if (!file.isReadMode()) return file.writeString(text);
    if (!file.serializeCString(buffer.data(), buffer.size())) return false;
    text = ItemName::cut(buffer.data());
    return true;
}

}  // namespace

bool ItemName::serialize(qel::File& file, std::uint32_t version) {
    std::uint32_t state = static_cast<std::uint32_t>(state_);
    std::uint32_t color = color_.argb();
    std::uint32_t number = static_cast<std::uint32_t>(number_);
    if (!serializeText(file, falseName_) || !serializeText(file, assumeName_) ||
        !file.serialize(state) || !file.serialize(color)) {
        return false;
    }
    if (version >= kVersionSecondNames &&
        (!file.serialize(number) || !serializeText(file, secondFalseName_))) {
        return false;
    }
    if (file.isReadMode()) {
        state_ = static_cast<std::int32_t>(state);
        color_ = qel::Color(color);
        number_ = static_cast<std::int32_t>(number);
    }
    return true;
}
