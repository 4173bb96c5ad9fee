// The message server's replies over any bytes: the first byte picks the
// reply (start or messages), the rest is its payload. Whatever arrives,
// nothing is read past the packet, kept texts stay within their size and
// number, and a reply that runs past its payload changes nothing.
#include <string>
#include <vector>

#include "engine/net/recv_packet.h"
#include "game/shell/net/network_text_buffer.h"
#include "game/shell/net/task_socket_mng.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel::fuzz;
    InputReader input(data, size);
    const bool messages = input.byte() % 2 != 0;
    const std::string_view payload = input.bytes(0xFFFF);
    std::vector<unsigned char> bytes(12, 0);
    bytes[8] = messages ? 3 : 1;
    bytes[10] = static_cast<unsigned char>(payload.size());
    bytes[11] = static_cast<unsigned char>(payload.size() >> 8);
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    NetworkTextBuffer& buffer = NetworkTextBuffer::instance();
    buffer.clear();
    {
        TaskSocketMng task;
        qel::RecvPacket packet(bytes);
        packet.setReadPosition(12);
        if (messages) {
            task.onReplyMessages(packet);
        } else {
            task.onReplyLastId(packet);
        }
        require(packet.readPosition() <= bytes.size(), "nothing is read past the packet");
        require(task.pending() == 0 && task.lastId() == 0, "a reply to no request changes nothing");
        if (packet.overrun()) require(buffer.texts().empty(), "a lying reply adds no text");
    }
    require(buffer.texts().size() <= NetworkTextBuffer::kMaxTexts, "the buffer keeps its size");
    for (const std::string& text : buffer.texts())
        require(text.size() <= NetworkTextBuffer::kTextBytes, "texts keep their size");
    buffer.clear();
    return 0;
}
