// Every Action of the game, by tag. Loaded first of the tables at boot,
// because spells and skills name actions by tag and keep pointers to them:
// clearing or reloading the list after those tables leaves their pointers
// dangling, so it is loaded once.
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

class Action;

class ActionList : public qel::Core {
public:
    static constexpr const char* kDefaultPath = "data/data06.dat";

    ActionList();
    ~ActionList() override;
    ActionList(const ActionList&) = delete;
    ActionList& operator=(const ActionList&) = delete;

    // The game's list, empty until loaded.
    static ActionList& instance();

    static const qel::ClassInfo& staticClassInfo();
    const qel::ClassInfo& classInfo() const override { return staticClassInfo(); }
    static void* operator new(std::size_t size) noexcept { return qel::poolAllocate(3, size); }
    static void operator delete(void* p) noexcept { qel::poolFree(p); }

    // Replaces the list with the table at `path` (key cells name and tag).
    // False with the reason in `message` when the table is missing, a row is
    // bad or a tag repeats; the rows before a failing row stay loaded.
    bool load(LoadMessage message, const std::string& path = kDefaultPath);

    // The action with this tag; null for an unknown, empty or null tag.
    Action* get(std::string_view tag) const;
    Action* get(const char* tag) const { return tag ? get(std::string_view(tag)) : nullptr; }
    // Takes `action` under its tag. False, and nothing changed (the caller
    // keeps it), when the tag is present or `action` is null.
    bool insert(Action* action);
    // Deletes every action.
    void clear();

    std::size_t size() const { return actions_.size(); }
    // Tag order (byte-wise).
    const std::map<std::string, Action*, std::less<>>& actions() const { return actions_; }

private:
    std::map<std::string, Action*, std::less<>> actions_;
};
