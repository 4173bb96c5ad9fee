// One row of the settings table: a setting as the scripts see it in module
// `C` (its name, spelt as the scripts spell it, its kind and whether it is
// read-only) together with the program's storage for it and its start value.
// The table of every setting (settings.h) is the one list from which the
// reset, the tests and the script bindings are made.
//
// The start value is what the storage holds when the row is built: the rows
// are built before main runs, so that is the initialiser written beside the
// setting in settings.h.
//
// Storage types stand for the kinds the scripts see: uint (std::uint32_t),
// int (std::int32_t), float, byte (std::uint8_t), port (std::uint16_t),
// bool, text (std::string, an owned copy), Color, Point and Dice; a
// read-only number is a std::int32_t or std::uint32_t constant, a read-only
// text a `const char*` one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "game/data/dice.h"
#include "game/world/value_types.h"

enum class SettingKind { Uint, Int, Float, Byte, Port, Bool, Text, Color, Point, Dice };

class Setting {
public:
    // The storage of one kind, and the start value of each element (a
    // read-only value's one value).
    template <class T>
    struct Slot {
        using Value = std::remove_const_t<T>;
        static constexpr bool kReadOnly = std::is_const_v<T>;
        T* storage;
        std::vector<Value> start;
    };

    // A value the scripts read and write.
    template <class T>
    static Setting value(const char* name, T& storage) {
        return Setting(name, 1, Slot<T>{&storage, {storage}});
    }
    // An array of values the scripts read and write by index.
    template <class T, std::size_t N>
    static Setting array(const char* name, T (&storage)[N]) {
        return Setting(name, N, Slot<T>{storage, {storage, storage + N}});
    }
    // A value the scripts may only read.
    template <class T>
    static Setting constant(const char* name, const T& value) {
        return Setting(name, 1, Slot<const T>{&value, {value}});
    }

    // The same row refusing a number outside low..high: a figure of the
    // screen's layout, which the drawing adds, multiplies and makes
    // textures of, kept to what those hold.
    Setting within(double low, double high) const {
        Setting row = *this;
        row.low_ = low;
        row.high_ = high;
        return row;
    }
    // Whether a number may be stored (never NaN where a range is set).
    bool accepts(double value) const { return !bounded() || (value >= low_ && value <= high_); }
    bool bounded() const { return low_ > -kUnbounded || high_ < kUnbounded; }
    double low() const { return low_; }
    double high() const { return high_; }

    const char* name() const { return name_; }
    SettingKind kind() const { return kind_; }
    // Elements: 1 for a single value.
    std::size_t count() const { return count_; }
    bool readOnly() const {
        return std::visit([](const auto& slot) { return slot.kReadOnly; }, slot_);
    }

    // Puts the start value back (nothing for a read-only value).
    void reset() const {
        std::visit(
            [this](const auto& slot) {
                if constexpr (!std::decay_t<decltype(slot)>::kReadOnly) {
                    for (std::size_t i = 0; i < count_; ++i) slot.storage[i] = slot.start[i];
                }
            },
            slot_);
    }
    // Every element holds its start value.
    bool atStart() const {
        return std::visit(
            [this](const auto& slot) {
                if constexpr (std::decay_t<decltype(slot)>::kReadOnly) {
                    return true;
                } else {
                    for (std::size_t i = 0; i < count_; ++i) {
                        if (!(slot.storage[i] == slot.start[i])) return false;
                    }
                    return true;
                }
            },
            slot_);
    }

    // Calls f(slot) with the row's Slot<T>: how the bindings and the tests
    // reach the typed storage.
    template <class F>
    decltype(auto) visit(F&& f) const {
        return std::visit(std::forward<F>(f), slot_);
    }

private:
    using Slots =
        std::variant<Slot<std::uint32_t>, Slot<std::int32_t>, Slot<float>, Slot<std::uint8_t>,
                     Slot<std::uint16_t>, Slot<bool>, Slot<std::string>, Slot<Color>, Slot<Point>,
                     Slot<Dice>, Slot<const std::int32_t>, Slot<const std::uint32_t>,
                     Slot<const char* const>>;

    template <class T>
    static constexpr SettingKind kindOf() {
        using U = std::remove_const_t<T>;
        if constexpr (std::is_same_v<U, std::uint32_t>) return SettingKind::Uint;
        if constexpr (std::is_same_v<U, std::int32_t>) return SettingKind::Int;
        if constexpr (std::is_same_v<U, float>) return SettingKind::Float;
        if constexpr (std::is_same_v<U, std::uint8_t>) return SettingKind::Byte;
        if constexpr (std::is_same_v<U, std::uint16_t>) return SettingKind::Port;
        if constexpr (std::is_same_v<U, bool>) return SettingKind::Bool;
        if constexpr (std::is_same_v<U, std::string> || std::is_same_v<U, const char*>)
            return SettingKind::Text;
        if constexpr (std::is_same_v<U, Color>) return SettingKind::Color;
        if constexpr (std::is_same_v<U, Point>) return SettingKind::Point;
        if constexpr (std::is_same_v<U, Dice>) return SettingKind::Dice;
    }

    template <class T>
    Setting(const char* name, std::size_t count, Slot<T> slot)
        : name_(name), kind_(kindOf<T>()), count_(count), slot_(std::move(slot)) {}

    static constexpr double kUnbounded = std::numeric_limits<double>::infinity();

    const char* name_;
    SettingKind kind_;
    std::size_t count_;
    Slots slot_;
    double low_ = -kUnbounded;
    double high_ = kUnbounded;
};
