#include "client/client.h"

#include "components/connector/byte_sum.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <json/json.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <sstream>

extern char** environ;

namespace client {

namespace {

int64_t nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t deadlineAfter(int timeoutMs) { return nowMs() + std::max(timeoutMs, 0); }

int remainingMs(int64_t deadline) {
    int64_t left = deadline - nowMs();
    return static_cast<int>(std::clamp<int64_t>(left, 0, INT_MAX));
}

void putLe32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

int32_t getLe32(const char* p) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<unsigned char>(p[i])) << (8 * i);
    return static_cast<int32_t>(v);
}

std::string errnoText(const std::string& what) { return what + ": " + std::strerror(errno); }

// Header fields that can be judged before the body is read.
bool checkHeader(std::string_view h, uint32_t* size, std::string* error) {
    if (h.size() != kHeaderSize) {
        *error = "header is " + std::to_string(h.size()) + " bytes, expected 20";
        return false;
    }
    if (std::memcmp(h.data(), "VORA", 4) != 0) {
        std::ostringstream os;
        os << "bad uid bytes";
        for (int i = 0; i < 4; ++i) os << ' ' << std::hex << (static_cast<unsigned>(h[i]) & 0xFF);
        *error = os.str();
        return false;
    }
    int32_t ver = getLe32(h.data() + 4);
    if (ver != 1) {
        *error = "unsupported version " + std::to_string(ver);
        return false;
    }
    int32_t fmt = getLe32(h.data() + 16);
    if (fmt != kFormatJson && fmt != kFormatPaint) {
        *error = "unknown body format " + std::to_string(fmt);
        return false;
    }
    *size = static_cast<uint32_t>(getLe32(h.data() + 8));
    return true;
}

bool decodeEvent(std::string_view body, Event* ev, std::string* error) {
    Json::CharReaderBuilder builder;
    Json::CharReaderBuilder::strictMode(&builder.settings_);
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string parseErr;
    if (!reader->parse(body.data(), body.data() + body.size(), &root, &parseErr)) {
        *error = "event body is not valid JSON: " + parseErr;
        return false;
    }
    if (!root.isObject()) {
        *error = "event body is not a JSON object";
        return false;
    }
    static const char* const kMembers[] = {"event-data", "event-name", "id", "msg-type"};
    for (const std::string& key : root.getMemberNames()) {
        if (std::find(std::begin(kMembers), std::end(kMembers), key) == std::end(kMembers)) {
            *error = "event has unexpected member '" + key + "'";
            return false;
        }
    }
    if (!root.isMember("event-data") || !root["event-data"].isString() ||
        !root.isMember("event-name") || !root["event-name"].isString() ||
        !root.isMember("id") || !root["id"].isInt() || !root.isMember("msg-type") ||
        !root["msg-type"].isInt()) {
        *error = "event lacks string event-data/event-name or int id/msg-type";
        return false;
    }
    ev->id = root["id"].asInt();
    ev->msgType = root["msg-type"].asInt();
    ev->name = root["event-name"].asString();
    ev->data = root["event-data"].asString();
    if (ev->msgType != kMsgTypeEvent) {
        *error = "event msg-type is " + std::to_string(ev->msgType) + ", expected 12";
        return false;
    }
    return true;
}

bool decodePaint(std::string_view body, Paint* p, std::string* error) {
    if (body.size() < 20) {
        *error = "paint body is " + std::to_string(body.size()) + " bytes, shorter than its preamble";
        return false;
    }
    const char* b = body.data();
    p->id = getLe32(b);
    p->msgType = getLe32(b + 4);
    p->width = getLe32(b + 8);
    p->height = getLe32(b + 12);
    p->depth = getLe32(b + 16);
    if (p->msgType != kMsgTypePaint) {
        *error = "paint msg type is " + std::to_string(p->msgType) + ", expected 11";
        return false;
    }
    std::string dims = std::to_string(p->width) + "x" + std::to_string(p->height) + " depth " +
                       std::to_string(p->depth);
    if (p->width == 0 || p->height == 0) {
        if (p->width != 0 || p->height != 0 || p->depth != 0 || body.size() != 20) {
            *error = "empty paint must be 0x0 depth 0 with a 20-byte body, got " + dims + " and " +
                     std::to_string(body.size()) + " bytes";
            return false;
        }
        return true;
    }
    if (p->width < 0 || p->height < 0 || p->depth != 32) {
        *error = "bad paint geometry " + dims;
        return false;
    }
    uint64_t count = static_cast<uint64_t>(p->width) * static_cast<uint64_t>(p->height);
    if (body.size() - 20 != count * 4) {
        *error = "paint " + dims + " needs " + std::to_string(count * 4) + " pixel bytes, body has " +
                 std::to_string(body.size() - 20);
        return false;
    }
    p->pixels.resize(count);
    std::memcpy(p->pixels.data(), b + 20, count * 4);
    return true;
}

