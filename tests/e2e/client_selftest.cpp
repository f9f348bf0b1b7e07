// Checks of the protocol client itself. Process handling is exercised against
// a stand-in engine: this test binary re-executed with an environment switch.
#include "client/client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <json/json.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sstream>

using client::Engine;
using client::Message;

namespace {

const char kFakeVar[] = "CLIENT_SELFTEST_FAKE_ENGINE";

std::string le32(int32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF));
    return s;
}

std::string paintBody(int id, int w, int h, int depth, const std::vector<uint32_t>& px, int type = 11) {
    std::string b = le32(id) + le32(type) + le32(w) + le32(h) + le32(depth);
    b.append(reinterpret_cast<const char*>(px.data()), px.size() * 4);
    return b;
}

std::string eventBody(int id, const std::string& name, const std::string& data, int type = 12) {
    // Same shape the engine's styled writer produces.
    return "{\n   \"event-data\" : " + Json::valueToQuotedString(data.c_str()) + ",\n   \"event-name\" : \"" +
           name + "\",\n   \"id\" : " + std::to_string(id) + ",\n   \"msg-type\" : " + std::to_string(type) + "\n}\n";
}

// --- stand-in engine -------------------------------------------------------

void say(const std::string& line) {
    std::string t = line + "\n\n";
    (void)!write(1, t.data(), t.size());
}

bool readExact(int fd, char* p, size_t n) {
    while (n > 0) {
        ssize_t r = recv(fd, p, n, 0);
        if (r <= 0) return false;
        p += r;
        n -= static_cast<size_t>(r);
    }
    return true;
}

std::string readBody(int fd) {
    char h[20];
    if (!readExact(fd, h, 20)) _exit(10);
    int32_t size;
    std::memcpy(&size, h + 8, 4);
    std::string body(static_cast<size_t>(size), '\0');
    if (!readExact(fd, body.data(), body.size())) _exit(11);
    return body;
}

