// Message boxes with Shift-JIS text.
//
// A box is shown by the main thread (SDL's message boxes belong to it). A
// call from another thread is handed to the main thread, which shows it the
// next time it serves pending boxes, and the caller waits until the box is
// closed, as a modal box would keep it waiting. The window system's boxes
// are the display the program's entry installs; without one the text goes
// to the standard error stream. Tests install a sink that records the boxes
// and returns at once.
#pragma once

#include <functional>
#include <string>

namespace qel {

class MessageBox {
public:
    using Sink = std::function<void(const std::string& text, const std::string& caption)>;

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
};

}  // namespace qel
