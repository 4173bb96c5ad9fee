// The records of one data table, owned and found by their tag: what every
// tagged list of the game data (actions, spells, ...) keeps. T has a
// `tag()` that does not change while the record is held.
//
// What it keeps true: tags are unique; the records held are deleted exactly
// once, on clear() or with the list.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>

template <class T>
class TaggedRecords {
public:
    using Map = std::map<std::string, T*, std::less<>>;

    TaggedRecords() = default;
    ~TaggedRecords() { clear(); }
    TaggedRecords(const TaggedRecords&) = delete;
    TaggedRecords& operator=(const TaggedRecords&) = delete;

    // The record with this tag; null for an unknown, empty or null tag.
    T* get(std::string_view tag) const { return tag.empty() ? nullptr : find(tag); }
    T* get(const char* tag) const { return tag ? get(std::string_view(tag)) : nullptr; }
    // Takes `record` under its tag. False, and nothing changed (the caller
    // keeps it), when the tag is present or `record` is null.
    bool insert(T* record) { return record && records_.try_emplace(record->tag(), record).second; }
    // Deletes every record.
    void clear() {
        static_assert(sizeof(T) > 0, "records are deleted where their class is complete");
        for (auto& [tag, record] : records_) delete record;
        records_.clear();
    }

    std::size_t size() const { return records_.size(); }
    // Tag order (byte-wise).
    const Map& records() const { return records_; }

protected:
    // The record held under exactly this tag, the empty one included: what
    // a loader names when a row repeats a tag.
    T* find(std::string_view tag) const {
        const auto it = records_.find(tag);
        return it == records_.end() ? nullptr : it->second;
    }

private:
    Map records_;
};
