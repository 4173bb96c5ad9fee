#include "game/shell/net/task_net_request.h"

#include "engine/net/sys_socket_client.h"
#include "engine/task/sys_task.h"
#include "game/shell/net/network_text_buffer.h"
#include "game/shell/net/task_socket_mng.h"
#include "game/shell/settings.h"

TaskNetRequest* TaskNetRequest::start(qel::TaskBase* scene) {
    if (!NETWORK_ENABLE) return nullptr;
    qel::SysSocketClient& client = qel::SysSocketClient::instance();
    if (client.systemIndex() < 0) {
        client.setServer(NETWORK_SERVER.c_str(), NETWORK_PORT_SEND, NETWORK_PORT_RECV);
        TaskSocketMng::registerHandlers(client);
    }
    NetworkTextBuffer::instance().clear();
    auto* task = new TaskNetRequest();
    if (!qel::SysTask::instance().add(task, scene)) {
        delete task;
        return nullptr;
    }
    return task;
}

bool TaskNetRequest::init() {
    TaskSocketMng::instance()->sendStartRequest();
    lastPoll_ = TaskSocketMng::nowSeconds();
    return true;
}

void TaskNetRequest::update() {
    const std::int64_t now = TaskSocketMng::nowSeconds();
    if (now - lastPoll_ < static_cast<std::int64_t>(NETWORK_REQUEST_SPAN) * 60) return;
    TaskSocketMng::instance()->sendPollRequest();
    lastPoll_ = now;
}
