// The kinds and the behaviour word of a map object, kept apart from the
// object class so that value types, tables and the scripts' constants can use
// them without it. ObjectBase inherits ObjectBaseTypes, which makes these
// ObjectBase::TYPE, ObjectBase::LINK, ObjectBase::INFO, ObjectBase::TYPE_ITEM,
// ObjectBase::INFO_ITEM and ObjectBase::getTypeOfLink.
//
// INFO is one 32-bit word: the drawing priority in bits 0..7, then walk (8),
// put (9), sight (10) and openView (11); bits 12..31 carry nothing but are
// kept by every setter, so a word read from a save comes back unchanged.
#pragma once

#include <cstdint>

struct ObjectBaseTypes {
    // What a map object is.
    enum TYPE : std::int32_t {
        TYPE_NONE = 0,
        TYPE_PLAYER = 1,
        TYPE_NPC = 2,
        TYPE_ENEMY = 3,
        TYPE_FRIEND = 4,
        TYPE_ITEM = 5,
        TYPE_TRAP = 6,
        TYPE_GIMMICK = 7,
        TYPE_EVENT = 8,
    };

    // Which of the object manager's kind lists an object sits in.
    enum LINK : std::int32_t {
        LINK_PLAYER = 0,
        LINK_NPC = 1,
        LINK_ITEM = 2,
        LINK_TRAP = 3,
        LINK_OTHER = 4,
        LINK_MAX = 5,  // the number of kind lists
    };

    static constexpr LINK getTypeOfLink(TYPE type) {
        switch (type) {
            case TYPE_PLAYER:
                return LINK_PLAYER;
            case TYPE_NPC:
            case TYPE_ENEMY:
            case TYPE_FRIEND:
                return LINK_NPC;
            case TYPE_ITEM:
                return LINK_ITEM;
            case TYPE_TRAP:
                return LINK_TRAP;
            default:
                return LINK_OTHER;
        }
    }

    struct INFO {
        static constexpr std::uint32_t PRIORITY_MASK = 0xFFu;
        static constexpr std::uint32_t WALK = 1u << 8;        // others may walk onto the cell
        static constexpr std::uint32_t PUT = 1u << 9;         // items may be put onto the cell
        static constexpr std::uint32_t SIGHT = 1u << 10;      // sight passes the cell
        static constexpr std::uint32_t OPEN_VIEW = 1u << 11;  // the field view remembers the object
        static constexpr std::uint32_t OWN_BITS = PRIORITY_MASK | WALK | PUT | SIGHT | OPEN_VIEW;

        std::uint32_t data = 0;

        constexpr INFO() = default;
        constexpr explicit INFO(std::uint32_t word) : data(word) {}
        constexpr INFO(std::uint8_t priority, bool walk, bool put, bool sight, bool openView) {
            set(priority, walk, put, sight, openView);
        }

        // Sets the priority and the four flags; bits 12..31 stay as they were.
        constexpr void set(std::uint8_t priority, bool walk, bool put, bool sight, bool openView) {
            data = (data & ~OWN_BITS) | priority | (walk ? WALK : 0u) | (put ? PUT : 0u) |
                   (sight ? SIGHT : 0u) | (openView ? OPEN_VIEW : 0u);
        }

        constexpr std::uint8_t priority() const { return static_cast<std::uint8_t>(data); }
        constexpr bool walk() const { return data & WALK; }
        constexpr bool put() const { return data & PUT; }
        constexpr bool sight() const { return data & SIGHT; }
        constexpr bool openView() const { return data & OPEN_VIEW; }

        constexpr void setPriority(std::uint8_t p) { data = (data & ~PRIORITY_MASK) | p; }
        constexpr void setWalk(bool on) { setBit(WALK, on); }
        constexpr void setPut(bool on) { setBit(PUT, on); }
        constexpr void setSight(bool on) { setBit(SIGHT, on); }
        constexpr void setOpenView(bool on) { setBit(OPEN_VIEW, on); }

        constexpr bool operator==(const INFO&) const = default;

    private:
        constexpr void setBit(std::uint32_t bit, bool on) { data = on ? data | bit : data & ~bit; }
    };

    // The standard words of each object kind. The scripts read them by
    // address, so they are objects.
    static const INFO INFO_PLAYER;
    static const INFO INFO_NPC;
    static const INFO INFO_ITEM;
    static const INFO INFO_TRAP;
    static const INFO INFO_EFFECT;
    static const INFO INFO_GIMMICK_FLOOR;
    static const INFO INFO_GIMMICK_TABLE;
    static const INFO INFO_GIMMICK_WALL;
};

// Arguments: priority, walk, put, sight, openView.
inline constexpr ObjectBaseTypes::INFO ObjectBaseTypes::INFO_PLAYER{50, 0, 1, 1, 0};
inline constexpr ObjectBaseTypes::INFO ObjectBaseTypes::INFO_NPC{40, 0, 1, 1, 0};
inline constexpr ObjectBaseTypes::INFO ObjectBaseTypes::INFO_ITEM{30, 1, 1, 1, 1};
inline constexpr ObjectBaseTypes::INFO ObjectBaseTypes::INFO_TRAP{10, 1, 1, 1, 1};
inline constexpr ObjectBaseTypes::INFO ObjectBaseTypes::INFO_EFFECT{60, 1, 1, 1, 0};
inline constexpr ObjectBaseTypes::INFO ObjectBaseTypes::INFO_GIMMICK_FLOOR{20, 1, 1, 1, 1};
inline constexpr ObjectBaseTypes::INFO ObjectBaseTypes::INFO_GIMMICK_TABLE{21, 0, 0, 1, 1};
inline constexpr ObjectBaseTypes::INFO ObjectBaseTypes::INFO_GIMMICK_WALL{35, 0, 0, 0, 1};
