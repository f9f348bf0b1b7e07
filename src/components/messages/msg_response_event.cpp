#include "components/messages/msg_response_event.h"

#include <cstring>

#include "components/connector/alloc_buffer.h"
#include "utils/json_util.h"
#include "utils/log_util.h"

std::unique_ptr<IBuffer> MsgResponseEvent::serialize() const
{
    LOG_TRACE("%s", "");
    Json::Value root;
    root["id"] = getId();
    root["msg-type"] = getMsgType();
    std::string name = m_pEvent ? m_pEvent->getEventName() : std::string();
    std::string data = m_pEvent ? m_pEvent->getEventData() : std::string();
    LOG_TRACE("(%s=%s)", "event-name", name.c_str());
    LOG_TRACE("(%s=%s)", "event-data", data.c_str());
    root["event-name"] = name.c_str();
    root["event-data"] = data.c_str();
    std::string text = json_util_styled(root);
    auto body = std::make_unique<AllocBuffer>();
    void* block = body->allocNewBuffer(int(text.size()));
    if (block)
        memcpy(block, text.data(), text.size());
    return body;
}
