#include "session.h"

#include "tree_file.h"

#include <json/json.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <sstream>

namespace snapshot {

namespace {

// Messages taken in one go before anything is judged quiet.
constexpr int kBurst = 64;

// Rendered into the pool's own window to set the scale before any tree window exists.
const char* const kPrimingTree = R"({"widgetType": "efl.bg", "wid": "render-snapshot"})";

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

// "request <id> CMD_RENDER: <what>": the engine names the window it rendered.
bool renderLine(const std::string& line, int& id, std::string& what)
{
    const std::string head = "request ", tail = " CMD_RENDER: ";
    if (line.rfind(head, 0) != 0)
        return false;
    size_t digits = head.size(), end = digits;
    while (end < line.size() && end - digits < 9 && line[end] >= '0' && line[end] <= '9')
        ++end;
    if (end == digits || line.compare(end, tail.size(), tail) != 0)
        return false;
    id = std::atoi(line.substr(digits, end - digits).c_str());
    what = line.substr(end + tail.size());
    return true;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            out.push_back(line);
    return out;
}

}  // namespace

Session::Session(const Options& options, std::string enginePath, std::string workdir)
    : options_(options), enginePath_(std::move(enginePath)), workdir_(std::move(workdir)),
      pool_(options.windows, options.quietMs, options.maxWaitMs)
{
}

Session::~Session() = default;

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

bool Session::send(const WindowPool::Request& r, const std::string& treeText)
{
    using Kind = WindowPool::Request::Kind;
    if (r.kind == Kind::Create)
        return engine_->sendRequest(r.windowId, "CMD_CREATE", createData());
    if (r.kind == Kind::Destroy)
        return engine_->sendRequest(r.windowId, "CMD_DESTROY", "");
    Json::Value d;
    d["width"] = options_.width;
    d["height"] = options_.height;
    d["render-data"] = r.kind == Kind::Prime ? kPrimingTree : r.kind == Kind::Reset ? resetData_ : treeText;
    return engine_->sendRequest(r.windowId, "CMD_RENDER", compact(d));
}

// No tree is in an engine before it has made its first window, so one that
// is lost on the way up (killed, say) is started once more before the run
// gives up on it.
bool Session::ensureStarted(std::string& error)
{
    return engine_ || startEngine(error) || startEngine(error);
}

bool Session::startEngine(std::string& error)
{
    client::Engine::Options o;
    o.binary = enginePath_;
    o.workdir = workdir_;
    o.handshakeTimeoutMs = kStartupMs;
    engine_ = client::Engine::start(o, &error);
    if (!engine_)
        return false;
    engine_->setSendTimeoutMs(kStartupMs);
    stderrSeen_ = 0;
    windowLines_.clear();
    otherLines_.clear();
    deferred_.clear();
    // The answer to the first request bounds the engine's start-up.
    std::vector<WindowPool::Request> first = pool_.restart();
    std::vector<client::Message> skipped;
    std::optional<client::Event> created;
    if (send(first[0], "") && send(first[1], ""))
        created = engine_->waitEvent(kFenceEvent, first[0].windowId, kStartupMs, &skipped);
    if (!created) {
        error = "the engine made no window: " + engine_->lastError();
        engine_.reset();
        return false;
    }
    skipped.emplace_back();
    skipped.back().event = std::move(*created);
    for (client::Message& m : skipped)
        pool_.onMessage(m, nowMs());
    return true;
}

void Session::render(size_t tag, int slot, const std::string& treeText)
{
    // Values the trees before left in the engine are put back first, so the
    // picture is the one this tree gives in a fresh engine.
    std::optional<Json::Value> reset = deferred_.resetTree();
    resetData_ = reset ? compact(*reset) : "";
    deferred_.clear();
    Json::Value tree;
    std::string ignored;
    if (checkTreeText(treeText, ignored, nullptr, &tree))
        deferred_.absorb(tree);
    for (const WindowPool::Request& r : pool_.start(tag, slot, nowMs(), reset.has_value()))
        if (!send(r, treeText)) {
            lose("cannot send to the engine: " + engine_->lastError());
            return;
        }
    std::optional<WindowPool::Request> marker = pool_.markerDue(nowMs());
    if (marker && !send(*marker, ""))
        lose("cannot send to the engine: " + engine_->lastError());
}

// Sorts the engine's new diagnostic lines by the window they are about.
void Session::absorbDiagnostics()
{
    std::string all = engine_->stderrText();
    size_t end = all.rfind('\n');
    if (end == std::string::npos || end + 1 <= stderrSeen_)
        return;
    std::string fresh = all.substr(stderrSeen_, end + 1 - stderrSeen_);
    stderrSeen_ = end + 1;
    const std::string prefix = "render-engine: ";
    for (std::string& line : lines(fresh)) {
        if (line.rfind(prefix, 0) != 0)
            continue;
        line.erase(0, prefix.size());
        int id = 0;
        std::string what;
        if (renderLine(line, id, what))
            windowLines_[id].push_back(what);
        else
            otherLines_.push_back(line);
    }
}

// Every tree in the engine fails with it; the engine is restarted on the next
// render. A tree that was alone in it gets the engine's last words.
void Session::lose(const std::string& why, const std::vector<std::pair<size_t, int>>& alsoLost)
{
    std::string error = why;
    if (engine_->waitExit(1000))
        error = "the engine died ("
            + (engine_->exitedBySignal() ? "killed by signal " + std::to_string(engine_->exitSignal())
                                         : "exit status " + std::to_string(engine_->exitCode()))
            + ")";
    std::string all = engine_->stderrText();
    std::vector<std::string> lastWords = lines(all.substr(std::min(stderrSeen_, all.size())));
    if (lastWords.size() > kLastWords)
        lastWords.erase(lastWords.begin(), lastWords.end() - kLastWords);
    absorbDiagnostics();
    std::vector<std::pair<size_t, int>> trees = pool_.busyTrees();
    trees.insert(trees.end(), alsoLost.begin(), alsoLost.end());
    for (auto [tag, window] : trees) {
        Finished f { tag, {} };
        f.result.error = error;
        f.result.engineLost = true;
        f.result.alone = trees.size() == 1;
        if (f.result.alone) {
            f.result.diagnostics = std::move(windowLines_[window]);
            f.result.diagnostics.insert(f.result.diagnostics.end(), lastWords.begin(), lastWords.end());
        }
        lost_.push_back(std::move(f));
    }
    engine_.reset();
}

std::vector<Session::Finished> Session::collect()
{
    std::vector<Finished> out = takeLost();
    if (!engine_ || !out.empty())
        return out;
    if (auto marker = pool_.markerDue(nowMs()); marker && !send(*marker, "")) {
        lose("cannot send to the engine: " + engine_->lastError());
        return takeLost();
    }
    // Everything already here is taken in before anything is judged quiet.
    std::string error;
    int wait = pool_.waitMs(nowMs());
    for (int taken = 0; taken < kBurst; ++taken) {
        error.clear();
        auto m = engine_->receive(taken == 0 ? wait : 0, &error);
        if (!m && engine_->lastInvalid()) {
            reject(*engine_->lastInvalid());
            continue;
        }
        if (!m)
            break;
        pool_.onMessage(*m, nowMs());
    }
    if (!error.empty() && error != "timeout") {
        lose("lost the engine: " + error);
        return takeLost();
    }
    absorbDiagnostics();
    out = std::move(rejected_);
    rejected_.clear();
    std::vector<std::pair<size_t, int>> stuck;
    for (WindowPool::Done& d : pool_.takeDone(nowMs())) {
        if (d.state == FrameSettler::State::Stuck) {
            stuck.emplace_back(d.tag, d.windowId);
            continue;
        }
        if (d.state == FrameSettler::State::NoFrame) {
            out.push_back(failure(d.tag, d.windowId, "the engine drew no frame for this tree"));
            continue;
        }
        Finished f { d.tag, {} };
        Result& r = f.result;
        r.ok = true;
        r.timedOut = d.state == FrameSettler::State::StillDrawing;
        r.frame = std::move(d.frame);
        r.frames = d.frames;
        r.renderMs = double(nowMs() - d.startedAt);
        r.diagnostics = std::move(otherLines_);
        otherLines_.clear();
        std::vector<std::string>& own = windowLines_[d.windowId];
        r.diagnostics.insert(r.diagnostics.end(), own.begin(), own.end());
        windowLines_.erase(d.windowId);  // the window serves no other tree
        out.push_back(std::move(f));
    }
    if (!stuck.empty())
        lose("the engine ran no request for " + std::to_string(kStuckMs / 1000) + " s; it is restarted", stuck);
    for (Finished& f : takeLost())
        out.push_back(std::move(f));
    return out;
}

Session::Finished Session::failure(size_t tag, int window, std::string error)
{
    Finished f { tag, {} };
    f.result.error = std::move(error);
    f.result.diagnostics = std::move(windowLines_[window]);
    windowLines_.erase(window);
    return f;
}

void Session::reject(const client::Invalid& bad)
{
    std::string what = std::string("the engine sent an invalid ") + (bad.paint ? "paint" : "event") + ": " + bad.why;
    std::optional<size_t> tag = bad.id ? pool_.abandon(*bad.id) : std::nullopt;
    if (tag) {
        absorbDiagnostics();
        rejected_.push_back(failure(*tag, *bad.id, what));
        return;
    }
    otherLines_.push_back(what + (bad.id ? " (window " + std::to_string(*bad.id) + ", no tree in it)" : ""));
}

std::vector<Session::Finished> Session::takeLost()
{
    std::vector<Finished> out = std::move(lost_);
    lost_.clear();
    return out;
}

}  // namespace snapshot
