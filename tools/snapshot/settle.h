// Decides which frame belongs to a render and when it is final.
//
// After CMD_RENDER the tool sends a second CMD_CREATE for the same window,
// which the engine only answers ("EVENT_CREATE"). The engine runs requests
// in order, one per tick, and draws a render's frame right after running
// it, so every frame that reaches the tool after that answer shows the new
// tree, and the render's own frame comes before the answer or just after
// it. Frames drawn for the previous tree may still arrive first; taking the
// last frame once the answer is in and no frame has come for the quiet
// period drops them.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "client/client.h"

namespace snapshot {

inline const char* const kFenceEvent = "EVENT_CREATE";

struct Frame {
    client::Paint paint;
    bool hasWidgets = false;
    bool hasPlaceholders = false;
    std::string widgets;       // event data as sent
    std::string placeholders;
};

class FrameSettler {
public:
    enum class State { Waiting, Settled, TimedOut };

    // `previous` is the frame the last render settled on; a frame without
    // positions (an empty window) may stand for this render too, because a
    // render that leaves the window empty again draws nothing new.
    FrameSettler(int windowId, int quietMs, int maxWaitMs, int64_t startMs, const Frame* previous);

    // Paints are moved out of `m`.
    void onMessage(client::Message& m, int64_t nowMs);
    State state(int64_t nowMs) const;
    // How long to wait for the next message before the state may change.
    int waitMs(int64_t nowMs) const;

    bool fenceSeen() const { return fenceAt_.has_value(); }
    bool hasFrame() const { return frame_.has_value() || carried_.has_value(); }
    int framesSeen() const { return frames_; }
    Frame takeFrame();

private:
    enum class Expect { Nothing, Widgets, Placeholders };

    int id_;
    int quietMs_;
    int64_t deadline_;
    std::optional<int64_t> fenceAt_;
    int64_t lastFrameAt_ = 0;
    std::optional<Frame> frame_;
    std::optional<Frame> carried_;
    Expect expect_ = Expect::Nothing;
    int frames_ = 0;
};

}  // namespace snapshot
