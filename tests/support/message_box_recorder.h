// Records every message box shown while it lives, from any thread, and
// lets the caller go on at once instead of waiting for a box nobody sees.
// Boxes that ask are recorded too and answered from the list given to
// answer(), in order; Cancel once the list is used up.
#pragma once

#include <deque>
#include <initializer_list>
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
        MessageBox::setAskSink(
            [state = state_](const std::string& text, const std::string& caption) {
                std::lock_guard lock(state->mutex);
                state->boxes.push_back({text, caption});
                if (state->answers.empty()) return MessageBox::Choice::Cancel;
                const MessageBox::Choice choice = state->answers.front();
                state->answers.pop_front();
                return choice;
            });
    }
    ~MessageBoxRecorder() {
        MessageBox::setSink({});
        MessageBox::setAskSink({});
    }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    void answer(std::initializer_list<MessageBox::Choice> choices) {
        std::lock_guard lock(state_->mutex);
        state_->answers.insert(state_->answers.end(), choices);
    }

    std::vector<Box> boxes() const {
        std::lock_guard lock(state_->mutex);
        return state_->boxes;
    }

private:
    struct State {
        std::mutex mutex;
        std::vector<Box> boxes;
        std::deque<MessageBox::Choice> answers;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace qel::test
