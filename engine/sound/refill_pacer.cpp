#include "engine/sound/refill_pacer.h"

namespace qel {

void RefillPacer::setManual(bool manual) {
    std::lock_guard guard(mutex_);
    manual_ = manual;
    changed_.notify_all();
}

bool RefillPacer::isManual() const {
    std::lock_guard guard(mutex_);
    return manual_;
}

void RefillPacer::join(Seat& seat) {
    std::lock_guard guard(mutex_);
    ++joined_;
    // A new thread runs its first round at once, counted as this round's.
    seat.round = round_;
}

void RefillPacer::leave(Seat& seat) {
    std::lock_guard guard(mutex_);
    (void)seat;
    --joined_;
    changed_.notify_all();
}

bool RefillPacer::wait(Seat& seat, const std::atomic<bool>& quit) {
    std::unique_lock guard(mutex_);
    const auto due = std::chrono::steady_clock::now() + kPeriod;
    // Counted as done only for the round it ran; a step since then zeroed
    // the count, and the thread runs the new round first.
    const bool counted = seat.round == round_;
    if (counted) {
        ++doneWithRound_;
        changed_.notify_all();
    }
    for (;;) {
        if (quit) break;
        if (manual_) {
            if (seat.round != round_) break;
            changed_.wait(guard);
        } else if (changed_.wait_until(guard, due) == std::cv_status::timeout) {
            break;
        }
    }
    if (counted && seat.round == round_) --doneWithRound_;
    seat.round = round_;
    return !quit;
}

void RefillPacer::interrupt() {
    std::lock_guard guard(mutex_);
    changed_.notify_all();
}

void RefillPacer::step() {
    std::unique_lock guard(mutex_);
    ++round_;
    doneWithRound_ = 0;
    changed_.notify_all();
    changed_.wait(guard, [&] { return doneWithRound_ >= joined_; });
}

}  // namespace qel
