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
    bool ask = false;  // Retry or Cancel; the answer goes into `choice`
    MessageBox::Choice choice = MessageBox::Choice::Cancel;
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

// On the main thread (or where there is none): the ask display, or a plain
// box and Cancel.
MessageBox::Choice askNow(const std::string& text, const std::string& caption) {
    MessageBox::AskSink ask;
    {
        std::lock_guard lock(state().mutex);
        ask = state().askDisplay;
    }
    if (ask) return ask(text, caption);
    showNow(text, caption);
    return MessageBox::Choice::Cancel;
}

// Hands the box to the main thread and waits until it was shown there;
// false (nothing queued) on the main thread itself or before there is one.
bool handToMainThread(Pending& box) {
    State& s = state();
    std::unique_lock lock(s.mutex);
    if (!s.hasMainThread || s.mainThread == std::this_thread::get_id()) return false;
    s.queue.push_back(&box);
    s.doneChanged.wait(lock, [&] { return box.done; });
    return true;
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
    Sink direct;
    {
        std::lock_guard lock(s.mutex);
        if (s.sink && s.direct) direct = s.sink;
    }
    if (direct) {
        direct(box.text, box.caption);
        return;
    }
    if (!handToMainThread(box)) showNow(box.text, box.caption);
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
        if (box->ask) {
            box->choice = askNow(box->text, box->caption);
        } else {
            showNow(box->text, box->caption);
        }
        std::lock_guard lock(s.mutex);
        box->done = true;
        s.doneChanged.notify_all();
    }
}

MessageBox::Choice MessageBox::askRetry(const char* text, const char* caption) {
    Pending box{text ? text : "", caption ? caption : "", true};
    AskSink stand;
    {
        State& s = state();
        std::lock_guard lock(s.mutex);
        stand = s.askSink;
    }
    if (stand) return stand(box.text, box.caption);
    if (handToMainThread(box)) return box.choice;
    return askNow(box.text, box.caption);
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
