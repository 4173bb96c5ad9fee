// The rhythm of the sound players' refill threads: a round every 100 ms,
// or, in manual mode, a round exactly when step() is called, which returns
// once every refill thread has finished that round. So tests step the
// threads with the audio device's manual clock, never on wall time.
//
// What it keeps true: a thread waiting here leaves at once when told to
// quit (interrupt), in either mode; step() counts only threads that have
// joined and not left, so a thread that ends never holds it.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace qel {

class RefillPacer {
public:
    static constexpr std::chrono::milliseconds kPeriod{100};

    // A thread's place in the rounds; join before the first wait, leave
    // after the last.
    struct Seat {
        std::uint64_t round = 0;
    };

    void setManual(bool manual);
    bool isManual() const;

    void join(Seat& seat);
    void leave(Seat& seat);
    // Waits for the next round; false when `quit` is set (checked after
    // every interrupt).
    bool wait(Seat& seat, const std::atomic<bool>& quit);
    // Wakes every waiting thread to look at its quit flag.
    void interrupt();
    // Manual mode: runs one round of every joined thread and returns when
    // they are all waiting again.
    void step();

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool manual_ = false;
    std::uint64_t round_ = 0;
    int joined_ = 0;
    int doneWithRound_ = 0;  // threads waiting that have run round_
};

}  // namespace qel
