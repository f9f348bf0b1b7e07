// A byte stream from the IDE cut into frames the way the reader does:
// 20-byte header, validation, size bound, body, checksum, queued body.
#include <cstdlib>
#include <cstring>

#include "components/connector/header.h"
#include "components/manager/q_manager.h"
#include "components/msg_reader/msg_reader.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_init_once();
    QManager* queue = QManager::getInstance();
    Header header;
    Buffer wire;
    wire.setSize(Header::SIZE);
    size_t at = 0;
    while (size - at >= size_t(Header::SIZE)) {
        wire.setBuffer(data + at);
        header.unpack(&wire);
        at += Header::SIZE;
        int n = header.getBodySize();
        // Each of these ends the engine: nothing after them is read.
        if (!header.checkHeaderValidation() || n < 0 || n > MsgReader::MAX_BODY_SIZE || size_t(n) > size - at)
            break;
        auto* body = static_cast<char*>(calloc(size_t(n) + 1, 1));
        memcpy(body, data + at, size_t(n));
        at += size_t(n);
        if (!header.checkChecksumData(body)) {
            free(body);
            break;
        }
        FUZZ_REQUIRE(header_checksum(body, n) == header.getChecksum());
        queue->enqueue(body);
    }
    uqitem_st item;
    while (queue->dequeue(item)) {
        FUZZ_REQUIRE(strlen(static_cast<char*>(item.data)) <= size);
        queue->eraseBeginItem();
    }
    return 0;
}
