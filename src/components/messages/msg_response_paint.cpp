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

std::unique_ptr<IBuffer> MsgResponsePaint::serialize() const
{
    LOG_TRACE("Receive Id : %d", getId());
    int n = m_pBuffer ? m_iBufferSize : 0;
    const int fields[5] = { getId(), getMsgType(), m_iWidth, m_iHeight, m_iDepth };
    if (n > 0 && m_pRoom) {
        memcpy(m_pRoom, fields, sizeof fields);
        auto view = std::make_unique<Buffer>();
        view->setBuffer(m_pRoom);
        view->setSize(n + PREAMBLE);
        LOG_TRACE("Send size (Native->Java IDE) : %d", n + PREAMBLE);
        return view;
    }
    auto body = std::make_unique<AllocBuffer>();
    auto* out = static_cast<char*>(body->allocNewBuffer(n + PREAMBLE));
    if (!out) {
        // No room for the pixels: the protocol's empty paint instead of a torn one.
        diag("window %d: cannot allocate %d bytes for a paint; empty paint sent", getId(), n + PREAMBLE);
        out = static_cast<char*>(body->allocNewBuffer(PREAMBLE));
        if (!out)
            return nullptr;
        const int empty[5] = { getId(), getMsgType(), 0, 0, 0 };
        memcpy(out, empty, sizeof empty);
        LOG_TRACE("Send size (Native->Java IDE) : %d", PREAMBLE);
        return body;
    }
    memcpy(out, fields, sizeof fields);
    if (n > 0)
        memcpy(out + PREAMBLE, m_pBuffer, size_t(n));
    LOG_TRACE("Send size (Native->Java IDE) : %d", n + PREAMBLE);
    return body;
}