// The id of an event body that failed validation, when it still has one.
std::optional<int> eventId(std::string_view body) {
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    if (!reader->parse(body.data(), body.data() + body.size(), &root, nullptr) || !root.isObject() ||
        !root["id"].isInt())
        return std::nullopt;
    return root["id"].asInt();
}

}  // namespace

int32_t checksum(const void* data, size_t n) { return signed_byte_sum(data, n); }

std::string encodeHeader(uint32_t bodySize, int32_t sum, int32_t bodyFormat, int32_t version,
                         const char uid[4]) {
    std::string h(uid, 4);
    putLe32(h, static_cast<uint32_t>(version));
    putLe32(h, bodySize);
    putLe32(h, static_cast<uint32_t>(sum));
    putLe32(h, static_cast<uint32_t>(bodyFormat));
    return h;
}

std::string encodeFrame(const std::string& body, int32_t bodyFormat) {
    return encodeHeader(static_cast<uint32_t>(body.size()), checksum(body), bodyFormat) + body;
}

std::string requestBody(int id, const std::string& commandName, const std::string& commandData,
                        int msgType) {
    Json::Value root(Json::objectValue);
    root["id"] = id;
    root["msg-type"] = msgType;
    root["command-name"] = commandName;
    root["command-data"] = commandData;
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;  // keep non-ASCII paths byte-for-byte
    return Json::writeString(builder, root);
}

int listenOnLoopback(int& port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&a), len) != 0 || listen(fd, 1) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
        if (fd >= 0) close(fd);
        return -1;
    }
    port = ntohs(a.sin_port);
    return fd;
}

std::optional<Message> decodeFrame(std::string_view header20, std::string_view body, std::string* error) {
    std::string err;
    uint32_t size = 0;
    Message m;
    bool ok = checkHeader(header20, &size, &err);
    if (ok && size != body.size()) {
        err = "header announces " + std::to_string(size) + " body bytes, got " +
              std::to_string(body.size());
        ok = false;
    }
    if (ok) {
        int32_t want = getLe32(header20.data() + 12), got = checksum(body.data(), body.size());
        if (want != got) {
            err = "bad checksum: header " + std::to_string(want) + ", body sums to " +
                  std::to_string(got);
            ok = false;
        }
    }
    if (ok) {
        if (getLe32(header20.data() + 16) == kFormatJson) {
            m.kind = Message::Kind::Event;
            ok = decodeEvent(body, &m.event, &err);
        } else {
            m.kind = Message::Kind::Paint;
            ok = decodePaint(body, &m.paint, &err);
        }
    }
    if (!ok) {
        if (error) *error = err;
        return std::nullopt;
    }
    return m;
}

// ---------------------------------------------------------------------------
// Engine process

