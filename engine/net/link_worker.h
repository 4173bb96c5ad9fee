// What the sender and the receiver share: one connection's socket, the
// thread that serves it and the waker that interrupts the thread's waits.
//
// What it keeps true: the thread is joined before the socket closes, so the
// thread never works on a closed or reused handle; quit reaches a thread
// that waits on the waker at once.
#pragma once

#include <atomic>

#include "engine/net/socket.h"

namespace qel {

class Thread;

class LinkWorker {
public:
    LinkWorker(SocketApi& api, SocketApi::Handle handle);
    // stop()
    ~LinkWorker();
    LinkWorker(const LinkWorker&) = delete;
    LinkWorker& operator=(const LinkWorker&) = delete;

    // Runs `procedure(owner)` on a new thread; false when the socket or the
    // waker is missing or the thread cannot start.
    bool start(void (*procedure)(void*), void* owner);
    // Tells the thread to end and wakes it.
    void quit();
    // quit, then joins the thread and closes the socket.
    void stop();
    void wake() { socket_.api().wake(waker_); }
    // For the thread: the link ended, by the peer or an error.
    void unlink() { linked_ = false; }

    bool quitting() const { return quit_; }
    // Started and not ended.
    bool isLinked() const { return linked_; }
    Socket& socket() { return socket_; }
    SocketApi& api() const { return socket_.api(); }
    SocketApi::Handle waker() const { return waker_; }

private:
    Socket socket_;
    Thread* thread_ = nullptr;
    SocketApi::Handle waker_;
    std::atomic<bool> quit_{false};
    std::atomic<bool> linked_{false};
};

}  // namespace qel
