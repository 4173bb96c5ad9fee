// Commits files of one slot folder as a group, so that a slot never holds
// the new player file with the old floor (or the reverse), whatever stops
// the program in between.
//
// A group commit runs in steps:
//   1. each file is staged: written whole and synced as "<name>.new";
//   2. the commit record "commit.lst" (the names, one a line, then "end") is
//      written and synced: from here the new files count;
//   3. each staged file is renamed over its name;
//   4. the record is removed.
// recover() (run before anything else touches the slot) finishes steps 3
// and 4 when a record is there, and otherwise deletes what a cut-off save
// staged, together with the hidden temporaries of cut-off replaces.
//
// What it keeps true: before the record exists the old files are whole and
// untouched; once it exists every access sees the new files. Game thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class SlotCommit {
public:
    static constexpr const char* kRecordName = "commit.lst";
    static constexpr const char* kStageSuffix = ".new";

    // Told after each step ("stage", "record", "rename", "done"): the place
    // where a test stops the program.
    using StepHook = void (*)(const char* step);
    static void setStepHook(StepHook hook);

    // Why `name` cannot be a file of the slot folder: the character that
    // keeps it out ("0x0A" for a control character, "/", "\\", ".."), or
    // "empty"; an empty text when it can. A byte that belongs to a two-byte
    // Shift-JIS character is part of that character, never a separator.
    static std::string nameFault(std::string_view name);
    // The name with each one-byte control character spelled as its code
    // ("<0x0A>"), for showing.
    static std::string spelled(std::string_view name);

    // `folder` is the slot folder, without a trailing separator.
    explicit SlotCommit(std::string folder) : folder_(std::move(folder)) {}
    ~SlotCommit();
    SlotCommit(const SlotCommit&) = delete;
    SlotCommit& operator=(const SlotCommit&) = delete;

    // Where to write the staged copy of `name`.
    std::string stagePath(const std::string& name) const;
    // `name` was staged (its file reached the disc).
    void staged(const std::string& name);
    // Steps 2 to 4. False when a name cannot stand in the record or the
    // record could not be written (the staged files are deleted and the old
    // files stay), or a rename failed (the record stays, and the next
    // recover finishes the commit).
    bool commit();

    // Finishes a recorded commit or deletes leftovers. False when a
    // recorded commit could not be finished.
    static bool recover(const std::string& folder);

private:
    void abandon();

    std::string folder_;
    std::vector<std::string> names_;
    bool done_ = false;
};
