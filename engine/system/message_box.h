// Message boxes with Shift-JIS text.
//
// A box is shown by the main thread (SDL's message boxes belong to it). A
// call from another thread is handed to the main thread, which shows it the
// next time it serves pending boxes, and the caller waits until the box is
// closed, as a modal box would keep it waiting. The window system's boxes
// are the display the program's entry installs; without one the text goes
// to the standard error stream. Tests install a sink that records the boxes
// and returns at once.
//
// A box that asks (Retry or Cancel) is shown by the main thread likewise,
// the caller waiting for the choice. Without a display or a sink that can
// ask, the text is shown as a plain box and the answer is Cancel, so a
// caller's retry loop always ends.
#pragma once

#include <functional>
#include <string>

namespace qel {

class MessageBox {
public:
    using Sink = std::function<void(const std::string& text, const std::string& caption)>;
    enum class Choice { Retry, Cancel };
    using AskSink = std::function<Choice(const std::string& text, const std::string& caption)>;

    // Blocks until the box is closed (or the sink returns).
    static void show(const char* text, const char* caption);
    // Main thread, from its loop: shows the boxes other threads asked for.
    static void servePending();
    // Names the calling thread the main thread (the one that shows boxes).
    static void setMainThread();
    // How boxes are shown on the main thread when no sink stands in; an
    // empty display writes them to the standard error stream.
    static void setDisplay(Sink display);
    // Replaces the real boxes; an empty sink brings them back. A direct
    // sink is called at once on the caller's thread; otherwise it stands
    // only for the showing, which still happens on the main thread.
    static void setSink(Sink sink, bool direct = true);

    // A box with the buttons Retry and Cancel; returns the one pressed.
    static Choice askRetry(const char* text, const char* caption);
    // How asking boxes are shown (the window system's), and the tests'
    // stand-in, which wins over the display.
    static void setAskDisplay(AskSink display);
    static void setAskSink(AskSink sink);
};

}  // namespace qel