void sendAll(int fd, const std::string& s) {
    if (send(fd, s.data(), s.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(s.size())) _exit(12);
}

[[noreturn]] void fakeEngine(const std::string& mode) {
    char cwd[PATH_MAX] = "?";
    (void)!getcwd(cwd, sizeof cwd);
    dprintf(2, "render-engine: fake %s in %s\n", mode.c_str(), cwd);
    if (mode == "crash") _exit(4);
    if (mode == "mute") for (;;) pause();
    if (mode == "badport") {
        say("[VORA-CMD-PORT:99999]");
        for (;;) pause();
    }
    int ls = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (bind(ls, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(ls, 1) != 0 ||
        getsockname(ls, reinterpret_cast<sockaddr*>(&a), &len) != 0)
        _exit(13);
    say("[VORA-CMD-PORT:" + std::to_string(ntohs(a.sin_port)) + "]");
    say("[VORA-CMD-LISTEN]");
    int c = accept(ls, nullptr, nullptr);
    say("[VORA-CMD-ACCEPT]");
    Json::Value req;
    std::istringstream(readBody(c)) >> req;
    sendAll(c, client::encodeFrame(eventBody(7, "EVENT_OTHER", "")));
    sendAll(c, client::encodeFrame(paintBody(5, 2, 1, 32, {0xFF112233u, 0x80000000u}), 1));
    sendAll(c, client::encodeFrame(eventBody(req["id"].asInt(), "EVENT_X", req["command-data"].asString())));
    say("[TRACE] [fake.cpp:1:main()] \tsent");
    std::string bad = eventBody(5, "EVENT_BAD", "");
    sendAll(c, client::encodeHeader(bad.size(), client::checksum(bad) + 1) + bad);
    // Split a frame around a client request so the reader sees a partial frame first.
    std::string split = client::encodeFrame(eventBody(5, "EVENT_SPLIT", "tail"));
    sendAll(c, split.substr(0, 10));
    readBody(c);
    sendAll(c, split.substr(10));
    char x;
    while (recv(c, &x, 1, 0) > 0) {
    }
    _exit(3);
}

const int kFakeHook = [] {
    if (const char* mode = std::getenv(kFakeVar)) fakeEngine(mode);
    return 0;
}();

std::string selfExe() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

Engine::Options fake(const std::string& mode) {
    Engine::Options o;
    o.binary = selfExe();
    o.extraEnv = {std::string(kFakeVar) + "=" + mode};
    o.handshakeTimeoutMs = 5000;
    return o;
}

}  // namespace

TEST(ClientCodec, ChecksumSumsSignedBytes) {
    EXPECT_EQ(client::checksum("abc", 3), 294);
    EXPECT_EQ(client::checksum("\xFF", 1), -1);
    EXPECT_EQ(client::checksum("\xFF\x01", 2), 0);
    EXPECT_EQ(client::checksum("", 0), 0);
    std::string many(20000000, '\x7F');  // 2.54e9 overflows int32 and must wrap
    EXPECT_EQ(client::checksum(many), static_cast<int32_t>(static_cast<uint32_t>(127u * 20000000u)));
}

TEST(ClientCodec, HeaderIsByteExact) {
    const unsigned char want[] = {0x56, 0x4F, 0x52, 0x41, 0x01, 0, 0, 0, 0x03, 0, 0, 0, 0x26, 0x01, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(client::encodeHeader(3, 294), std::string(reinterpret_cast<const char*>(want), 20));
    EXPECT_EQ(client::encodeFrame("abc"), std::string(reinterpret_cast<const char*>(want), 20) + "abc");
    std::string h = client::encodeHeader(0x01020304, -2, 1, 7, "ABCD");
    EXPECT_EQ(h, std::string("ABCD\x07\0\0\0\x04\x03\x02\x01\xFE\xFF\xFF\xFF\x01\0\0\0", 20));
}

TEST(ClientCodec, RequestBodyRoundTrips) {
    const std::string data = R"({"render-data":"{\"a\":[1,2]}","project-path":"/tmp/é x"})";
    std::string body = client::requestBody(42, "CMD_RENDER", data);
    EXPECT_EQ(body.find_first_of("\n\t"), std::string::npos) << body;
    Json::Value v;
    std::istringstream(body) >> v;
    ASSERT_TRUE(v.isObject());
    EXPECT_EQ(v.size(), 4u);
    EXPECT_EQ(v["id"].asInt(), 42);
    EXPECT_EQ(v["msg-type"].asInt(), 1);
    EXPECT_EQ(v["command-name"].asString(), "CMD_RENDER");
    EXPECT_EQ(v["command-data"].asString(), data);
}

TEST(ClientCodec, DecodesValidFrames) {
    std::string err;
    std::string ev = eventBody(3, "EVENT_RENDERED", "{\"x\":1}");
    auto m = client::decodeFrame(client::encodeHeader(ev.size(), client::checksum(ev)), ev, &err);
    ASSERT_TRUE(m) << err;
    EXPECT_EQ(m->kind, Message::Kind::Event);
    EXPECT_EQ(m->event.id, 3);
    EXPECT_EQ(m->event.msgType, 12);
    EXPECT_EQ(m->event.name, "EVENT_RENDERED");
    EXPECT_EQ(m->event.data, "{\"x\":1}");

    std::string p = paintBody(9, 2, 2, 32, {1, 2, 0xFF000000u, 0xFFFFFFFFu});
    m = client::decodeFrame(client::encodeHeader(p.size(), client::checksum(p), 1), p, &err);
    ASSERT_TRUE(m) << err;
    EXPECT_EQ(m->kind, Message::Kind::Paint);
    EXPECT_EQ(m->paint.id, 9);
    EXPECT_EQ(m->paint.width, 2);
    EXPECT_EQ(m->paint.height, 2);
    EXPECT_EQ(m->paint.pixels, (std::vector<uint32_t>{1, 2, 0xFF000000u, 0xFFFFFFFFu}));

    std::string empty = paintBody(9, 0, 0, 0, {});
    m = client::decodeFrame(client::encodeHeader(20, client::checksum(empty), 1), empty, &err);
    ASSERT_TRUE(m) << err;
    EXPECT_TRUE(m->paint.pixels.empty());
}

TEST(ClientCodec, RejectsMalformedFrames) {
    const std::string ev = eventBody(1, "EVENT_X", "");
    const std::string px = paintBody(1, 1, 1, 32, {5});
    auto hdr = [](const std::string& b, int fmt) { return client::encodeHeader(b.size(), client::checksum(b), fmt); };
    struct Case {
        const char* what;
        std::string header, body, expect;
    } cases[] = {
        {"short header", hdr(ev, 0).substr(0, 19), ev, "20"},
        {"uid", client::encodeHeader(ev.size(), client::checksum(ev), 0, 1, "VORB"), ev, "uid"},
        {"version", client::encodeHeader(ev.size(), client::checksum(ev), 0, 2), ev, "version"},
        {"format", hdr(ev, 2), ev, "format"},
        {"size", hdr(ev, 0), ev + " ", "body bytes"},
        {"checksum", client::encodeHeader(ev.size(), client::checksum(ev) ^ 1), ev, "checksum"},
        {"not json", hdr("{\"id\":", 0), "{\"id\":", "JSON"},
        {"trailing junk", hdr(ev + "x", 0), ev + "x", "JSON"},
        {"missing member", hdr("{\"id\":1,\"msg-type\":12,\"event-name\":\"E\"}", 0),
         "{\"id\":1,\"msg-type\":12,\"event-name\":\"E\"}", "event-data"},
        {"extra member", hdr("{\"id\":1,\"msg-type\":12,\"event-name\":\"E\",\"event-data\":\"\",\"x\":0}", 0),
         "{\"id\":1,\"msg-type\":12,\"event-name\":\"E\",\"event-data\":\"\",\"x\":0}", "'x'"},
        {"event type", hdr(eventBody(1, "E", "", 11), 0), eventBody(1, "E", "", 11), "msg-type"},
        {"paint preamble", hdr(px.substr(0, 19), 1), px.substr(0, 19), "preamble"},
        {"paint type", hdr(paintBody(1, 1, 1, 32, {5}, 12), 1), paintBody(1, 1, 1, 32, {5}, 12), "msg type"},
        {"pixel bytes", hdr(px + "1234", 1), px + "1234", "pixel bytes"},
        {"depth", hdr(paintBody(1, 1, 1, 24, {5}), 1), paintBody(1, 1, 1, 24, {5}), "depth"},
        {"negative", hdr(paintBody(1, -1, -1, 32, {5}), 1), paintBody(1, -1, -1, 32, {5}), "geometry"},
        {"half empty", hdr(paintBody(1, 0, 3, 0, {}), 1), paintBody(1, 0, 3, 0, {}), "empty paint"},
        {"empty depth", hdr(paintBody(1, 0, 0, 32, {}), 1), paintBody(1, 0, 0, 32, {}), "empty paint"},
    };
    for (const Case& c : cases) {
        std::string err;
        EXPECT_FALSE(client::decodeFrame(c.header, c.body, &err)) << c.what;
        EXPECT_NE(err.find(c.expect), std::string::npos) << c.what << ": " << err;
    }
}

TEST(ClientEngine, StartFailuresAreReported) {
    std::string err;
    Engine::Options o;
    o.binary = "/nonexistent/render-engine";
    EXPECT_FALSE(Engine::start(o, &err));
    EXPECT_NE(err.find("not found"), std::string::npos) << err;

    auto t0 = std::chrono::steady_clock::now();
    o.binary = "/bin/true";
    EXPECT_FALSE(Engine::start(o, &err));
    EXPECT_NE(err.find("exited before the handshake (exit status 0)"), std::string::npos) << err;
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(3));

    EXPECT_FALSE(Engine::start(fake("crash"), &err));
    EXPECT_NE(err.find("exited before the handshake (exit status 4); stderr: render-engine: fake crash"),
              std::string::npos)
        << err;

    o = fake("mute");
    o.handshakeTimeoutMs = 300;
    EXPECT_FALSE(Engine::start(o, &err));
    EXPECT_NE(err.find("no [VORA-CMD-PORT:<port>] line within 300 ms"), std::string::npos) << err;
    EXPECT_NE(err.find("render-engine: fake mute"), std::string::npos) << err;

    EXPECT_FALSE(Engine::start(fake("badport"), &err));
    EXPECT_NE(err.find("malformed port line '[VORA-CMD-PORT:99999]'"), std::string::npos) << err;
}

