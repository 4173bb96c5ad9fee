// Records every message box shown while it lives, from any thread, and
// lets the caller go on at once instead of waiting for a box nobody sees.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/system/message_box.h"

namespace qel::test {

class MessageBoxRecorder {
public:
    struct Box {
        std::string text;
        std::string caption;
    };

    MessageBoxRecorder() {
        // The sink keeps the list alive: a box may still be arriving on
        // another thread while the recorder goes.
        MessageBox::setSink([state = state_](const std::string& text, const std::string& caption) {
            std::lock_guard lock(state->mutex);
            state->boxes.push_back({text, caption});
        });
    }
    ~MessageBoxRecorder() { MessageBox::setSink({}); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    std::vector<Box> boxes() const {
        std::lock_guard lock(state_->mutex);
        return state_->boxes;
    }

private:
    struct State {
        std::mutex mutex;
        std::vector<Box> boxes;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace qel::test
