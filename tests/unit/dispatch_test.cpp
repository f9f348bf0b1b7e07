// Envelopes into request messages, the command table, and the process's
// start-up failure path.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <cstring>
#include <thread>

#include "components/connector/connector.h"
#include "threads/dequeue_thread/dequeue_thread.h"
#include "threads/dequeue_thread/msg_request_command.h"
#include "threads/enqueue_thread.h"

namespace {

// Parses `body` the way a tick does; returns the message or null.
std::unique_ptr<IMsg> envelope(const std::string& body)
{
    std::unique_ptr<Buffer> saved = std::move(DequeueThread::m_pBufferBody);
    DequeueThread::m_pBufferBody = std::make_unique<Buffer>();
    DequeueThread::m_pBufferBody->setBuffer(body.data());
    std::unique_ptr<IMsg> msg = DequeueThread::createMsgHandler();
    DequeueThread::m_pBufferBody = std::move(saved);
    return msg;
}

TEST(Dispatch, RequestEnvelopeBecomesAMessageWithItsCommand)
{
    std::unique_ptr<IMsg> msg = envelope(R"({"id": 42, "msg-type": 1, "command-name": "CMD_DESTROY", "command-data": "{}"})");
    ASSERT_TRUE(msg);
    EXPECT_EQ(msg->getId(), 42);
    EXPECT_EQ(msg->getMsgType(), 1);
    EXPECT_EQ(msg->getCommandName(), "CMD_DESTROY");
    EXPECT_EQ(msg->getCommandData(), "{}");
    auto* request = dynamic_cast<MsgRequestCommand*>(msg.get());
    ASSERT_TRUE(request);
    ICmd* cmd = request->createCmdHandler();
    ASSERT_TRUE(cmd);
}

TEST(Dispatch, ResponseTypesAndBrokenBodiesMakeNoMessage)
{
    const char* bodies[] = {
        R"({"id": 1, "msg-type": 11, "command-name": "CMD_CREATE", "command-data": "{}"})",
        R"({"id": 1, "msg-type": 12, "command-name": "CMD_CREATE", "command-data": "{}"})",
        R"({"id": 1, "msg-type": 3, "command-name": "CMD_CREATE", "command-data": "{}"})",
        R"({"id": 2147483648, "msg-type": 1, "command-name": "CMD_CREATE", "command-data": "{}"})",
        R"("just a string")",
        "",
        "{",
    };
    for (const char* body : bodies)
        EXPECT_EQ(envelope(body), nullptr) << body;
}

TEST(Dispatch, BodyIsReadUpToAnEmbeddedNul)
{
    std::string body = std::string(R"({"id": 3, "msg-type": 1, "command-name": "CMD_DESTROY"})") + '\0' + "garbage";
    std::unique_ptr<IMsg> msg = envelope(body);
    ASSERT_TRUE(msg);
    EXPECT_EQ(msg->getCommandData(), "defaultValue");
}

TEST(Dispatch, CommandTableMatchesWholeNamesOnly)
{
    MsgRequestCommand msg;
    for (const char* name : { "CMD_CREATE", "CMD_DESTROY", "CMD_RENDER", "CMD_GET_ALL_WIDGET_POSITIONS",
                              "CMD_GET_PLACEHOLDER_POSITIONS", "CMD_GET_GROUP_NAMES", "CMD_GET_STYLE_NAMES",
                              "CMD_REMOVE_STYLE_NAME", "CMD_OVERLAY_THEME" }) {
        msg.setCommandName(name);
        EXPECT_NE(msg.createCmdHandler(), nullptr) << name;
    }
    for (const char* name : { "cmd_create", "CMD_CREATE ", "CMD_", "", "defaultValue" }) {
        msg.setCommandName(name);
        EXPECT_EQ(msg.createCmdHandler(), nullptr) << name;
    }
    msg.doMsg(); // no command: nothing happens
}

TEST(Dispatch, CommandReceivesIdAndData)
{
    MsgRequestCommand msg;
    msg.setId(42);
    msg.setCommandName("CMD_RENDER");
    msg.setCommandData("{}");
    msg.deserialize();
    ICmd* cmd = msg.createCmdHandler();
    ASSERT_TRUE(cmd);
    cmd->setId(42);
    EXPECT_EQ(cmd->getId(), 42);
}

int fail_to_start(pthread_t*, void* (*)(void*), void*) { return EAGAIN; }

// Without a reader thread no request could ever arrive: the engine says so and exits non-zero.
TEST(StartUpDeathTest, ReaderThreadThatCannotStartEndsTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            EnqueueThread::s_startThread = fail_to_start;
            unsigned port = Connector::getInstance()->port();
            std::thread([port] {
                int fd = socket(AF_INET, SOCK_STREAM, 0);
                sockaddr_in addr {};
                addr.sin_family = AF_INET;
                addr.sin_port = htons(uint16_t(port));
                addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
                connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
            }).detach();
            EnqueueThread::getInstance();
            _exit(0);
        },
        ::testing::ExitedWithCode(EnqueueThread::THREAD_NOT_STARTED & 0xff), "cannot start the reader thread");
}

} // namespace
