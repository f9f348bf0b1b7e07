#pragma once
#include <string>

#include "components/messages/msg.h"

class Event {
public:
    Event(std::string name = {}, std::string data = {}) : m_name(std::move(name)), m_data(std::move(data)) {}
    void setEventName(std::string name) { m_name = std::move(name); }
    void setEventData(std::string data) { m_data = std::move(data); }
    std::string getEventName() const { return m_name; }
    std::string getEventData() const { return m_data; }

private:
    std::string m_name;
    std::string m_data;
};

// An event message: styled JSON with "event-data", "event-name", "id", "msg-type".
class MsgResponseEvent : public virtual Msg {
public:
    void setEvent(Event* event) { m_pEvent = event; }
    Event* getEvent() const { return m_pEvent; }
    std::unique_ptr<IBuffer> serialize() const override;
    void deserialize() override {}
    void doMsg() override {}

private:
    Event* m_pEvent = nullptr;
};
