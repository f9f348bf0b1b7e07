#include "settle.h"

#include <algorithm>
#include <climits>

namespace snapshot {

FrameSettler::FrameSettler(int windowId, int quietMs, int maxWaitMs, int64_t startMs, const Frame* previous)
    : id_(windowId), quietMs_(quietMs), deadline_(startMs + maxWaitMs)
{
    if (previous && !previous->hasWidgets)
        carried_ = *previous;
}

void FrameSettler::onMessage(client::Message& m, int64_t nowMs)
{
    Expect expected = expect_;
    expect_ = Expect::Nothing;
    if (m.kind == client::Message::Kind::Paint) {
        if (m.paint.id != id_)
            return;
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
        expect_ = Expect::Placeholders;
    } else if (expected == Expect::Placeholders && e.name == "EVENT_GET_PLACEHOLDER_POSITIONS") {
        frame_->placeholders = e.data;
        frame_->hasPlaceholders = true;
        lastFrameAt_ = nowMs;
    } else if (e.name == kFenceEvent && !fenceAt_) {
        fenceAt_ = nowMs;
    }
}

FrameSettler::State FrameSettler::state(int64_t nowMs) const
{
    if (fenceAt_ && frame_ && nowMs - lastFrameAt_ >= quietMs_)
        return State::Settled;
    if (fenceAt_ && !frame_ && carried_ && nowMs - *fenceAt_ >= quietMs_)
        return State::Settled;
    if (nowMs >= deadline_)
        return State::TimedOut;
    return State::Waiting;
}

int FrameSettler::waitMs(int64_t nowMs) const
{
    int64_t until = deadline_;
    if (fenceAt_ && frame_)
        until = std::min(until, lastFrameAt_ + quietMs_);
    else if (fenceAt_ && carried_)
        until = std::min(until, *fenceAt_ + quietMs_);
    return int(std::clamp<int64_t>(until - nowMs, 0, INT_MAX));
}

Frame FrameSettler::takeFrame()
{
    if (frame_)
        return std::move(*frame_);
    return carried_ ? std::move(*carried_) : Frame {};
}

}  // namespace snapshot
