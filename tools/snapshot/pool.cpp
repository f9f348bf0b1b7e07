#include "pool.h"

#include <algorithm>
#include <climits>

namespace snapshot {

WindowPool::WindowPool(int size, int quietMs, int maxWaitMs)
    : quietMs_(quietMs), maxWaitMs_(maxWaitMs), slots_(size_t(std::max(size, 1)))
{
}

std::vector<WindowPool::Request> WindowPool::restart()
{
    for (Slot& s : slots_)
        s = Slot();
    nextId_ = kOwnWindow + 1;
    answers_.clear();
    sent_ = lastMarker_ = hasRun_ = 0;
    lastMarkerAt_ = previousMarkerAt_ = 0;
    sendMarker(kOwnWindow, 0);
    ++sent_;
    return { Request { Request::Kind::Create, kOwnWindow }, Request { Request::Kind::Prime, kOwnWindow } };
}

WindowPool::Slot* WindowPool::find(int id)
{
    if (id <= kOwnWindow)
        return nullptr;  // the pool's own, or a slot whose window is not made yet
    for (Slot& s : slots_)
        if (s.id == id)
            return &s;
    return nullptr;
}

bool WindowPool::isFree(int slot) const
{
    return slot >= 0 && slot < size() && !slots_[size_t(slot)].busy;
}

size_t WindowPool::busy() const
{
    return size_t(std::count_if(slots_.begin(), slots_.end(), [](const Slot& s) { return s.busy.has_value(); }));
}

std::vector<std::pair<size_t, int>> WindowPool::busyTrees() const
{
    std::vector<std::pair<size_t, int>> trees;
    for (const Slot& s : slots_)
        if (s.busy)
            trees.emplace_back(s.busy->tag, s.id);
    return trees;
}

std::vector<WindowPool::Request> WindowPool::start(size_t tag, int slot, int64_t nowMs, bool reset)
{
    std::vector<Request> out;
    if (!isFree(slot))
        return out;
    Slot& s = slots_[size_t(slot)];
    if (s.id != 0) {
        ++sent_;
        out.push_back(Request { Request::Kind::Destroy, s.id });
    }
    // From here on a message of the old id is nobody's.
    s.id = nextId_++;
    sendMarker(s.id, nowMs);
    out.push_back(Request { Request::Kind::Create, s.id });
    if (reset) {
        ++sent_;
        out.push_back(Request { Request::Kind::Reset, kOwnWindow });
    }
    uint64_t seq = ++sent_;
    s.busy.emplace(Busy { tag, seq, seq - hasRun_ - 1, nowMs,
                          FrameSettler(s.id, quietMs_, maxWaitMs_, nowMs) });
    out.push_back(Request { Request::Kind::Render, s.id });
    return out;
}

// A render still needs a marker when it is not known to have run and no
// marker was sent after it.
bool WindowPool::unmarked(const Busy& b) const
{
    return !b.settler.executed() && b.seq > lastMarker_;
}

// When a render that has not proven itself gets a marker: one that draws
// nothing gives no sign of having run. It is given the ticks of the requests
// that were ahead of it, one per window for trees ahead of it that take
// longer than a tick to build, and two for the tick's phase and its frame.
int64_t WindowPool::markerDeadline(const Busy& b) const
{
    int64_t ticks = int64_t(b.ahead) + size() + 2;
    return b.startedAt + ticks * kTickMs;
}

// A window quiet for its whole period is confirmed by the answers to two
// markers (settle.h), both sent once the period is over; the engine runs the
// second a tick after the first, so they go back to back. When the next
// marker for it is due, if one is still missing.
std::optional<int64_t> WindowPool::quietMarkerDue(const Busy& b) const
{
    std::optional<FrameSettler::Wanted> w = b.settler.answerWanted();
    if (!w)
        return std::nullopt;
    bool missing = w->after == 0 ? previousMarkerAt_ < w->from : lastMarker_ <= w->after;
    return missing ? std::optional<int64_t>(w->from) : std::nullopt;
}

// The creation of a window (window 1's only answers): its answer is known
// to come after every request sent before it.
void WindowPool::sendMarker(int windowId, int64_t nowMs)
{
    lastMarker_ = ++sent_;
    previousMarkerAt_ = lastMarkerAt_;
    lastMarkerAt_ = nowMs;
    answers_.push_back(Answer { lastMarker_, windowId, nowMs });
}

std::optional<WindowPool::Request> WindowPool::markerDue(int64_t nowMs)
{
    bool due = std::any_of(slots_.begin(), slots_.end(), [&](const Slot& s) {
        if (!s.busy)
            return false;
        std::optional<int64_t> quiet = quietMarkerDue(*s.busy);
        return (unmarked(*s.busy) && nowMs >= markerDeadline(*s.busy)) || (quiet && nowMs >= *quiet);
    });
    if (!due)
        return std::nullopt;
    // Window 1 exists as long as the engine does; creating it again only answers.
    sendMarker(kOwnWindow, nowMs);
    return Request { Request::Kind::Create, kOwnWindow };
}

// Request `seq` has run, so every request sent before it has run too.
void WindowPool::proven(uint64_t seq, int64_t nowMs)
{
    hasRun_ = std::max(hasRun_, seq);
    for (Slot& s : slots_)
        if (s.busy && s.busy->seq <= seq)
            s.busy->settler.onExecuted(nowMs);
}

void WindowPool::onMessage(client::Message& m, int64_t nowMs)
{
    bool paint = m.kind == client::Message::Kind::Paint;
    int id = paint ? m.paint.id : m.event.id;
    bool fence = !paint && m.event.name == kFenceEvent;
    for (Slot& s : slots_)
        if (s.busy && (fence || s.id != id))
            s.busy->settler.onOtherMessage();
    if (fence) {
        // Answers come in the order sent; one missing (a window the engine
        // could not make) is passed over by the next.
        auto it = std::find_if(answers_.begin(), answers_.end(), [&](const Answer& a) { return a.windowId == id; });
        if (it == answers_.end())
            return;
        Answer a = *it;
        answers_.erase(answers_.begin(), it + 1);
        proven(a.seq, nowMs);
        for (Slot& s : slots_)
            if (s.busy)
                s.busy->settler.onAnswer(a.seq, a.sentAt);
        return;
    }
    // A new window's first, empty frame reaches the settler of its tree,
    // which is sent with the window's creation.
    Slot* s = find(id);
    if (!s || !s->busy)
        return;  // a tree that settled and still draws, or a window destroyed
    FrameSettler& settler = s->busy->settler;
    bool executed = settler.executed();
    settler.onMessage(m, nowMs);
    if (!executed && settler.executed())
        proven(s->busy->seq, nowMs);  // its window's first tree frame
}

std::vector<WindowPool::Done> WindowPool::takeDone(int64_t nowMs)
{
    std::vector<Done> out;
    for (Slot& s : slots_) {
        if (!s.busy)
            continue;
        FrameSettler& settler = s.busy->settler;
        FrameSettler::State state = settler.state(nowMs);
        if (state == FrameSettler::State::Waiting)
            continue;
        Done d;
        d.tag = s.busy->tag;
        d.windowId = s.id;
        d.state = state;
        d.frames = settler.framesSeen();
        d.startedAt = s.busy->startedAt;
        // Only a proven render's frame is a picture; what the window shows
        // after any other is not known.
        if (d.hasPicture())
            d.frame = settler.takeFrame();
        s.busy.reset();
        out.push_back(std::move(d));
    }
    return out;
}

std::optional<size_t> WindowPool::abandon(int id)
{
    Slot* s = find(id);
    if (!s || !s->busy)
        return std::nullopt;
    size_t tag = s->busy->tag;
    s->busy.reset();
    return tag;
}

int WindowPool::waitMs(int64_t nowMs) const
{
    int64_t wait = INT_MAX;
    for (const Slot& s : slots_) {
        if (!s.busy)
            continue;
        wait = std::min<int64_t>(wait, s.busy->settler.waitMs(nowMs));
        if (unmarked(*s.busy))
            wait = std::min<int64_t>(wait, std::max<int64_t>(markerDeadline(*s.busy) - nowMs, 0));
        if (std::optional<int64_t> quiet = quietMarkerDue(*s.busy))
            wait = std::min<int64_t>(wait, std::max<int64_t>(*quiet - nowMs, 0));
    }
    return int(wait);
}

}  // namespace snapshot
