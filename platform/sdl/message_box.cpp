#include "platform/sdl/message_box.h"

#include <SDL.h>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/os/cp932.h"

namespace qel {
namespace {

struct Pending {
    std::string text;
    std::string caption;
    bool done = false;
};

struct State {
    std::mutex mutex;
    std::condition_variable doneChanged;
    std::deque<Pending*> queue;
    MessageBox::Sink sink;
    bool direct = true;
    std::thread::id mainThread;
    bool hasMainThread = false;
};

State& state() {
    static State s;
    return s;
}

void showNow(const std::string& text, const std::string& caption) {
    MessageBox::Sink sink;
    {
        std::lock_guard lock(state().mutex);
        sink = state().sink;
    }
    if (sink) {
        sink(text, caption);
        return;
    }
    std::string utf8Text = Cp932::toUtf8(text);
    std::string utf8Caption = Cp932::toUtf8(caption);
    // A headless run must never wait for a box nobody can see (SDL would
    // still open one on an X display it finds).
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    bool headless = driver && std::strcmp(driver, "dummy") == 0;
    if (headless || SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, utf8Caption.c_str(),
                                             utf8Text.c_str(), nullptr) != 0) {
        std::fprintf(stderr, "%s: %s\n", utf8Caption.c_str(), utf8Text.c_str());
    }
}

// Guards the live recorder's list and the pointer to it.
std::mutex recorderMutex;
std::vector<MessageBoxRecorder::Box>* recorderBoxes = nullptr;

}  // namespace

void MessageBox::setMainThread() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.mainThread = std::this_thread::get_id();
    s.hasMainThread = true;
}

void MessageBox::setSink(Sink sink, bool direct) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.sink = std::move(sink);
    s.direct = direct;
}

void MessageBox::show(const char* text, const char* caption) {
    State& s = state();
    Pending box{text ? text : "", caption ? caption : ""};
    std::unique_lock lock(s.mutex);
    if (s.sink && s.direct) {
        Sink sink = s.sink;
        lock.unlock();
        sink(box.text, box.caption);
        return;
    }
    if (!s.hasMainThread || s.mainThread == std::this_thread::get_id()) {
        lock.unlock();
        showNow(box.text, box.caption);
        return;
    }
    s.queue.push_back(&box);
    s.doneChanged.wait(lock, [&] { return box.done; });
}

void MessageBox::servePending() {
    State& s = state();
    for (;;) {
        Pending* box = nullptr;
        {
            std::lock_guard lock(s.mutex);
            if (s.queue.empty()) return;
            box = s.queue.front();
            s.queue.pop_front();
        }
        showNow(box->text, box->caption);
        std::lock_guard lock(s.mutex);
        box->done = true;
        s.doneChanged.notify_all();
    }
}

MessageBoxRecorder::MessageBoxRecorder() {
    {
        std::lock_guard lock(recorderMutex);
        recorderBoxes = &boxes_;
    }
    MessageBox::setSink([](const std::string& text, const std::string& caption) {
        std::lock_guard lock(recorderMutex);
        if (recorderBoxes) recorderBoxes->push_back({text, caption});
    });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    MessageBox::setSink({});
    std::lock_guard lock(recorderMutex);
    if (recorderBoxes == &boxes_) recorderBoxes = nullptr;
}

std::vector<MessageBoxRecorder::Box> MessageBoxRecorder::boxes() const {
    std::lock_guard lock(recorderMutex);
    return boxes_;
}

}  // namespace qel
