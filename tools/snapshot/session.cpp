#include "session.h"

#include <json/json.h>

#include <chrono>
#include <sstream>

namespace snapshot {

namespace {

int64_t nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string compact(const Json::Value& v)
{
    Json::StreamWriterBuilder b;
    b["indentation"] = "";
    return Json::writeString(b, v);
}

}  // namespace

Session::Session(const Options& options, std::string enginePath, std::string workdir)
    : options_(options), enginePath_(std::move(enginePath)), workdir_(std::move(workdir))
{
}

Session::~Session()
{
    if (engine_)
        discardEngine();
}

// The toolkit starts a desktop-entry daemon that inherits the engine's output
// pipes and outlives it; destroying the client would wait for those pipes to
// close. The engine is killed and reaped, and the client object left behind
// with its idle reader threads.
void Session::discardEngine()
{
    engine_->kill();
    (void)engine_.release();
}

std::string Session::createData() const
{
    Json::Value d;
    d["width"] = options_.width;
    d["height"] = options_.height;
    const std::pair<const char*, const std::string*> texts[] = {
        { "project-path", &options_.project },
        { "elm-profile", &options_.profile },
        { "default-theme-path", &options_.theme },
        { "custom-theme-path", &options_.overlayTheme },
    };
    for (auto [key, value] : texts)
        if (!value->empty())
            d[key] = *value;
    return compact(d);
}

bool Session::ensureStarted(std::string& error)
{
    if (engine_)
        return true;
    client::Engine::Options o;
    o.binary = enginePath_;
    o.workdir = workdir_;
    o.handshakeTimeoutMs = kStartupMs;
    engine_ = client::Engine::start(o, &error);
    if (!engine_)
        return false;
    engine_->setSendTimeoutMs(kStartupMs);
    stderrSeen_ = 0;
    last_.reset();
    if (!engine_->sendRequest(kWindowId, "CMD_CREATE", createData())
        || !engine_->waitEvent(kFenceEvent, kWindowId, kStartupMs)) {
        error = "the engine made no window: " + engine_->lastError();
        discardEngine();
        return false;
    }
    // A new window first shows empty; that frame stands for a first tree of
    // which nothing can be built.
    if (auto empty = engine_->waitPaint(kWindowId, kFirstPaintMs)) {
        last_.emplace();
        last_->paint = std::move(*empty);
    }
    return true;
}

// The engine is dropped (killed if still running) and restarted on the next
// render; its last words are kept for takeDiagnostics.
void Session::stop(Result& r, const std::string& what)
{
    r.error = what;
    if (engine_->waitExit(1000))
        r.error = "the engine died ("
            + (engine_->exitedBySignal() ? "killed by signal " + std::to_string(engine_->exitSignal())
                                         : "exit status " + std::to_string(engine_->exitCode()))
            + ")";
    std::string all = engine_->stderrText();
    stderrOfLastEngine_ = all.substr(std::min(stderrSeen_, all.size()));
    discardEngine();
    last_.reset();
}

Session::Result Session::render(const std::string& treeText)
{
    Result r;
    Json::Value d;
    d["width"] = options_.width;
    d["height"] = options_.height;
    d["render-data"] = treeText;
    int64_t start = nowMs();
    // The second create only answers; its answer marks that the render has run.
    if (!engine_->sendRequest(kWindowId, "CMD_RENDER", compact(d))
        || !engine_->sendRequest(kWindowId, "CMD_CREATE", createData())) {
        stop(r, "cannot send to the engine: " + engine_->lastError());
        return r;
    }
    FrameSettler settler(kWindowId, options_.quietMs, options_.maxWaitMs, start, last_ ? &*last_ : nullptr);
    for (;;) {
        int64_t now = nowMs();
        FrameSettler::State s = settler.state(now);
        if (s != FrameSettler::State::Waiting) {
            r.timedOut = s == FrameSettler::State::TimedOut;
            break;
        }
        std::string error;
        auto m = engine_->receive(settler.waitMs(now), &error);
        if (m) {
            settler.onMessage(*m, nowMs());
        } else if (error != "timeout") {
            stop(r, "lost the engine: " + error);
            return r;
        }
    }
    r.frames = settler.framesSeen();
    if (!settler.hasFrame()) {
        stop(r, "no frame within " + std::to_string(options_.maxWaitMs) + " ms; the engine is restarted");
        return r;
    }
    r.frame = settler.takeFrame();
    last_ = r.frame;
    r.ok = true;
    return r;
}

std::vector<std::string> Session::takeDiagnostics()
{
    std::vector<std::string> lines;
    if (!engine_) {
        // A failed engine's last lines, whatever they are, may say why.
        std::istringstream in(stderrOfLastEngine_);
        for (std::string line; std::getline(in, line);)
            if (!line.empty())
                lines.push_back(line);
        stderrOfLastEngine_.clear();
        if (lines.size() > kLastWords)
            lines.erase(lines.begin(), lines.end() - kLastWords);
        return lines;
    }
    std::string all = engine_->stderrText();
    size_t end = all.rfind('\n');
    if (end == std::string::npos || end + 1 <= stderrSeen_)
        return lines;
    std::istringstream in(all.substr(stderrSeen_, end + 1 - stderrSeen_));
    stderrSeen_ = end + 1;
    const std::string prefix = "render-engine: ";
    // The request prefix names our own window and command; it says nothing here.
    const std::string ours = "request " + std::to_string(kWindowId) + " CMD_RENDER: ";
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(prefix, 0) != 0)
            continue;
        line.erase(0, prefix.size());
        if (line.rfind(ours, 0) == 0)
            line.erase(0, ours.size());
        lines.push_back(line);
    }
    return lines;
}

}  // namespace snapshot
