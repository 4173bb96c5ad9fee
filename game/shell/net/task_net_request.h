// The game scene's request task: a start request when it begins, then a
// poll every NETWORK_REQUEST_SPAN minutes by the requests' clock.
#pragma once

#include <cstdint>

#include "engine/task/task_base.h"

class TaskNetRequest : public qel::TaskBase {
public:
    QEL_CLASS(TaskNetRequest, qel::TaskBase, qel::Pool::Tasks);

    // Sets up the link to the message server once (the server and ports
    // of the settings, the reply handlers), clears the received texts and
    // starts the task under the scene; null when the network is off.
    static TaskNetRequest* start(qel::TaskBase* scene);

    bool init() override;
    void update() override;

private:
    std::int64_t lastPoll_ = 0;
};
