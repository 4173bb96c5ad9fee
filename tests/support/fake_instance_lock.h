// An instance lock for tests: locks of one name and folder exclude each
// other within the test process, as copies of the program would, without
// touching the file system. acquires() counts the attempts.
#pragma once

#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "engine/system/instance_lock.h"

namespace qel::test {

class FakeInstanceLock final : public InstanceLock {
public:
    FakeInstanceLock() = default;
    ~FakeInstanceLock() override { release(); }
    FakeInstanceLock(const FakeInstanceLock&) = delete;
    FakeInstanceLock& operator=(const FakeInstanceLock&) = delete;

    bool acquire(const std::string& name, const std::string& directory) override {
        release();
        ++acquires_;
        place_ = directory;
        std::lock_guard lock(mutex());
        heldElsewhere_ = !held().insert({directory, name}).second;
        if (!heldElsewhere_) key_ = {directory, name};
        return !heldElsewhere_;
    }
    void release() override {
        if (!isHeld()) return;
        std::lock_guard lock(mutex());
        held().erase(*key_);
        key_.reset();
    }
    std::string place() const override { return place_; }
    bool isHeld() const override { return key_.has_value(); }
    bool isHeldElsewhere() const override { return heldElsewhere_; }
    int acquires() const { return acquires_; }

private:
    using Key = std::pair<std::string, std::string>;
    static std::mutex& mutex() {
        static std::mutex m;
        return m;
    }
    static std::set<Key>& held() {
        static std::set<Key> keys;
        return keys;
    }

    std::optional<Key> key_;
    bool heldElsewhere_ = false;
    int acquires_ = 0;
    std::string place_;
};

}  // namespace qel::test
