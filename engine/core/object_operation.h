// The span in which the program works on its objects, and the deletions
// that wait for its end.
//
// An operation runs from the moment the program enters one (a pass of the
// task tree, a bound function a script calls, a call into the scripts, a
// character's chain question) until the outermost one on the same thread
// returns. A deletion asked for meanwhile (a script's, or the program's
// own) is handed to deleteWhenIdle: the object leaves everything that can
// reach it at once, and its memory goes when the outermost operation ends,
// so no frame of the program that still holds it (a caller that handed it
// to a script and goes on with it) ever meets freed memory. Outside every
// operation a deletion happens at once.
//
// What it keeps true: the waiting deletions run in the order they were
// asked for, each exactly once, as the outermost operation ends (those
// asked for while they run join the end of the line); a deletion asked for
// while they run waits too. An operation left by an exception (a Lua error
// unwinding through it) runs none: they wait for the next outermost
// operation to end, so no deletion runs scripts while an error unwinds.
#pragma once

namespace qel {

class ObjectOperation {
public:
    ObjectOperation();
    // The outermost one runs the deletions that waited.
    ~ObjectOperation();
    ObjectOperation(const ObjectOperation&) = delete;
    ObjectOperation& operator=(const ObjectOperation&) = delete;

    // Whether an operation runs on this thread.
    static bool active();

    using Finish = void (*)(void* object);
    // finish(object) now when no operation runs, else when the outermost
    // ends. Returns false when it ran now.
    static bool deleteWhenIdle(void* object, Finish finish);

private:
    int exceptions_;
};

}  // namespace qel
