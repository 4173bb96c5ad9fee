// The name under which the player sees an item kind: its true names, the
// false name drawn for the game while the kind is unidentified, the name the
// player gave it, which of them shows, and its colour. One record per kind,
// shared by every item of the kind.
//
// What it keeps true: every text holds at most 32 bytes, cut on a whole
// Shift-JIS character, and none holds a NUL.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "engine/math/color.h"

namespace qel {
class File;
}

class ItemName : public qel::ScriptObject {
public:
    enum State : std::int32_t { ANALYZE = 0, UNKNOWN = 1, ASSUMED = 2 };
    static constexpr std::size_t kTextLimit = 32;

    ItemName();
    ItemName(std::int32_t state, std::string_view assumed, const qel::Color& color);
    ~ItemName() override;

    QEL_CLASS(ItemName, qel::ScriptObject, qel::Pool::Resources);

    // The text that shows: the main name (identified), the false name
    // (unknown) or the assumed name; `second` picks the second form of the
    // first two. Null in any other state.
    const char* getName(bool second = false) const;

    void toAnalyze() { state_ = ANALYZE; }
    void toUnknown() { state_ = UNKNOWN; }
    // A non-empty text becomes the assumed name and shows; null or empty
    // clears it and shows the false name.
    void toAssumed(const char* text);

    const std::string& getMainName() const { return mainName_; }
    const std::string& getFalseName() const { return falseName_; }
    const std::string& getAssumeName() const { return assumeName_; }
    const std::string& getSecondMainName() const { return secondMainName_; }
    const std::string& getSecondFalseName() const { return secondFalseName_; }
    std::int32_t getState() const { return state_; }
    const qel::Color& getColor() const { return color_; }
    std::int32_t getNumber() const { return number_; }

    // Null empties the text; the state does not change.
    void setMainName(const char* text) { mainName_ = cut(text); }
    void setFalseName(const char* text) { falseName_ = cut(text); }
    void setAssumeName(const char* text) { assumeName_ = cut(text); }
    // Null empties it; "-" copies the main (false) name.
    void setSecondMainName(const char* text);
    void setSecondFalseName(const char* text);
    void setColor(const qel::Color& color) { color_ = color; }
    void setState(std::int32_t state) { state_ = state; }
    void setNumber(std::int32_t number) { number_ = number; }

    // The record of the save's item-name section (after the kind's id):
    // false name, assumed name, state, colour, and from `kVersionSecondNames`
    // on the false-name number and the second false name.
    // `version` is the archive's.
    bool serialize(qel::File& file, std::uint32_t version);
    static constexpr std::uint32_t kVersionSecondNames = 104;

    // At most kTextLimit bytes of `text` up to any NUL, on a whole character.
    static std::string cut(std::string_view text);
    static std::string cut(const char* text) { return text ? cut(std::string_view(text)) : ""; }

private:
    std::int32_t number_ = 0;
    std::string mainName_;
    std::string falseName_;
    std::string assumeName_;
    std::int32_t state_ = ANALYZE;
    qel::Color color_;
    std::string secondMainName_;
    std::string secondFalseName_;
};
