#include "settle.h"

#include <algorithm>
#include <climits>

namespace snapshot {

FrameSettler::FrameSettler(int windowId, int quietMs, int maxWaitMs, int64_t startMs)
    : id_(windowId), quietMs_(quietMs), maxWaitMs_(maxWaitMs), stuckAt_(startMs + kStuckMs)
{
}

void FrameSettler::onMessage(client::Message& m, int64_t nowMs)
{
    Expect expected = expect_;
    expect_ = Expect::Nothing;
    if (m.kind == client::Message::Kind::Paint) {
        if (m.paint.id != id_)
            return;
        confirmed_ = 0;
        frame_.emplace();
        frame_->paint = std::move(m.paint);
        lastFrameAt_ = nowMs;
        expect_ = Expect::Widgets;
        ++frames_;
        return;
    }
    const client::Event& e = m.event;
    if (e.id != id_)
        return;
    // Position events count only right after their paint: a query's answer
    // carries the same names but belongs to no frame.
    if (expected == Expect::Widgets && e.name == "EVENT_GET_ALL_WIDGET_POSITIONS") {
        frame_->widgets = e.data;
        frame_->hasWidgets = true;
        lastFrameAt_ = nowMs;
        confirmed_ = 0;
        expect_ = Expect::Placeholders;
        // The window never had another tree: only this render can have
        // drawn positions in it.
        if (!executedAt_)
            executedAt_ = nowMs;
    } else if (expected == Expect::Placeholders && e.name == "EVENT_GET_PLACEHOLDER_POSITIONS") {
        frame_->placeholders = e.data;
        frame_->hasPlaceholders = true;
        lastFrameAt_ = nowMs;
        confirmed_ = 0;
    }
}

void FrameSettler::onExecuted(int64_t nowMs)
{
    if (executedAt_)
        return;
    executedAt_ = nowMs;
    confirmed_ = 0;
}

// The first answer must be to a marker sent once the window had been quiet
// for the whole period; the second to any marker after it, which the engine
// runs a tick later, after drawing what was due when it ran the first.
// `after` 0 stands for both still to come.
std::optional<FrameSettler::Wanted> FrameSettler::answerWanted() const
{
    if (!executedAt_ || !frame_ || confirmed_ >= 2)
        return std::nullopt;
    if (confirmed_ == 0)
        return Wanted { quietFrom() + quietMs_, 0 };
    return Wanted { 0, confirmedSeq_ };
}

void FrameSettler::onAnswer(uint64_t seq, int64_t sentMs)
{
    std::optional<Wanted> w = answerWanted();
    if (!w || sentMs < w->from || seq <= w->after)
        return;
    ++confirmed_;
    confirmedSeq_ = seq;
}

// The render's own frame may come just after the marker's answer, so the
// quiet period runs from the later of the two.
int64_t FrameSettler::quietFrom() const
{
    return frame_ ? std::max(lastFrameAt_, *executedAt_) : *executedAt_;
}

// A paint whose positions may still come is not a frame yet; one that
// nothing follows for the whole wait had none.
bool FrameSettler::complete(int64_t nowMs) const
{
    return expect_ == Expect::Nothing || nowMs - *executedAt_ >= maxWaitMs_;
}

FrameSettler::State FrameSettler::state(int64_t nowMs) const
{
    if (!executedAt_)
        return nowMs >= stuckAt_ ? State::Stuck : State::Waiting;
    bool late = nowMs - *executedAt_ >= maxWaitMs_;
    // A canvas the toolkit draws in its worker thread may still send the
    // render's first frame after the answer: it gets the maximum wait.
    if (!frame_)
        return late ? State::NoFrame : State::Waiting;
    int64_t quietAt = quietFrom() + quietMs_;
    if (complete(nowMs) && nowMs >= quietAt) {
        if (confirmed_ >= 2)
            return State::Settled;
        // Quiet by the clock only: the maximum wait is for a tree that keeps
        // drawing, not for an engine busy elsewhere, whose answers decide.
        return nowMs >= quietAt + kStuckMs ? State::Stuck : State::Waiting;
    }
    // Still drawing: its last whole frame, never a paint whose positions
    // are on their way.
    return late && expect_ == Expect::Nothing ? State::StillDrawing : State::Waiting;
}

int FrameSettler::waitMs(int64_t nowMs) const
{
    if (!executedAt_)
        return int(std::clamp<int64_t>(stuckAt_ - nowMs, 0, INT_MAX));
    int64_t until = *executedAt_ + maxWaitMs_;
    bool late = nowMs >= until;
    int64_t quietAt = frame_ ? quietFrom() + quietMs_ : until;
    if (frame_ && complete(nowMs) && nowMs >= quietAt)
        until = confirmed_ >= 2 ? quietAt : quietAt + kStuckMs;  // the pool's markers get the answers
    else if (frame_ && expect_ == Expect::Nothing)
        until = std::min(until, quietAt);
    else if (frame_ && late)
        until = quietAt;  // the paint's positions come right after it
    return int(std::clamp<int64_t>(until - nowMs, 0, INT_MAX));
}

Frame FrameSettler::takeFrame()
{
    return frame_ ? std::move(*frame_) : Frame {};
}

}  // namespace snapshot
