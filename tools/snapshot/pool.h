// Several windows of one project in one engine, so that the quiet periods of
// several trees overlap while the engine's tick runs the next renders. The
// pool only decides; the session sends and receives.
//
// Window 1 is the pool's own: made first and primed with a render, since a
// render sets the toolkit's scale for the whole process and a window made
// before that lays some trees out a pixel apart from one made after. Every
// tree gets a window that never held a tree, made after the priming: the
// engine lays some trees out a pixel apart depending on the tree drawn before
// them in the same window, so a window serves one tree only. The caller
// names the slot of each tree; a slot's window that has served a tree is
// destroyed before the next tree, and the next one is made with a new id,
// so no late frame of the old window can be taken for the new tree.
//
// Sequencing: each tree window's frames go to its tree's settler (settle.h).
// A tree window held no tree before, so a frame with positions proves its
// render has run, and with it every request sent before. A render that draws
// no tree gives no such sign and needs a marker: a CMD_CREATE runs after
// every request sent before it, so its answer tells each render sent earlier
// that it has run. The creation of the next tree's window is one; when no
// creation comes in time, a CMD_CREATE of window 1, which only answers, is
// sent for a render that has waited too long. Markers also confirm that a
// quiet window is done (settle.h): two are sent, back to back, once a
// window has been quiet for the period. Markers cost a tick each.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <utility>
#include <vector>

#include "settle.h"

namespace snapshot {

class WindowPool {
public:
    struct Request {
        // Prime: the scale render; Reset: the values a tree left behind put back (deferred.h).
        enum class Kind { Create, Destroy, Render, Prime, Reset } kind = Kind::Render;
        int windowId = 0;
    };
    struct Done {
        size_t tag = 0;
        int windowId = 0;
        FrameSettler::State state = FrameSettler::State::Settled;  // never Waiting
        Frame frame;  // the picture, when state is Settled or StillDrawing
        int frames = 0;
        int64_t startedAt = 0;
        bool hasPicture() const
        {
            return state == FrameSettler::State::Settled || state == FrameSettler::State::StillDrawing;
        }
    };

    // `size` tree windows at once (slots 0 .. size-1).
    WindowPool(int size, int quietMs, int maxWaitMs);

    // A new engine: returns the requests that make and prime window 1; the
    // answer to the first ends the start-up.
    std::vector<Request> restart();

    int size() const { return int(slots_.size()); }
    bool isFree(int slot) const;
    size_t busy() const;
    // (tag, window id) of every tree in the pool.
    std::vector<std::pair<size_t, int>> busyTrees() const;
    // Gives the caller's tree `tag` to the free slot `slot`: destroys the
    // window that served its last tree, makes a new one, renders a reset in
    // the pool's own window when `reset`, then the tree; returns the
    // requests to send, in order.
    std::vector<Request> start(size_t tag, int slot, int64_t nowMs, bool reset = false);
    // Gives up the tree in window `id` (the engine sent something invalid for
    // it); its tag, if the window had one. Its slot is free again.
    std::optional<size_t> abandon(int id);
    // A marker to send now, if one is due; it counts as sent.
    std::optional<Request> markerDue(int64_t nowMs);

    void onMessage(client::Message& m, int64_t nowMs);
    // Renders that settled or ran out of time; their windows are free again.
    std::vector<Done> takeDone(int64_t nowMs);
    // How long to wait for messages before something may be due.
    int waitMs(int64_t nowMs) const;

    static constexpr int kTickMs = 50;  // the engine runs at most one request per tick
    static constexpr int kOwnWindow = 1;

private:
    struct Busy {
        size_t tag;
        uint64_t seq;    // of its CMD_RENDER
        uint64_t ahead;  // requests sent before it and not seen to have run
        int64_t startedAt;
        FrameSettler settler;
    };
    struct Slot {
        int id = 0;  // of its window, once one is made
        std::optional<Busy> busy;
    };

    Slot* find(int id);
    bool unmarked(const Busy& b) const;
    std::optional<int64_t> quietMarkerDue(const Busy& b) const;
    void sendMarker(int windowId, int64_t nowMs);
    int64_t markerDeadline(const Busy& b) const;
    void proven(uint64_t seq, int64_t nowMs);

    int quietMs_;
    int maxWaitMs_;
    std::vector<Slot> slots_;
    int nextId_ = kOwnWindow + 1;  // a window id is never used twice in one engine
    uint64_t sent_ = 0;        // sequence number of the last request sent
    uint64_t lastMarker_ = 0;  // ... of the last marker sent
    int64_t lastMarkerAt_ = 0;      // when it was sent
    int64_t previousMarkerAt_ = 0;  // ... and the one before it
    uint64_t hasRun_ = 0;       // highest request known to have run
    struct Answer {
        uint64_t seq;
        int windowId;
        int64_t sentAt;
    };
    std::deque<Answer> answers_;  // markers not yet answered
};

}  // namespace snapshot
