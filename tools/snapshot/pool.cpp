#include "pool.h"

#include <algorithm>
#include <climits>

namespace snapshot {

WindowPool::WindowPool(int size, int group, int quietMs, int maxWaitMs)
    : group_(std::max(group, 1)), quietMs_(quietMs), maxWaitMs_(maxWaitMs)
{
    for (int slot = 0; slot < std::max(size, 1); ++slot)
        windows_.emplace_back(kOwnWindow + 1 + slot);
}

std::vector<WindowPool::Request> WindowPool::restart()
{
    for (Window& w : windows_)
        w = Window(w.id);
    answers_.clear();
    sent_ = lastMarker_ = seemsRun_ = 0;
    lastMarker_ = ++sent_;
    answers_.emplace_back(lastMarker_, kOwnWindow);
    ++sent_;
    return { Request { Request::Kind::Create, kOwnWindow }, Request { Request::Kind::Prime, kOwnWindow } };
}

WindowPool::Window* WindowPool::find(int id)
{
    for (Window& w : windows_)
        if (w.id == id)
            return &w;
    return nullptr;
}

bool WindowPool::isFree(int slot) const
{
    return slot >= 0 && slot < size() && !windows_[size_t(slot)].busy;
}

size_t WindowPool::busy() const
{
    return size_t(std::count_if(windows_.begin(), windows_.end(), [](const Window& w) { return w.busy.has_value(); }));
}

std::vector<std::pair<size_t, int>> WindowPool::busyTrees() const
{
    std::vector<std::pair<size_t, int>> trees;
    for (const Window& w : windows_)
        if (w.busy)
            trees.emplace_back(w.busy->tag, w.id);
    return trees;
}

std::vector<WindowPool::Request> WindowPool::start(size_t tag, int slot, int64_t nowMs, bool reset)
{
    std::vector<Request> out;
    if (!isFree(slot))
        return out;
    Window& w = windows_[size_t(slot)];
    if (!w.made) {
        w.made = true;
        lastMarker_ = ++sent_;
        answers_.emplace_back(lastMarker_, w.id);
        out.push_back(Request { Request::Kind::Create, w.id });
    }
    if (reset) {
        ++sent_;
        out.push_back(Request { Request::Kind::Reset, kOwnWindow });
    }
    const Frame* previous = w.empty ? &*w.empty : nullptr;
    bool fresh = !w.rendered;
    uint64_t seq = ++sent_;
    w.busy.emplace(Busy { tag, seq, seq - seemsRun_ - 1, nowMs, fresh,
                          FrameSettler(w.id, quietMs_, maxWaitMs_, nowMs, previous, fresh) });
    w.rendered = true;
    w.empty.reset();
    out.push_back(Request { Request::Kind::Render, w.id });
    return out;
}

// A render still needs a marker when it is not known to have run and no
// marker was sent after it.
bool WindowPool::unmarked(const Busy& b) const
{
    return !b.settler.executed() && b.seq > lastMarker_;
}

// When a render waiting for a marker gets one even if the group is not full:
// one that draws nothing gives no sign of having run. It is given the ticks
// of the requests that were ahead of it, and of a group behind it; a
// window's first render, which proves itself, a group more.
int64_t WindowPool::markerDeadline(const Busy& b) const
{
    int64_t ticks = int64_t(b.ahead) + (b.fresh ? 2 : 1) * group_ + 2;
    return b.startedAt + ticks * kTickMs;
}

std::optional<WindowPool::Request> WindowPool::markerDue(int64_t nowMs)
{
    size_t waiting = 0;
    bool overdue = false;
    for (const Window& w : windows_) {
        if (!w.busy || !unmarked(*w.busy))
            continue;
        waiting += w.busy->fresh ? 0 : 1;
        overdue = overdue || nowMs >= markerDeadline(*w.busy);
    }
    // An idle engine runs the marker at once and no render waits behind it.
    bool idle = seemsRun_ >= sent_ && waiting > 0;
    if (waiting < size_t(group_) && !idle && !overdue)
        return std::nullopt;
    // Window 1 exists as long as the engine does; creating it again only answers.
    lastMarker_ = ++sent_;
    answers_.emplace_back(lastMarker_, kOwnWindow);
    return Request { Request::Kind::Create, kOwnWindow };
}

// Request `seq` has run, so every request sent before it has run too.
void WindowPool::proven(uint64_t seq, int64_t nowMs)
{
    seemsRun_ = std::max(seemsRun_, seq);
    for (Window& w : windows_)
        if (w.busy && w.busy->seq <= seq)
            w.busy->settler.onExecuted(nowMs);
}

void WindowPool::onMessage(client::Message& m, int64_t nowMs)
{
    bool paint = m.kind == client::Message::Kind::Paint;
    int id = paint ? m.paint.id : m.event.id;
    bool fence = !paint && m.event.name == kFenceEvent;
    for (Window& w : windows_)
        if (w.busy && (fence || w.id != id))
            w.busy->settler.onOtherMessage();
    if (fence) {
        // Answers come in the order sent; one missing (a window the engine
        // could not make) is passed over by the next.
        auto it = std::find_if(answers_.begin(), answers_.end(), [&](const auto& a) { return a.second == id; });
        if (it == answers_.end())
            return;
        uint64_t ran = it->first;
        answers_.erase(answers_.begin(), it + 1);
        proven(ran, nowMs);
        return;
    }
    // A new window's first, empty frame reaches the settler of its first
    // tree, which is sent with the window's creation.
    Window* w = find(id);
    if (!w || !w->busy)
        return;  // a tree that settled and still draws
    FrameSettler& settler = w->busy->settler;
    bool executed = settler.executed();
    settler.onMessage(m, nowMs);
    if (!executed && settler.executed())
        proven(w->busy->seq, nowMs);  // a first tree in its window
    else if (settler.sawTreeFrame())
        seemsRun_ = std::max(seemsRun_, w->busy->seq);
}

std::vector<WindowPool::Done> WindowPool::takeDone(int64_t nowMs)
{
    std::vector<Done> out;
    for (Window& w : windows_) {
        if (!w.busy)
            continue;
        FrameSettler& s = w.busy->settler;
        FrameSettler::State state = s.state(nowMs);
        if (state == FrameSettler::State::Waiting)
            continue;
        Done d;
        d.tag = w.busy->tag;
        d.windowId = w.id;
        d.state = state;
        d.frames = s.framesSeen();
        d.startedAt = w.busy->startedAt;
        // Only a proven render's frame is a picture; what the window shows
        // after any other is not known.
        if (d.hasPicture())
            d.frame = s.takeFrame();
        if (d.hasPicture() && !d.frame.hasWidgets)
            w.empty = d.frame;
        w.busy.reset();
        out.push_back(std::move(d));
    }
    return out;
}

std::optional<size_t> WindowPool::abandon(int id)
{
    Window* w = find(id);
    if (!w || !w->busy)
        return std::nullopt;
    size_t tag = w->busy->tag;
    w->busy.reset();
    w->empty.reset();
    return tag;
}

int WindowPool::waitMs(int64_t nowMs) const
{
    int64_t wait = INT_MAX;
    for (const Window& w : windows_)
        if (w.busy)
            wait = std::min<int64_t>(wait, w.busy->settler.waitMs(nowMs));
    for (const Window& w : windows_)
        if (w.busy && unmarked(*w.busy))
            wait = std::min<int64_t>(wait, std::max<int64_t>(markerDeadline(*w.busy) - nowMs, 0));
    return int(wait);
}

}  // namespace snapshot
