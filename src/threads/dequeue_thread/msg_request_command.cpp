#include "threads/dequeue_thread/msg_request_command.h"

#include "utils/log_util.h"

ICmd* MsgRequestCommand::createCmdHandler()
{
    m_pCmd.reset();
    for (int i = 0; i < g_cmd_table_size; ++i) {
        if (m_commandName == g_cmd_table[i].name) {
            m_pCmd = g_cmd_table[i].create();
            break;
        }
    }
    return m_pCmd.get();
}

void MsgRequestCommand::deserialize()
{
    if (!createCmdHandler()) {
        diag("unknown command name \"%s\"; nothing executed", m_commandName.c_str());
        return;
    }
    m_pCmd->setId(getId());
    m_pCmd->deserialize(std::string(m_commandData));
}

void MsgRequestCommand::doMsg()
{
    if (m_pCmd)
        m_pCmd->doCmd();
}
