// Request bodies: the envelope read by the tick, then the command data read
// by the command it names. Input starting with '{' is a whole body; any other
// input is command data for the command its first byte picks.
#include "fuzz_support.h"
#include "threads/dequeue_thread/cmd.h"
#include "threads/dequeue_thread/dequeue_thread.h"
#include "threads/dequeue_thread/msg_request_command.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_init_once();
    if (size == 0)
        return 0;
    std::string text = fuzz_text(data, size);
    if (text[0] == '{') {
        DequeueThread::m_pBufferBody = std::make_unique<Buffer>();
        DequeueThread::m_pBufferBody->setBuffer(text.c_str());
        DequeueThread::createMsgHandler();
        DequeueThread::m_pBufferBody.reset();
        return 0;
    }
    MsgRequestCommand msg;
    msg.setId(int(data[0]));
    msg.setMsgType(1);
    msg.setCommandName(g_cmd_table[data[0] % g_cmd_table_size].name);
    msg.setCommandData(text.substr(1));
    msg.deserialize();
    return 0;
}
