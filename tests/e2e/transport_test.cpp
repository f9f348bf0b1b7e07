// The process, the handshake and the framing, against the real engine binary.
#include <regex>

#include "e2e_support.h"

namespace {

using namespace e2e;

TEST(Handshake, LinesAreExactAndToolkitWaitsForTheClient)
{
    auto engine = startEngine(false);
    ASSERT_TRUE(engine);
    ASSERT_TRUE(engine->waitForStdoutLine("[VORA-CMD-LISTEN]", WAIT_MS));
    auto lines = engine->stdoutLines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(\[VORA-CMD-PORT:[0-9]+\])")));
    EXPECT_EQ(lines[0], "[VORA-CMD-PORT:" + std::to_string(engine->port()) + "]");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "[VORA-CMD-LISTEN]");
    EXPECT_EQ(lines[3], "");
    // Nothing more until a client connects: no accept line, no toolkit output.
    EXPECT_FALSE(engine->waitForStdoutLine("[VORA-CMD-ACCEPT]", 300));
    EXPECT_EQ(engine->stdoutLines().size(), 4u);
    EXPECT_EQ(engine->stderrText(), "");
    ASSERT_TRUE(engine->connect(WAIT_MS));
    lines = engine->stdoutLines();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[4], "[VORA-CMD-ACCEPT]");
    EXPECT_EQ(lines[5], "");
}

TEST(Handshake, TwoEnginesGetTwoPorts)
{
    auto a = startEngine();
    auto b = startEngine();
    ASSERT_TRUE(a && b);
    EXPECT_NE(a->port(), b->port());
}

TEST(Framing, SplitAndCoalescedFramesAreReassembled)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    std::string frame = client::encodeFrame(client::requestBody(1, "CMD_CREATE", createData(64, 32)));
    for (char c : frame)
        ASSERT_TRUE(engine->sendRaw(&c, 1));
    ASSERT_TRUE(engine->waitEvent("EVENT_CREATE", 1, WAIT_MS));
    std::string two = client::encodeFrame(client::requestBody(2, "CMD_CREATE", createData(64, 32)))
        + client::encodeFrame(client::requestBody(3, "CMD_CREATE", createData(64, 32)));
    ASSERT_TRUE(engine->sendRaw(two));
    std::vector<client::Message> skipped;
    auto second = engine->waitEvent("EVENT_CREATE", 2, WAIT_MS, &skipped);
    ASSERT_TRUE(second);
    for (const auto& m : skipped)
        EXPECT_FALSE(m.kind == client::Message::Kind::Event && m.event.id == 3) << "requests ran out of order";
    ASSERT_TRUE(engine->waitEvent("EVENT_CREATE", 3, WAIT_MS));
}

struct BadFrame {
    const char* name;
    std::string bytes;
};

std::string header(uint32_t size, int32_t sum, int32_t format = 0, int32_t version = 1, const char* uid = "VORA")
{
    return client::encodeHeader(size, sum, format, version, uid);
}

// Every framing fault ends the process through its exit path, never by a signal.
TEST(Framing, EveryFramingFaultEndsTheProcessCleanly)
{
    const std::string body = "{}";
    const int32_t sum = client::checksum(body.data(), body.size());
    const BadFrame cases[] = {
        { "bad uid", header(2, sum, 0, 1, "VORB") + body },
        { "version 2", header(2, sum, 0, 2) + body },
        { "body format 1", header(2, sum, 1) + body },
        { "wrong checksum", header(2, sum + 1) + body },
        { "negative size", header(uint32_t(-5), 0) },
        { "huge size", header(0x7ffffff0u, 0) },
        { "short header then close", std::string("VORA\x01\0\0", 7) },
    };
    for (const BadFrame& c : cases) {
        SCOPED_TRACE(c.name);
        auto engine = startEngine();
        ASSERT_TRUE(engine);
        ASSERT_TRUE(engine->sendRaw(c.bytes));
        if (std::string(c.name) == "short header then close")
            engine->closeConnection();
        ASSERT_TRUE(engine->waitExit(WAIT_MS)) << "engine still running";
        EXPECT_FALSE(engine->exitedBySignal()) << "signal " << engine->exitSignal();
    }
}

TEST(Framing, ClosedConnectionEndsTheProcess)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(createWindow(*engine, 1, 32, 32));
    engine->closeConnection();
    ASSERT_TRUE(engine->waitExit(WAIT_MS));
    EXPECT_FALSE(engine->exitedBySignal());
}

TEST(Dispatch, UnknownCommandIsSkippedAndTheLoopGoesOn)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(engine->sendRequest(5, "cmd_create", createData(32, 32)));
    ASSERT_TRUE(engine->sendRequest(6, "CMD_CREATE ", createData(32, 32)));
    ASSERT_TRUE(engine->waitForStderrContaining("request 6 CMD_CREATE : unknown command name", WAIT_MS));
    EXPECT_NE(engine->stderrText().find("request 5 cmd_create: unknown command name"), std::string::npos);
    ASSERT_TRUE(createWindow(*engine, 7, 32, 32));
}

TEST(Dispatch, NonJsonBodyStopsExecutionButTheProcessLives)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(engine->sendFrame("this is not json"));
    ASSERT_TRUE(engine->waitForStderrContaining("not JSON", WAIT_MS));
    ASSERT_TRUE(engine->sendRequest(1, "CMD_CREATE", createData(32, 32)));
    EXPECT_TRUE(engine->expectSilence(500)) << "a request ran after the stop";
    EXPECT_FALSE(engine->exited());
}

TEST(Dispatch, EnvelopeOfWrongTypesIsSurvived)
{
    const char* bodies[] = {
        R"([1, 2, 3])",
        R"({"id": "one", "msg-type": 1, "command-name": "CMD_CREATE", "command-data": "{}"})",
        R"({"id": 1, "msg-type": 1, "command-name": 5, "command-data": "{}"})",
        R"({"id": 1, "msg-type": 1, "command-name": "CMD_CREATE", "command-data": {"width": 1}})",
        R"({"msg-type": 1, "command-name": "CMD_CREATE"})",
        R"({"id": 1, "msg-type": 12, "command-name": "CMD_CREATE", "command-data": "{}"})",
    };
    for (const char* body : bodies) {
        SCOPED_TRACE(body);
        auto engine = startEngine();
        ASSERT_TRUE(engine);
        ASSERT_TRUE(engine->sendFrame(body));
        ASSERT_TRUE(engine->waitForStderrContaining("request execution stops", WAIT_MS));
        EXPECT_TRUE(engine->expectSilence(200));
        EXPECT_FALSE(engine->exited());
    }
}

TEST(Dispatch, AcceptsMembersInAnyOrderWithExtras)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    std::string body = R"({"extra": [1], "command-data": ")" + std::string("{\\\"width\\\": 16, \\\"height\\\": 16}")
        + R"(", "command-name": "CMD_CREATE", "msg-type": 1.0, "id": 42})";
    ASSERT_TRUE(engine->sendFrame(body));
    auto created = engine->waitEvent("EVENT_CREATE", 42, WAIT_MS);
    ASSERT_TRUE(created);
    EXPECT_EQ(created->data, "");
}

} // namespace