std::unique_ptr<Engine> Engine::start(const Options& opt, std::string* error) {
    auto failWith = [&](const std::string& msg) -> std::unique_ptr<Engine> {
        if (error) *error = msg;
        return nullptr;
    };

    // The child chdirs before exec, so a relative binary must be resolved here.
    std::string binary = opt.binary;
    if (binary.find('/') == std::string::npos) binary = "./" + binary;
    if (binary[0] != '/') {
        char cwd[PATH_MAX];
        if (!getcwd(cwd, sizeof cwd)) return failWith(errnoText("getcwd"));
        binary = std::string(cwd) + "/" + binary;
    }
    struct stat st {};
    if (stat(binary.c_str(), &st) != 0) return failWith("engine binary not found: " + binary);
    if (!S_ISREG(st.st_mode) || access(binary.c_str(), X_OK) != 0)
        return failWith("engine binary is not an executable file: " + binary);
    if (stat(opt.workdir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return failWith("working directory does not exist: " + opt.workdir);

    std::unique_ptr<Engine> e(new Engine());
    // Parent ends go straight into `e` so its destructor closes them on failure.
    int inPipe[2] = {-1, -1}, outPipe[2] = {-1, -1}, errPipe[2] = {-1, -1};
    auto closeChildEnds = [&] {
        for (int fd : {inPipe[0], outPipe[1], errPipe[1]})
            if (fd >= 0) close(fd);
    };
    if (pipe2(inPipe, O_CLOEXEC) != 0 ||
        pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) {
        std::string msg = errnoText("pipe");
        closeChildEnds();
        for (int fd : {inPipe[1], outPipe[0], errPipe[0]})
            if (fd >= 0) close(fd);
        return failWith(msg);
    }
    e->stdinFd_ = inPipe[1];
    e->out_.fd = outPipe[0];
    e->err_.fd = errPipe[0];

    std::vector<std::string> env;
    for (char** p = environ; p && *p; ++p) {
        std::string entry = *p;
        std::string name = entry.substr(0, entry.find('='));
        bool overridden = std::any_of(opt.extraEnv.begin(), opt.extraEnv.end(),
                                      [&](const std::string& x) { return x.substr(0, x.find('=')) == name; });
        if (!overridden) env.push_back(entry);
    }
    env.insert(env.end(), opt.extraEnv.begin(), opt.extraEnv.end());
    std::vector<char*> envp;
    for (auto& s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    std::vector<std::string> args{binary};
    args.insert(args.end(), opt.args.begin(), opt.args.end());
    std::vector<char*> argv;
    for (auto& s : args) argv.push_back(s.data());
    argv.push_back(nullptr);

    // dup2 clears close-on-exec on the targets; every other pipe end is O_CLOEXEC.
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, inPipe[0], 0);
    posix_spawn_file_actions_adddup2(&fa, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&fa, errPipe[1], 2);
    posix_spawn_file_actions_addchdir_np(&fa, opt.workdir.c_str());
    pid_t pid = -1;
    int rc = posix_spawn(&pid, binary.c_str(), &fa, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&fa);
    closeChildEnds();
    if (rc != 0) {
        // The destructor closes the remaining pipe ends; there is no child to reap.
        return failWith("cannot start " + binary + ": " + std::strerror(rc));
    }
    e->pid_ = pid;
    e->pidfd_ = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));  // -1: fall back to polling
    e->out_.thread = std::thread(&Engine::drain, e.get(), &e->out_, true);
    e->err_.thread = std::thread(&Engine::drain, e.get(), &e->err_, false);

    // Wait for the port line, giving up early if stdout closes or the child exits.
    const int64_t deadline = deadlineAfter(opt.handshakeTimeoutMs);
    const std::string prefix = "[VORA-CMD-PORT:";
    std::string portLine;
    {
        std::unique_lock<std::mutex> lock(e->outMutex_);
        for (;;) {
            for (const auto& l : e->out_.lines)
                if (l.rfind(prefix, 0) == 0) {
                    portLine = l;
                    break;
                }
            if (!portLine.empty() || e->out_.eof || nowMs() >= deadline) break;
            lock.unlock();
            bool gone = e->reap(false);
            lock.lock();
            if (gone) break;
            // Short slices so a child that exits without closing stdout is still noticed.
            e->outCv_.wait_until(lock, std::chrono::steady_clock::now() +
                                           std::chrono::milliseconds(std::min(50, remainingMs(deadline))));
        }
    }
    auto context = [&] {
        std::string err = e->stderrText();
        return err.empty() ? std::string() : "; stderr: " + err;
    };
    if (portLine.empty()) {
        // Once it is gone, all it wrote reaches the drains; the message shows it.
        if (e->waitExit(std::min(1000, remainingMs(deadline) + 200))) e->waitOutputClosed(1000);
        if (e->exited())
            return failWith("engine exited before the handshake (" + e->describeExit() + ")" + context());
        return failWith("no " + prefix + "<port>] line within " + std::to_string(opt.handshakeTimeoutMs) +
                        " ms" + context());
    }
    std::string digits = portLine.substr(prefix.size());
    bool valid = digits.size() >= 2 && digits.size() <= 6 && digits.back() == ']';
    if (valid) {
        digits.pop_back();
        valid = std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    }
    long port = valid ? std::strtol(digits.c_str(), nullptr, 10) : 0;
    if (port < 1 || port > 65535) return failWith("malformed port line '" + portLine + "'");
    e->port_ = static_cast<int>(port);

    if (opt.connect && !e->connect(remainingMs(deadline))) return failWith(e->lastError_ + context());
    return e;
}

