// Collects the sound effects asked for during a frame and plays each once,
// after every task's first update: a sound asked for by several screens in
// one frame (a menu and a list both confirming) sounds only once.
//
// What it keeps true: no name is pending twice; the pending list is emptied
// by each second update, so a request made after it (by a draw handler, say)
// plays in the next frame.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/task/task_base.h"

class TaskSEManager : public qel::TaskBase {
public:
    QEL_CLASS(TaskSEManager, qel::TaskBase, qel::Pool::Tasks);

    // The single instance, or null.
    static TaskSEManager* instance();
    // Makes the single instance and adds it under the task root; null when
    // there already is one or it cannot be made.
    static TaskSEManager* start();

    // False, changing nothing, when the name is already pending.
    bool request(std::string_view name);
    const std::vector<std::string>& pending() const { return pending_; }
    // Hands the pending names over without playing them.
    std::vector<std::string> takePending() { return std::exchange(pending_, {}); }

    bool init() override { return true; }
    // Plays every pending name through the sound subsystem, in request order.
    void postUpdate() override;

private:
    std::vector<std::string> pending_;
};
