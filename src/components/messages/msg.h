#pragma once
#include <memory>
#include <string>

#include "components/connector/buffer.h"

// Messages are held and deleted through this interface.
class IMsg {
public:
    virtual ~IMsg() = default;
    virtual void setId(int id) = 0;
    virtual int getId() const = 0;
    virtual void setMsgType(int type) = 0;
    virtual int getMsgType() const = 0;
    virtual void setCommandName(std::string name) = 0;
    virtual std::string getCommandName() const = 0;
    virtual void setCommandData(std::string data) = 0;
    virtual std::string getCommandData() const = 0;
    virtual void setEventName(std::string name) = 0;
    virtual std::string getEventName() const = 0;
    virtual void setEventData(std::string data) = 0;
    virtual std::string getEventData() const = 0;
    // The body bytes to send; the caller owns them.
    virtual std::unique_ptr<IBuffer> serialize() const = 0;
    virtual void deserialize() = 0;
    virtual void doMsg() = 0;
};

enum MsgType { MSG_TYPE_REQUEST = 1, MSG_TYPE_PAINT = 11, MSG_TYPE_EVENT = 12 };

class Msg : public virtual IMsg {
public:
    void setId(int id) override { m_iId = id; }
    int getId() const override { return m_iId; }
    void setMsgType(int type) override { m_iMsgType = type; }
    int getMsgType() const override { return m_iMsgType; }
    void setCommandName(std::string) override {}
    std::string getCommandName() const override { return {}; }
    void setCommandData(std::string) override {}
    std::string getCommandData() const override { return {}; }
    void setEventName(std::string) override {}
    std::string getEventName() const override { return {}; }
    void setEventData(std::string) override {}
    std::string getEventData() const override { return {}; }
    std::unique_ptr<IBuffer> serialize() const override { return nullptr; }
    void deserialize() override {}

private:
    int m_iId = 0;
    int m_iMsgType = 0;
};