// The engine starts no process of its own, so its output ends with it.
Engine::~Engine() {
    closeConnection();
    kill();
    if (stdinFd_ >= 0) close(stdinFd_);
    for (Stream* s : {&out_, &err_})
        if (s->thread.joinable()) s->thread.join();
    for (Stream* s : {&out_, &err_})
        if (s->fd >= 0) close(s->fd);
    if (pidfd_ >= 0) close(pidfd_);
}

bool Engine::waitOutputClosed(int timeoutMs) {
    std::unique_lock<std::mutex> lock(outMutex_);
    bool closed = outCv_.wait_for(lock, std::chrono::milliseconds(std::max(timeoutMs, 0)),
                                  [&] { return out_.eof && err_.eof; });
    if (!closed)
        lastError_ = "standard output or error still open " + std::to_string(timeoutMs) +
                     " ms later (held by another process?)";
    return closed;
}

void Engine::drain(Stream* s, bool keepLines) {
    char buf[4096];
    for (;;) {
        ssize_t got = read(s->fd, buf, sizeof buf);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        std::lock_guard<std::mutex> lock(outMutex_);
        s->partial.append(buf, static_cast<size_t>(got));
        size_t start = 0, nl;
        while ((nl = s->partial.find('\n', start)) != std::string::npos) {
            if (keepLines) s->lines.push_back(s->partial.substr(start, nl - start));
            else s->text.append(s->partial, start, nl - start + 1);
            start = nl + 1;
        }
        s->partial.erase(0, start);
        outCv_.notify_all();
    }
    std::lock_guard<std::mutex> lock(outMutex_);
    if (!s->partial.empty()) {
        if (keepLines) s->lines.push_back(s->partial);
        else s->text += s->partial;
        s->partial.clear();
    }
    s->eof = true;
    outCv_.notify_all();
}

std::vector<std::string> Engine::stdoutLines() const {
    std::lock_guard<std::mutex> lock(outMutex_);
    return out_.lines;
}

std::string Engine::stderrText() const {
    std::lock_guard<std::mutex> lock(outMutex_);
    return err_.text + err_.partial;
}

size_t Engine::countLines(const std::string& exact) const {
    std::lock_guard<std::mutex> lock(outMutex_);
    return static_cast<size_t>(std::count(out_.lines.begin(), out_.lines.end(), exact));
}

bool Engine::waitLineFrom(const std::string& exact, size_t minCount, int timeoutMs) {
    std::unique_lock<std::mutex> lock(outMutex_);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    auto enough = [&] {
        return static_cast<size_t>(std::count(out_.lines.begin(), out_.lines.end(), exact)) >= minCount;
    };
    outCv_.wait_until(lock, deadline, [&] { return enough() || out_.eof; });
    bool found = enough();
    if (!found)
        lastError_ = "no stdout line '" + exact + "' within " + std::to_string(timeoutMs) + " ms" +
                     (out_.eof ? " (stdout closed)" : "");
    return found;
}

bool Engine::waitForStdoutLine(const std::string& exact, int timeoutMs) {
    return waitLineFrom(exact, 1, timeoutMs);
}

bool Engine::waitForStderrContaining(const std::string& text, int timeoutMs) {
    std::unique_lock<std::mutex> lock(outMutex_);
    auto has = [&] { return (err_.text + err_.partial).find(text) != std::string::npos; };
    outCv_.wait_for(lock, std::chrono::milliseconds(std::max(timeoutMs, 0)), [&] { return has() || err_.eof; });
    if (has()) return true;
    lastError_ = "stderr did not contain '" + text + "' within " + std::to_string(timeoutMs) + " ms";
    return false;
}

void Engine::fail(std::string* error, const std::string& what) {
    lastError_ = what;
    if (error) *error = what;
}

