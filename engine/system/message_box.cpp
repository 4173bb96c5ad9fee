#include "engine/system/message_box.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "engine/core/log.h"

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
    MessageBox::Sink display;
    MessageBox::AskSink askSink;
    MessageBox::AskSink askDisplay;
    bool direct = true;
    std::thread::id mainThread;
    bool hasMainThread = false;
};

State& state() {
    static State s;
    return s;
}

void showNow(const std::string& text, const std::string& caption) {
    MessageBox::Sink show;
    {
        std::lock_guard lock(state().mutex);
        show = state().sink ? state().sink : state().display;
    }
    if (show) {
        show(text, caption);
        return;
    }
    logMessage("%s: %s", caption.c_str(), text.c_str());
}

}  // namespace

void MessageBox::setMainThread() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.mainThread = std::this_thread::get_id();
    s.hasMainThread = true;
}

void MessageBox::setDisplay(Sink display) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.display = std::move(display);
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

MessageBox::Choice MessageBox::askRetry(const char* text, const char* caption) {
    AskSink ask;
    {
        State& s = state();
        std::lock_guard lock(s.mutex);
        ask = s.askSink ? s.askSink : s.askDisplay;
    }
    if (!ask) {
        show(text, caption);
        return Choice::Cancel;
    }
    return ask(text ? text : "", caption ? caption : "");
}

void MessageBox::setAskDisplay(AskSink display) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.askDisplay = std::move(display);
}

void MessageBox::setAskSink(AskSink sink) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.askSink = std::move(sink);
}

}  // namespace qel
