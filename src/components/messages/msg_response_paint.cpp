#include "components/messages/msg_response_paint.h"

#include <cstring>

#include "components/connector/alloc_buffer.h"
#include "utils/log_util.h"

MsgResponsePaint::MsgResponsePaint()
{
    LOG_TRACE("%s", "");
}

MsgResponsePaint::~MsgResponsePaint()
{
    LOG_TRACE("%s", "");
}

IBuffer* MsgResponsePaint::serialize() const
{
    LOG_TRACE("Receive Id : %d", getId());
    int n = m_pBuffer ? m_iBufferSize : 0;
    auto* body = new AllocBuffer;
    auto* out = static_cast<char*>(body->allocNewBuffer(n + PREAMBLE));
    if (!out)
        return body;
    const int fields[5] = { getId(), getMsgType(), m_iWidth, m_iHeight, m_iDepth };
    memcpy(out, fields, sizeof fields);
    if (n > 0)
        memcpy(out + PREAMBLE, m_pBuffer, size_t(n));
    LOG_TRACE("Send size (Native->Java IDE) : %d", n + PREAMBLE);
    return body;
}
