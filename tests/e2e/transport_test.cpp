// The process, the handshake and the framing, against the real engine binary.
#include <filesystem>
#include <fstream>
#include <regex>

#include "e2e_support.h"

namespace {

using namespace e2e;

long residentKib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

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

// The engine starts no process that could inherit its standard output, the
// pipe the IDE reads: when it ends, the IDE sees end of file at once. A home
// of its own makes the toolkit find no cache daemon running already.
TEST(Process, OutputEndsWithTheEngine)
{
    namespace fs = std::filesystem;
    fs::path home = fs::path(BUILD_DIR) / "e2e_home" / "output_ends";
    fs::remove_all(home);
    fs::create_directories(home);
    client::Engine::Options options;
    options.binary = ENGINE_BINARY;
    options.workdir = SOURCE_DIR;
    options.extraEnv = { "HOME=" + home.string(), "XDG_RUNTIME_DIR=" + home.string() };
    std::string error;
    auto engine = client::Engine::start(options, &error);
    ASSERT_TRUE(engine) << error;
    ASSERT_TRUE(createWindow(*engine, 1, 64, 64));
    Frame frame;
    ASSERT_TRUE(render(*engine, 1, 64, 64, node("efl.icon", "i", Json::Value(Json::objectValue)), frame));
    engine->closeConnection();
    ASSERT_TRUE(engine->waitExit(WAIT_MS));
    EXPECT_TRUE(engine->waitOutputClosed(1000)) << engine->lastError();
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

// The frame limit is the paint of the largest window the engine accepts:
// that paint is sent whole and decoded, a larger window is refused, and the
// engine takes an incoming frame up to exactly that limit.
TEST(Framing, LargestWindowAndFrameLimitAgree)
{
    const int side = int(client::kMaxWindowSide);
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(engine->sendRequest(2, "CMD_CREATE", createData(side + 1, 16)));
    ASSERT_TRUE(engine->waitForStderrContaining("out of range", WAIT_MS));
    ASSERT_TRUE(createWindow(*engine, 1, side, side));
    Json::Value colour;
    colour["color"] = "#00ff00";
    colour["weight-x"] = colour["weight-y"] = "1";
    colour["align-x"] = colour["align-y"] = "FILL";
    ASSERT_TRUE(engine->sendRequest(1, "CMD_RENDER", renderData(side, side, node("efl.bg", "bg", colour))));
    // A canvas this large is drawn by the toolkit's worker thread, so the
    // first frame after the render may still show the empty window.
    bool green = false;
    for (int frames = 0; frames < 4 && !green; ++frames) {
        Frame frame;
        ASSERT_TRUE(nextFrame(*engine, 1, frame, 60000)) << engine->lastError();
        const client::Paint& paint = frame.paint;
        ASSERT_EQ(paint.width, side);
        ASSERT_EQ(paint.height, side);
        green = (paint.pixels[size_t(side / 2) * size_t(side) + size_t(side / 2)] & 0xffffff) == 0x00ff00u;
    }
    EXPECT_TRUE(green) << "no frame showed the tree";
    EXPECT_EQ(20 + 4 * uint64_t(side) * uint64_t(side), uint64_t(client::kMaxBodySize));
    EXPECT_EQ(engine->stderrText().find("window 1:"), std::string::npos) << engine->stderrText();

    // Incoming: a header announcing exactly the limit is waited on, one byte more ends the process.
    ASSERT_TRUE(engine->sendRaw(client::encodeHeader(client::kMaxBodySize, 0)));
    EXPECT_FALSE(engine->waitExit(500)) << "a frame of the limit's size was refused";
    auto overLimit = startEngine();
    ASSERT_TRUE(overLimit);
    ASSERT_TRUE(overLimit->sendRaw(client::encodeHeader(client::kMaxBodySize + 1, 0)));
    ASSERT_TRUE(overLimit->waitExit(WAIT_MS));
    EXPECT_FALSE(overLimit->exitedBySignal());
    EXPECT_TRUE(overLimit->waitForStderrContaining("out of range", WAIT_MS)) << overLimit->stderrText();
}

// Once execution has stopped, bodies still arriving are dropped, not kept:
// the engine's memory stays where it was whatever the IDE sends.
TEST(Dispatch, BodiesAfterTheStopAreNotKept)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(engine->sendFrame("not an envelope"));
    ASSERT_TRUE(engine->waitForStderrContaining("not JSON", WAIT_MS));
    long before = residentKib(engine->pid());
    const std::string body(1 << 20, ' ');
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(engine->sendFrame(body)) << i;
    // Requests run in order and none runs now, so a last one is only a marker
    // that the reader has taken in everything before it.
    ASSERT_TRUE(engine->sendRequest(1, "CMD_CREATE", createData(16, 16)));
    EXPECT_TRUE(engine->expectSilence(300));
    long after = residentKib(engine->pid());
#ifndef __SANITIZE_ADDRESS__ // the sanitizer's quarantine keeps freed blocks resident
    EXPECT_LT(after - before, 64 * 1024) << "200 MiB sent; resident memory went from " << before << " to " << after
                                          << " KiB";
#endif
    EXPECT_GT(after, 0);
    EXPECT_FALSE(engine->exited());
}

// A render's frames are sent before the answer to any request that runs
// after it, however long the render took: a client may take the last frame
// before that answer as the render's.
TEST(Frames, ARendersFrameComesBeforeTheNextAnswer)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(createWindow(*engine, 1, 720, 1280));
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        Json::Value kids(Json::arrayValue);
        for (int i = 0; i < 150; ++i)
            kids.append(node("efl.button", "b" + std::to_string(round) + "_" + std::to_string(i),
                             Json::Value(Json::objectValue)));
        std::string root = "r" + std::to_string(round);
        ASSERT_TRUE(engine->sendRequest(1, "CMD_RENDER", renderData(720, 1280, node("efl.box", root, Json::Value(), kids))));
        ASSERT_TRUE(engine->sendRequest(1, "CMD_CREATE", createData(720, 1280)));
        std::vector<client::Message> before;
        ASSERT_TRUE(engine->waitEvent("EVENT_CREATE", 1, WAIT_MS, &before)) << engine->lastError();
        bool shown = false;
        for (const client::Message& m : before)
            shown = shown
                || (m.kind == client::Message::Kind::Event && m.event.name == "EVENT_GET_ALL_WIDGET_POSITIONS"
                    && m.event.data.find("\"" + root + "\"") != std::string::npos);
        EXPECT_TRUE(shown) << "the render's frame came after the answer to the request behind it";
    }
}

// A page too large for its canvas still gives valid paints: the protocol's
// empty paint, explained on standard error, never a size without pixels.
TEST(Frames, AnOversizedPageGivesTheEmptyPaintAndSaysSo)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(createWindow(*engine, 1, 360, 480));
    Json::Value kids(Json::arrayValue);
    for (int i = 0; i < 3000; ++i) {
        Json::Value text;
        text["text"] = "label " + std::to_string(i);
        kids.append(node("efl.label", "l" + std::to_string(i), text));
    }
    ASSERT_TRUE(engine->sendRequest(1, "CMD_RENDER", renderData(360, 480, node("efl.box", "column", Json::Value(), kids))));
    Frame frame;
    ASSERT_TRUE(nextFrame(*engine, 1, frame, 60000)) << engine->lastError();
    const client::Paint& p = frame.paint;
    bool whole = p.width == 360 && p.height == 480 && p.depth == 32;
    bool empty = p.width == 0 && p.height == 0 && p.depth == 0;
    EXPECT_TRUE(whole || empty) << p.width << "x" << p.height << " depth " << p.depth;
    if (empty) {
        EXPECT_TRUE(engine->waitForStderrContaining("window 1: frame sent as an empty paint", WAIT_MS));
    }
}

} // namespace
