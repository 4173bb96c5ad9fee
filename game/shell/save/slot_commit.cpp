#include "game/shell/save/slot_commit.h"

#include <cstdio>
#include <string_view>

#include "engine/file/file.h"
#include "engine/file/string_util.h"

namespace {

SlotCommit::StepHook g_stepHook = nullptr;

void step(const char* name) {
    if (g_stepHook) g_stepHook(name);
}

// A plain file name of the slot folder: the record names nothing else.
bool plainName(std::string_view name) {
    return SlotCommit::nameFault(name).empty() && name != ".";
}

std::string baseName(const std::string& path) {
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// The names of a sound record; false for anything else (a record is
// written whole or not at all, so this only guards against strangers).
bool readRecord(const std::string& path, std::vector<std::string>& names) {
    qel::File in(path, qel::File::MODE_READ);
    if (!in.isOpen()) return false;
    std::string line;
    while (in.readUntil('\n', line)) {
        if (line == "end") return true;
        if (!plainName(line)) return false;
        names.push_back(line);
    }
    return false;
}

}  // namespace

namespace {

// The code ("0x0A") of the character at `at` when it is a one-byte control
// character, else empty; `size` gets the character's size in bytes.
std::string controlAt(std::string_view name, std::size_t at, std::size_t& size) {
    size = qel::sjisCharSize(name, at);
    const auto c = static_cast<unsigned char>(name[at]);
    if (size != 1 || (c >= 0x20 && c != 0x7F)) return {};
    char code[8];
    std::snprintf(code, sizeof code, "0x%02X", c);
    return code;
}

}  // namespace

std::string SlotCommit::nameFault(std::string_view name) {
    if (name.empty()) return "empty";
    for (std::size_t at = 0, size = 0; at < name.size(); at += size) {
        if (std::string code = controlAt(name, at, size); !code.empty()) return code;
        if (size == 1 && (name[at] == '/' || name[at] == '\\')) return std::string(1, name[at]);
    }
    // '.' is never the second byte of a two-byte character.
    if (name.find("..") != std::string_view::npos) return "..";
    return {};
}

std::string SlotCommit::spelled(std::string_view name) {
    std::string shown;
    for (std::size_t at = 0, size = 0; at < name.size(); at += size) {
        const std::string code = controlAt(name, at, size);
        shown += code.empty() ? std::string(name.substr(at, size)) : "<" + code + ">";
    }
    return shown;
}

void SlotCommit::setStepHook(StepHook hook) {
    g_stepHook = hook;
}

SlotCommit::~SlotCommit() {
    if (!done_) abandon();
}

std::string SlotCommit::stagePath(const std::string& name) const {
    return folder_ + "/" + name + kStageSuffix;
}

void SlotCommit::staged(const std::string& name) {
    names_.push_back(name);
    step("stage");
}

void SlotCommit::abandon() {
    for (const std::string& name : names_) qel::File::remove(stagePath(name));
    names_.clear();
}

bool SlotCommit::commit() {
    done_ = true;
    // A name the record cannot hold would be read back as a stranger's
    // record and the new files dropped: nothing is committed instead.
    for (const std::string& name : names_) {
        if (!plainName(name)) {
            abandon();
            return false;
        }
    }
    {
        qel::File record(folder_ + "/" + kRecordName, qel::File::MODE_WRITE);
        std::string text;
        for (const std::string& name : names_) text += name + "\n";
        text += "end\n";
        const bool ok = record.isOpen() && record.write(text.data(), text.size());
        if (!ok || !record.close()) {
            abandon();
            return false;
        }
    }
    step("record");
    return recover(folder_);
}

bool SlotCommit::recover(const std::string& folder) {
    const std::string recordPath = folder + "/" + kRecordName;
    if (qel::File::exists(recordPath)) {
        std::vector<std::string> names;
        if (readRecord(recordPath, names)) {
            for (const std::string& name : names) {
                const std::string staged = folder + "/" + name + kStageSuffix;
                // A staged file already renamed is gone: that name is done.
                if (!qel::File::exists(staged)) continue;
                if (!qel::File::rename(staged, folder + "/" + name)) return false;
                step("rename");
            }
        }
        if (!qel::File::remove(recordPath)) return false;
        step("done");
    }
    // Without a record nothing staged counts: a save was cut off before it.
    std::vector<std::string> files;
    qel::File::listFiles(folder, files);
    for (const std::string& path : files) {
        const std::string name = baseName(path);
        if (name.size() > std::string_view(kStageSuffix).size() && name.ends_with(kStageSuffix))
            qel::File::remove(path);
    }
    qel::File::removeTemporaries(folder);
    return true;
}