bool Engine::connect(int timeoutMs) {
    const int64_t deadline = deadlineAfter(timeoutMs);
    closeConnection();
    // The port line may precede listen(); the listen line says it is safe to connect.
    if (!waitLineFrom("[VORA-CMD-LISTEN]", 1, remainingMs(deadline))) return false;
    const size_t accepts = countLines("[VORA-CMD-ACCEPT]");

    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port_));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const std::string where = "127.0.0.1:" + std::to_string(port_);
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        fail(nullptr, errnoText("socket"));
        return false;
    }
    int rc = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    if (rc != 0 && errno == EINPROGRESS) {
        pollfd p{fd, POLLOUT, 0};
        int n;
        while ((n = poll(&p, 1, remainingMs(deadline))) < 0 && errno == EINTR) {
        }
        int soErr = ETIMEDOUT;
        socklen_t len = sizeof soErr;
        if (n > 0) getsockopt(fd, SOL_SOCKET, SO_ERROR, &soErr, &len);
        errno = soErr;
        rc = soErr == 0 ? 0 : -1;
    }
    if (rc != 0) {
        fail(nullptr, errnoText("connect to " + where + " failed"));
        close(fd);
        return false;
    }
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);  // small frames go out at once
    sock_ = fd;
    if (!waitLineFrom("[VORA-CMD-ACCEPT]", accepts + 1, remainingMs(deadline))) {
        lastError_ = "connected to " + where + " but " + lastError_;
        closeConnection();
        return false;
    }
    return true;
}

void Engine::closeConnection() {
    if (sock_ >= 0) close(sock_);
    sock_ = -1;
    rx_.clear();
}

bool Engine::sendRaw(const void* data, size_t n) {
    if (sock_ < 0) {
        fail(nullptr, "not connected");
        return false;
    }
    const int64_t deadline = deadlineAfter(sendTimeoutMs_);
    const char* p = static_cast<const char*>(data);
    while (n > 0) {
        ssize_t w = send(sock_, p, n, MSG_NOSIGNAL);
        if (w > 0) {
            p += w;
            n -= static_cast<size_t>(w);
            continue;
        }
        if (w < 0 && errno == EINTR) continue;
        if (w < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd pf{sock_, POLLOUT, 0};
            if (poll(&pf, 1, remainingMs(deadline)) == 0) {
                fail(nullptr, "send timed out with " + std::to_string(n) + " bytes unsent");
                return false;
            }
            continue;
        }
        fail(nullptr, errnoText("send failed"));
        return false;
    }
    return true;
}

bool Engine::sendFrame(const std::string& body) {
    if (body.size() > kMaxBodySize) {
        fail(nullptr, "body of " + std::to_string(body.size()) + " bytes exceeds the frame limit of " +
                          std::to_string(kMaxBodySize));
        return false;
    }
    return sendRaw(encodeFrame(body));
}

bool Engine::sendRequest(int id, const std::string& commandName, const std::string& commandData) {
    return sendFrame(requestBody(id, commandName, commandData));
}

// Reads straight on while bytes are there; polls only when there are none.
bool Engine::fillTo(size_t n, int64_t deadline, std::string* error) {
    if (chunk_.empty()) chunk_.resize(1 << 20);
    while (rx_.size() < n) {
        size_t want = std::min(chunk_.size(), n - rx_.size());
        ssize_t got = recv(sock_, chunk_.data(), want, 0);
        if (got > 0) {
            rx_.append(chunk_.data(), static_cast<size_t>(got));
            continue;
        }
        if (got == 0) {
            fail(error, "connection closed");
            return false;
        }
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            fail(error, errnoText("recv failed"));
            return false;
        }
        pollfd p{sock_, POLLIN, 0};
        int r = poll(&p, 1, remainingMs(deadline));
        if (r == 0) {
            fail(error, "timeout");
            return false;
        }
    }
    return true;
}

std::optional<Message> Engine::receive(int timeoutMs, std::string* error) {
    lastInvalid_.reset();
    if (sock_ < 0) {
        fail(error, "not connected");
        return std::nullopt;
    }
    const int64_t deadline = deadlineAfter(timeoutMs);
    if (!fillTo(kHeaderSize, deadline, error)) return std::nullopt;
    uint32_t size = 0;
    std::string err;
    // A header whose size cannot be trusted leaves the stream unframed; drop the link.
    if (!checkHeader(rx_.substr(0, kHeaderSize), &size, &err) || size > kMaxBodySize) {
        if (err.empty()) err = "body size " + std::to_string(size) + " exceeds limit";
        closeConnection();
        fail(error, err + " (connection dropped)");
        return std::nullopt;
    }
    rx_.reserve(kHeaderSize + size);  // a paint is megabytes: no regrowing on the way
    if (!fillTo(kHeaderSize + size, deadline, error)) return std::nullopt;
    // fillTo never reads past the frame, so rx_ holds exactly this one.
    std::string frame = std::move(rx_);
    rx_.clear();
    std::string_view header(frame.data(), kHeaderSize), body(frame.data() + kHeaderSize, size);
    auto m = decodeFrame(header, body, &err);
    if (!m) {
        Invalid bad;
        bad.paint = getLe32(header.data() + 16) == kFormatPaint;
        bad.why = err;
        if (bad.paint && body.size() >= 4)
            bad.id = getLe32(body.data());
        else if (!bad.paint)
            bad.id = eventId(body);
        lastInvalid_ = std::move(bad);
        fail(error, err);
    }
    return m;
}

