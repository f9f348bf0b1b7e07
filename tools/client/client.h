// Client side of the engine's TCP protocol: frame codec plus a process
// wrapper that starts the engine, performs the stdout handshake and talks
// to it. Every blocking call takes a deadline so a misbehaving engine turns
// into a test failure instead of a hang.
#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace client {

constexpr size_t kHeaderSize = 20;
constexpr int32_t kFormatJson = 0;
constexpr int32_t kFormatPaint = 1;
constexpr int kMsgTypeRequest = 1;
constexpr int kMsgTypePaint = 11;
constexpr int kMsgTypeEvent = 12;
// The engine accepts windows up to this size per side...
constexpr uint32_t kMaxWindowSide = 8192;
// ... so the largest frame either side sends is that window's paint: the
// 20-byte preamble and its pixels. Larger bodies are never sent, and received
// ones are treated as corrupt rather than allocated.
constexpr uint32_t kMaxBodySize = 20 + 4 * kMaxWindowSide * kMaxWindowSide;

// Sum of the bytes taken as signed 8-bit values, wrapping at 32 bits.
int32_t checksum(const void* data, size_t n);
inline int32_t checksum(const std::string& s) { return checksum(s.data(), s.size()); }

// 20-byte header: uid, version, body size, checksum, body format (LE).
std::string encodeHeader(uint32_t bodySize, int32_t checksum, int32_t bodyFormat = 0,
                         int32_t version = 1, const char uid[4] = "VORA");
// Header + body with size and checksum computed from the body.
std::string encodeFrame(const std::string& body, int32_t bodyFormat = 0);

// Compact JSON request body.
std::string requestBody(int id, const std::string& commandName, const std::string& commandData,
                        int msgType = kMsgTypeRequest);

// A socket listening on 127.0.0.1 at a port the system chooses, for stand-in
// engines and harnesses; -1 on failure.
int listenOnLoopback(int& port);

struct Event {
    int id = 0;
    int msgType = 0;
    std::string name;
    std::string data;
};

struct Paint {
    int id = 0;
    int msgType = 0;
    int width = 0;
    int height = 0;
    int depth = 0;
    std::vector<uint32_t> pixels;  // ARGB32, host byte order, row-major
};

struct Message {
    enum class Kind { Event, Paint } kind = Kind::Event;
    Event event;
    Paint paint;
};

// Validates a complete frame and decodes it. Strict on purpose: anything the
// engine sends that deviates from the protocol comes back as an error.
std::optional<Message> decodeFrame(std::string_view header20, std::string_view body, std::string* error);

// A complete, well-framed message whose content broke the protocol. The
// stream is still in step, so the connection stays usable.
struct Invalid {
    bool paint = false;
    std::optional<int> id;  // the window it names, if that could be read
    std::string why;
};

class Engine {
public:
    struct Options {
        std::string binary = "build/render-engine";  // relative to the caller's cwd
        std::string workdir = ".";                   // child's working directory
        int handshakeTimeoutMs = 10000;              // covers port line, connect and accept
        bool connect = true;
        std::vector<std::string> extraEnv;           // "NAME=value", overrides inherited
        std::vector<std::string> args;               // argv[1..]
    };

    static std::unique_ptr<Engine> start(const Options& options, std::string* error);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    int port() const { return port_; }
    pid_t pid() const { return pid_; }

    // Output captured from the engine; safe to call while it is running.
    std::vector<std::string> stdoutLines() const;
    std::string stderrText() const;
    // True once a line equal to `exact` has been printed (earlier lines count).
    bool waitForStdoutLine(const std::string& exact, int timeoutMs);
    bool waitForStderrContaining(const std::string& text, int timeoutMs);
    // True once standard output and error have both reached end of file: the
    // engine is gone and left no process holding them.
    bool waitOutputClosed(int timeoutMs);

    // Connects and waits for the accept line. Only needed with Options.connect false,
    // or to reconnect after closeConnection().
    bool connect(int timeoutMs);
    bool connected() const { return sock_ >= 0; }
    bool sendRaw(const void* data, size_t n);
    bool sendRaw(const std::string& bytes) { return sendRaw(bytes.data(), bytes.size()); }
    bool sendFrame(const std::string& body);
    bool sendRequest(int id, const std::string& commandName, const std::string& commandData);
    void closeConnection();
    // Bound on how long a send may block on a full socket buffer.
    void setSendTimeoutMs(int ms) { sendTimeoutMs_ = ms; }

    // One frame, or nullopt with error "timeout", "connection closed", or the
    // validation failure. A timeout keeps partial bytes for the next call.
    std::optional<Message> receive(int timeoutMs, std::string* error = nullptr);
    // Set when the last receive failed on a well-framed but invalid message.
    const std::optional<Invalid>& lastInvalid() const { return lastInvalid_; }
    // Receives until the wanted message; others are appended to `skipped`.
    std::optional<Event> waitEvent(const std::string& name, int id, int timeoutMs,
                                   std::vector<Message>* skipped = nullptr);
    std::optional<Paint> waitPaint(int id, int timeoutMs, std::vector<Message>* skipped = nullptr);
    // True if not a single byte arrives and the connection stays open for ms.
    bool expectSilence(int ms);
    // Why the last connect/send/receive/wait helper failed.
    std::string lastError() const { return lastError_; }

    bool waitExit(int timeoutMs);
    bool exited() const;
    int exitStatus() const;      // raw waitpid status; meaningful once exited()
    bool exitedBySignal() const;
    int exitSignal() const;      // 0 unless exitedBySignal()
    int exitCode() const;        // -1 unless it exited normally
    void kill();                 // SIGKILL, then reap

private:
    struct Stream {
        int fd = -1;
        bool eof = false;
        std::string partial;             // bytes after the last newline
        std::vector<std::string> lines;  // stdout only
        std::string text;                // stderr only (complete lines)
        std::thread thread;
    };

    Engine() = default;
    void drain(Stream* s, bool keepLines);
    bool reap(bool block) const;
    std::string describeExit() const;
    bool waitLineFrom(const std::string& exact, size_t minCount, int timeoutMs);
    size_t countLines(const std::string& exact) const;
    bool fillTo(size_t n, int64_t deadlineMs, std::string* error);
    void fail(std::string* error, const std::string& what);

    pid_t pid_ = -1;
    int pidfd_ = -1;
    int stdinFd_ = -1;  // held open so the engine never sees stdin EOF while alive
    int port_ = 0;
    int sock_ = -1;
    int sendTimeoutMs_ = 10000;
    std::string rx_;
    std::vector<char> chunk_;  // receive buffer
    std::string lastError_;
    std::optional<Invalid> lastInvalid_;

    mutable std::mutex outMutex_;
    std::condition_variable outCv_;
    Stream out_;
    Stream err_;

    mutable std::mutex procMutex_;
    mutable bool reaped_ = false;
    mutable int status_ = 0;
};

}  // namespace client
