// Decides which frame belongs to a render and when it is final.
//
// The engine runs requests in order, one per tick, sends each window's
// frames in the order it draws them, and draws what a request changed
// before it runs the next request. So once the answer to a request sent
// after the render is in (`onExecuted`), the last frame of the window that
// came before that answer shows the new tree, and so does every frame after
// it. Before that answer frames of the tree before may still come (a tree
// that animates draws by itself), so nothing is decided before it; in a
// window that never had a tree, a frame with positions is proof enough, as
// only the render can have drawn it. The quiet period only decides when a
// tree that keeps drawing (an animation, content that arrives later) has
// settled; it never makes an unproven frame count. A render never proven
// fails instead of showing an older frame. A frame is judged only once it
// is complete: a paint of a window holding a tree is followed by its two
// position events, which a large tree takes the engine a while to write.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "client/client.h"

namespace snapshot {

// The answer to CMD_CREATE, which the tool uses as a marker: requests run in
// order, so every request sent before the marker has run once it is in.
inline const char* const kFenceEvent = "EVENT_CREATE";

// A render not known to have run by then means the engine is stuck.
constexpr int kStuckMs = 30000;

struct Frame {
    client::Paint paint;
    bool hasWidgets = false;
    bool hasPlaceholders = false;
    std::string widgets;       // event data as sent
    std::string placeholders;
};

class FrameSettler {
public:
    enum class State {
        Waiting,
        Settled,       // proven, and quiet since its last frame
        StillDrawing,  // proven, but drawing for `maxWaitMs` after it ran: its last frame
        NoFrame,       // proven, yet no frame for it within `maxWaitMs`
        Stuck,         // not known to have run within kStuckMs of the send
    };

    // `previous` is what the window showed when the render was sent, given
    // only when that is an empty window (a frame without positions): a render
    // that leaves the window empty again draws nothing new, so that frame
    // stands for it. `freshWindow`: the window never had a tree, so a frame
    // with positions proves the render has run.
    // `maxWaitMs` counts from the proof that the render has run.
    FrameSettler(int windowId, int quietMs, int maxWaitMs, int64_t startMs, const Frame* previous,
                 bool freshWindow = false);

    // Paints and position events of this window; paints are moved out of `m`.
    void onMessage(client::Message& m, int64_t nowMs);
    // A marker sent after this render has been answered.
    void onExecuted(int64_t nowMs);
    // A message that is not this window's came in. The engine sends a
    // frame's paint and its position events back to back, so a paint still
    // waiting for its positions then has none: the frame is complete.
    void onOtherMessage() { expect_ = Expect::Nothing; }

    State state(int64_t nowMs) const;
    // How long to wait for the next message before the state may change.
    int waitMs(int64_t nowMs) const;

    bool executed() const { return executedAt_.has_value(); }
    // A frame with positions came since the render was sent (perhaps a stale one).
    bool sawTreeFrame() const { return sawTreeFrame_; }
    bool hasFrame() const { return frame_.has_value() || carried_.has_value(); }
    int framesSeen() const { return frames_; }
    Frame takeFrame();

private:
    enum class Expect { Nothing, Widgets, Placeholders };
    int64_t quietFrom() const;

    int id_;
    int quietMs_;
    int maxWaitMs_;
    int64_t stuckAt_;
    bool fresh_;
    std::optional<int64_t> executedAt_;
    int64_t lastFrameAt_ = 0;
    std::optional<Frame> frame_;
    std::optional<Frame> carried_;
    Expect expect_ = Expect::Nothing;
    bool sawTreeFrame_ = false;
    int frames_ = 0;
};

}  // namespace snapshot
