// Decides which frame belongs to a render and when it is final.
//
// Every render goes to a window made for it, which never held another tree.
// The engine runs requests in order, one per tick, sends each window's
// frames in the order it draws them, and draws what a request changed
// before it runs the next request. So the render is proven to have run
// either by a frame with positions in its window (only the render can have
// drawn a tree there) or by the answer to a request sent after it
// (`onExecuted`, for a tree that builds nothing); the last frame of the
// window then shows the tree, and so does every frame after it. Nothing is
// decided before that proof: the window's own empty frame may come first.
// The quiet period only decides when a tree that keeps drawing (an
// animation, content that arrives later) has settled; it never makes an
// unproven frame count, and it is a period the engine was seen to run
// through: a window is quiet once a request sent after its quiet period has
// been answered, and then the next one, as the engine draws a frame that
// was due (an animation step, content that comes in an idle job) before it
// runs the request after. A busy engine draws nothing while it builds
// another window's large tree; a wall clock alone would then take an
// unfinished frame. A render never proven fails instead of showing an
// older frame. A frame is judged only once it is complete: a paint of a
// window holding a tree is followed by its two position events, which a
// large tree takes the engine a while to write.
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
        Stuck,         // not known to have run within kStuckMs of the send, or its
                       // quiet window not confirmed within kStuckMs
    };

    // For a render into a window made for it, which never held another tree.
    // `maxWaitMs` counts from the proof that the render has run.
    FrameSettler(int windowId, int quietMs, int maxWaitMs, int64_t startMs);

    // Paints and position events of this window; paints are moved out of `m`.
    void onMessage(client::Message& m, int64_t nowMs);
    // A marker sent after this render has been answered.
    void onExecuted(int64_t nowMs);
    // A message that is not this window's came in. The engine sends a
    // frame's paint and its position events back to back, so a paint still
    // waiting for its positions then has none: the frame is complete.
    void onOtherMessage() { expect_ = Expect::Nothing; }
    // The answer to marker `seq`, sent at `sentMs`, came in.
    void onAnswer(uint64_t seq, int64_t sentMs);
    // Which marker the render still needs answered to show its window quiet:
    // one sent at `from` or later, and later than marker `after`.
    struct Wanted {
        int64_t from;
        uint64_t after;
    };
    std::optional<Wanted> answerWanted() const;

    State state(int64_t nowMs) const;
    // How long to wait for the next message before the state may change.
    int waitMs(int64_t nowMs) const;

    bool executed() const { return executedAt_.has_value(); }
    bool hasFrame() const { return frame_.has_value(); }
    int framesSeen() const { return frames_; }
    Frame takeFrame();

private:
    enum class Expect { Nothing, Widgets, Placeholders };
    int64_t quietFrom() const;
    bool complete(int64_t nowMs) const;

    int id_;
    int quietMs_;
    int maxWaitMs_;
    int64_t stuckAt_;
    std::optional<int64_t> executedAt_;
    int64_t lastFrameAt_ = 0;
    std::optional<Frame> frame_;
    Expect expect_ = Expect::Nothing;
    int confirmed_ = 0;          // answers that show the window quiet, up to 2
    uint64_t confirmedSeq_ = 0;  // the marker of the first
    int frames_ = 0;
};

}  // namespace snapshot
