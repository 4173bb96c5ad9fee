#include "game/shell/net/network_text_buffer.h"

#include "engine/file/string_util.h"
#include "game/shell/settings.h"
#include "game/shell/ui/task_message_log.h"

NetworkTextBuffer& NetworkTextBuffer::instance() {
    static NetworkTextBuffer buffer;
    return buffer;
}

void NetworkTextBuffer::add(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    texts_.emplace_back(text.substr(0, qel::sjisPrefixLength(text, kTextBytes)));
    while (texts_.size() > kMaxTexts) texts_.pop_front();
}

void NetworkTextBuffer::flush() {
    if (texts_.empty()) return;
    TaskMessageLog* log = TaskMessageLog::current();
    if (log) log->setColor(COLOR_NETWORK);
    while (!texts_.empty()) {
        if (log) {
            log->message(texts_.front().c_str());
            log->message("\n");
        }
        texts_.pop_front();
    }
    if (log) log->setColor(COLOR_DEFAULT);
}
