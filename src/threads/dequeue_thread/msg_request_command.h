#pragma once
#include <memory>
#include <string>

#include "components/messages/msg.h"
#include "threads/dequeue_thread/cmd.h"

// A request from the IDE: selects its command by name and runs it.
class MsgRequestCommand : public virtual Msg {
public:
    void setCommandName(std::string name) override { m_commandName = std::move(name); }
    std::string getCommandName() const override { return m_commandName; }
    void setCommandData(std::string data) override { m_commandData = std::move(data); }
    std::string getCommandData() const override { return m_commandData; }
    void deserialize() override;
    void doMsg() override;
    virtual void deserialize(const IBuffer*) {}
    // Replaces the held command by a new one for the command name; the
    // message keeps it (null when the name matches no command).
    ICmd* createCmdHandler();

private:
    std::string m_commandName;
    std::string m_commandData;
    std::unique_ptr<ICmd> m_pCmd;
};