TEST(ClientEngine, SessionWithStandInEngine) {
    std::string err;
    auto o = fake("session");
    o.workdir = "/";
    auto e = Engine::start(o, &err);
    ASSERT_TRUE(e) << err;
    auto lines = e->stdoutLines();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 6),
              (std::vector<std::string>{"[VORA-CMD-PORT:" + std::to_string(e->port()) + "]", "", "[VORA-CMD-LISTEN]", "",
                                        "[VORA-CMD-ACCEPT]", ""}));
    EXPECT_TRUE(e->waitForStderrContaining("render-engine: fake session in /\n", 2000));

    const std::string data = R"({"width":2,"height":1})";
    ASSERT_TRUE(e->sendRequest(5, "CMD_CREATE", data));
    std::vector<Message> skipped;
    auto ev = e->waitEvent("EVENT_X", 5, 5000, &skipped);
    ASSERT_TRUE(ev) << e->lastError();
    EXPECT_EQ(ev->data, data);
    ASSERT_EQ(skipped.size(), 2u);
    EXPECT_EQ(skipped[0].event.name, "EVENT_OTHER");
    EXPECT_EQ(skipped[0].event.id, 7);
    ASSERT_EQ(skipped[1].kind, Message::Kind::Paint);
    EXPECT_EQ(skipped[1].paint.pixels, (std::vector<uint32_t>{0xFF112233u, 0x80000000u}));
    EXPECT_TRUE(e->waitForStdoutLine("[TRACE] [fake.cpp:1:main()] \tsent", 2000));

    EXPECT_FALSE(e->receive(2000, &err));
    EXPECT_NE(err.find("bad checksum"), std::string::npos) << err;

    // Ten bytes of the next frame are pending: a timeout, not silence, and not lost.
    EXPECT_FALSE(e->receive(100, &err));
    EXPECT_EQ(err, "timeout");
    EXPECT_FALSE(e->expectSilence(50));
    ASSERT_TRUE(e->sendRequest(5, "CMD_DESTROY", ""));
    ev = e->waitEvent("EVENT_SPLIT", 5, 5000);
    ASSERT_TRUE(ev) << e->lastError();
    EXPECT_EQ(ev->data, "tail");
    EXPECT_TRUE(e->expectSilence(100));

    EXPECT_FALSE(e->exited());
    e->closeConnection();
    ASSERT_TRUE(e->waitExit(5000));
    EXPECT_FALSE(e->exitedBySignal());
    EXPECT_EQ(e->exitCode(), 3);
}

TEST(ClientEngine, DeferredConnectAndKill) {
    std::string err;
    auto o = fake("session");
    o.connect = false;
    auto e = Engine::start(o, &err);
    ASSERT_TRUE(e) << err;
    EXPECT_FALSE(e->connected());
    EXPECT_FALSE(e->waitForStdoutLine("[VORA-CMD-ACCEPT]", 100));
    ASSERT_TRUE(e->connect(5000)) << e->lastError();
    EXPECT_TRUE(e->waitForStdoutLine("[VORA-CMD-ACCEPT]", 0));
    EXPECT_FALSE(e->waitExit(50));
    e->kill();
    EXPECT_TRUE(e->exited());
    EXPECT_TRUE(e->exitedBySignal());
    EXPECT_EQ(e->exitSignal(), SIGKILL);
    EXPECT_EQ(e->exitCode(), -1);

    // Destruction must reap a still-running engine.
    auto m = Engine::start(fake("session"), &err);
    ASSERT_TRUE(m) << err;
    pid_t pid = m->pid();
    m.reset();
    EXPECT_EQ(::kill(pid, 0), -1);
}
