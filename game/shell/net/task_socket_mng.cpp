#include "game/shell/net/task_socket_mng.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/clock.h"
#include "engine/core/register.h"
#include "engine/file/string_util.h"
#include "engine/net/recv_packet.h"
#include "engine/net/send_packet.h"
#include "engine/net/sys_socket_client.h"
#include "game/shell/net/network_text_buffer.h"
#include "game/shell/settings.h"
#include "game/shell/ui/program_task.h"

namespace {

qel::Clock* g_clock = nullptr;

std::string_view wholeCharacters(std::string_view text, std::size_t limit) {
    text = text.substr(0, text.find('\0'));
    return text.substr(0, qel::sjisPrefixLength(text, limit));
}

}  // namespace

TaskSocketMng* TaskSocketMng::current() {
    return qel::Register<TaskSocketMng>::instance().getSingle();
}

TaskSocketMng* TaskSocketMng::instance() {
    if (TaskSocketMng* task = current()) return task;
    return program_task::adopt(new TaskSocketMng(), 0);
}

void TaskSocketMng::setClock(qel::Clock* clock) {
    g_clock = clock;
}

std::int64_t TaskSocketMng::nowSeconds() {
    qel::Clock& clock = g_clock ? *g_clock : qel::Clock::system();
    return clock.nowNanoseconds() / 1000000000;
}

qel::SysSocketClient* TaskSocketMng::client() {
    qel::SysSocketClient& client = qel::SysSocketClient::instance();
    return client.systemIndex() < 0 ? nullptr : &client;
}

void TaskSocketMng::registerHandlers(qel::SysSocketClient& client) {
    client.addHandler(kStart, [](qel::RecvPacket& packet) {
        if (TaskSocketMng* task = instance()) task->onReplyLastId(packet);
    });
    client.addHandler(kPoll, [](qel::RecvPacket& packet) {
        if (TaskSocketMng* task = instance()) task->onReplyMessages(packet);
    });
}

TaskSocketMng::~TaskSocketMng() {
    for (qel::SendPacket* packet : queue_) delete packet;
}

void TaskSocketMng::queue(qel::SendPacket* packet) {
    queue_.push_back(packet);
    ++pending_;
}

void TaskSocketMng::sendStartRequest() {
    if (qel::SysSocketClient* socket = client()) queue(socket->createPacket(kStart, 0));
}

void TaskSocketMng::sendPostRequest(std::string_view message, std::int32_t number) {
    qel::SysSocketClient* socket = client();
    if (!socket) return;
    const std::string_view locale = wholeCharacters(LOCALE, kPostTextBytes);
    const std::string_view text = wholeCharacters(message, kPostTextBytes - locale.size());
    qel::SendPacket* packet = socket->createPacket(kPost, kPostCapacity);
    packet->writeText(text);
    packet->writeI32(number);
    packet->writeText(locale);
    queue(packet);
}

void TaskSocketMng::sendPollRequest() {
    qel::SysSocketClient* socket = client();
    if (!socket) return;
    qel::SendPacket* packet = socket->createPacket(kPoll, 8);
    packet->writeI64(lastId_);
    queue(packet);
}

void TaskSocketMng::lateUpdate() {
    qel::SysSocketClient* socket = client();
    if (!socket) return;
    if (!queue_.empty()) {
        const int state = socket->state();
        if (state == qel::SysSocketClient::kConnected) {
            qel::SendPacket* packet = queue_.front();
            queue_.pop_front();
            packet->setConnectionId(socket->connectionId());
            if (!socket->send(packet)) {
                delete packet;  // the link went down under it
                --pending_;
            }
        } else if (!opened_) {
            // The setting as it stands now: a script may have changed it.
            socket->setLinkWait(
                static_cast<int>(std::min<std::uint32_t>(NETWORK_LINK_WAIT, 86400) * 1000));
            socket->connect();
            opened_ = true;
        } else if (state == qel::SysSocketClient::kFailed) {
            delete queue_.front();
            queue_.pop_front();
            --pending_;
            return;
        } else {
            return;
        }
        lastActivity_ = nowSeconds();
        return;
    }
    if (opened_ && nowSeconds() - lastActivity_ >= kIdleSeconds) disconnect();
}

void TaskSocketMng::disconnect() {
    pending_ = 0;
    opened_ = false;
    qel::SysSocketClient* socket = client();
    if (!socket) return;
    // A failed link is closed too, so the next request connects afresh.
    if (socket->state() == qel::SysSocketClient::kConnected) {
        socket->disconnect();
    } else if (socket->state() == qel::SysSocketClient::kFailed) {
        socket->close();
    }
}

void TaskSocketMng::stop() {
    if (qel::SysSocketClient* socket = client()) socket->disconnect();
    while (!queue_.empty()) {
        delete queue_.front();
        queue_.pop_front();
        --pending_;
    }
}

void TaskSocketMng::takeReply(std::int64_t id) {
    if (!opened_) return;
    --pending_;
    if (id > 0) lastId_ = id;
    if (pending_ < 1) disconnect();
}

void TaskSocketMng::onReplyLastId(qel::RecvPacket& packet) {
    const std::int64_t id = packet.readI64();
    if (packet.overrun()) return;
    takeReply(id);
}

void TaskSocketMng::onReplyMessages(qel::RecvPacket& packet) {
    const std::int64_t id = packet.readI64();
    const std::uint32_t count = packet.readU32();
    std::vector<std::string> texts;
    // Each message takes at least 8 bytes, so a count the payload cannot
    // hold ends at the first missing one.
    for (std::uint32_t i = 0; i < count && !packet.overrun(); ++i) {
        std::string text = packet.readText();
        packet.skip(4);
        packet.readText();
        texts.push_back(std::move(text));
    }
    if (packet.overrun()) return;
    takeReply(id);
    for (const std::string& text : texts) NetworkTextBuffer::instance().add(text);
}