std::optional<Event> Engine::waitEvent(const std::string& name, int id, int timeoutMs,
                                       std::vector<Message>* skipped) {
    const int64_t deadline = deadlineAfter(timeoutMs);
    for (;;) {
        auto m = receive(remainingMs(deadline));
        if (!m) {
            lastError_ = "waiting for " + name + " id " + std::to_string(id) + ": " + lastError_;
            return std::nullopt;
        }
        if (m->kind == Message::Kind::Event && m->event.name == name && m->event.id == id) return m->event;
        if (skipped) skipped->push_back(std::move(*m));
    }
}

std::optional<Paint> Engine::waitPaint(int id, int timeoutMs, std::vector<Message>* skipped) {
    const int64_t deadline = deadlineAfter(timeoutMs);
    for (;;) {
        auto m = receive(remainingMs(deadline));
        if (!m) {
            lastError_ = "waiting for paint id " + std::to_string(id) + ": " + lastError_;
            return std::nullopt;
        }
        if (m->kind == Message::Kind::Paint && m->paint.id == id) return std::move(m->paint);
        if (skipped) skipped->push_back(std::move(*m));
    }
}

bool Engine::expectSilence(int ms) {
    if (!rx_.empty()) {
        lastError_ = "unread partial frame already buffered";
        return false;
    }
    std::string err;
    auto m = receive(ms, &err);
    if (m) {
        lastError_ = "unexpected " + std::string(m->kind == Message::Kind::Event ? "event " + m->event.name : "paint");
        return false;
    }
    if (err == "timeout" && rx_.empty()) return true;
    lastError_ = err == "timeout" ? "partial frame arrived" : err;
    return false;
}

// ---------------------------------------------------------------------------
// Exit status

bool Engine::reap(bool block) const {
    std::lock_guard<std::mutex> lock(procMutex_);
    if (reaped_) return true;
    if (pid_ <= 0) return false;
    int st = 0;
    pid_t r;
    while ((r = waitpid(pid_, &st, block ? 0 : WNOHANG)) < 0 && errno == EINTR) {
    }
    if (r == pid_) {
        reaped_ = true;
        status_ = st;
    }
    return reaped_;
}

bool Engine::waitExit(int timeoutMs) {
    const int64_t deadline = deadlineAfter(timeoutMs);
    while (!reap(false)) {
        int left = remainingMs(deadline);
        if (left == 0) {
            lastError_ = "engine still running after " + std::to_string(timeoutMs) + " ms";
            return false;
        }
        if (pidfd_ >= 0) {
            pollfd p{pidfd_, POLLIN, 0};
            poll(&p, 1, left);
        } else {
            // No pidfd support: re-check in short slices, still bounded by the deadline.
            std::unique_lock<std::mutex> lock(outMutex_);
            outCv_.wait_for(lock, std::chrono::milliseconds(std::min(left, 10)));
        }
    }
    return true;
}

bool Engine::exited() const { return reap(false); }

int Engine::exitStatus() const {
    reap(false);
    std::lock_guard<std::mutex> lock(procMutex_);
    return status_;
}

bool Engine::exitedBySignal() const { return exited() && WIFSIGNALED(exitStatus()); }

int Engine::exitSignal() const { return exitedBySignal() ? WTERMSIG(exitStatus()) : 0; }

int Engine::exitCode() const {
    return exited() && WIFEXITED(exitStatus()) ? WEXITSTATUS(exitStatus()) : -1;
}

void Engine::kill() {
    if (pid_ > 0 && !reap(false)) {
        ::kill(pid_, SIGKILL);
        reap(true);
    }
}

std::string Engine::describeExit() const {
    if (!exited()) return "still running";
    if (exitedBySignal()) return "killed by signal " + std::to_string(exitSignal());
    return "exit status " + std::to_string(exitCode());
}

}  // namespace client
