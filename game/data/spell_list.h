// Every Spell (school of magic) of the game, by tag. Loaded after the action
// table, whose tags its rows name, and before the skill table, whose levels
// name spells. A missing spell table is no failure: the game then has no
// spells.
//
// What it keeps true: tags are unique; the list owns its records and deletes
// them on clear() and at exit.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

#include "engine/core/core.h"
#include "game/data/csv_reader.h"

class Spell;

class SpellList : public qel::Core {
public:
    static constexpr const char* kDefaultPath = "data/data08.dat";

    SpellList();
    ~SpellList() override;
    SpellList(const SpellList&) = delete;
    SpellList& operator=(const SpellList&) = delete;

    // The game's list, empty until loaded.
    static SpellList& instance();

    static const qel::ClassInfo& staticClassInfo();
    const qel::ClassInfo& classInfo() const override { return staticClassInfo(); }
    static void* operator new(std::size_t size) noexcept { return qel::poolAllocate(3, size); }
    static void operator delete(void* p) noexcept { qel::poolFree(p); }

    // Replaces the list with the table at `path` (key cells name and tag).
    // A missing table writes its message and is still true; a bad row or a
    // repeated tag is false with the reason in `message`, and the rows
    // before it stay loaded.
    bool load(LoadMessage message, const std::string& path = kDefaultPath);

    // The spell with this tag; null for an unknown, empty or null tag.
    Spell* get(std::string_view tag) const;
    Spell* get(const char* tag) const { return tag ? get(std::string_view(tag)) : nullptr; }
    // Takes `spell` under its tag. False, and nothing changed (the caller
    // keeps it), when the tag is present or `spell` is null.
    bool insert(Spell* spell);
    // Deletes every spell.
    void clear();

    std::size_t size() const { return spells_.size(); }
    // Tag order (byte-wise).
    const std::map<std::string, Spell*, std::less<>>& spells() const { return spells_; }

private:
    std::map<std::string, Spell*, std::less<>> spells_;
};
