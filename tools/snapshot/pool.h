// Several windows of one project in one engine, so that the quiet periods of
// several trees overlap while the engine's tick runs the next renders. The
// pool only decides; the session sends and receives.
//
// Window 1 is the pool's own: made first and primed with a render, since a
// render sets the toolkit's scale for the whole process and a window made
// before that lays some trees out a pixel apart from one made after. Tree
// windows are made on their first use, all after the priming. The caller
// names the window (slot) of each tree: the engine lays some trees out
// differently after some other trees in the same window, so which tree
// follows which in a window must not depend on timing.
//
// Sequencing: each tree window serves one tree at a time, and its frames go
// to that tree's settler (settle.h). Whether a frame of window k can still
// be one of the tree before is answered by markers: a CMD_CREATE runs after
// every request sent before it, so its answer tells each render sent earlier
// that it has run. A marker is a CMD_CREATE of window 1, which only answers,
// or that of a new window. Markers cost a tick each, so one serves several
// renders: it is sent when `group` renders wait for one, when the engine
// looks idle (it delays no render then), or when a render has waited too
// long. A window's first render needs no marker when it draws a tree: before
// it the window had none, so that frame proves the render has run, and with
// it every request sent before.
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
        enum class Kind { Create, Render, Prime, Reset } kind = Kind::Render;
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

    // `size` tree windows (slots 0 .. size-1); a marker is due once `group`
    // renders wait for one.
    WindowPool(int size, int group, int quietMs, int maxWaitMs);

    // A new engine: returns the requests that make and prime window 1; the
    // answer to the first ends the start-up.
    std::vector<Request> restart();

    int size() const { return int(windows_.size()); }
    bool isFree(int slot) const;
    size_t busy() const;
    // (tag, window id) of every tree in the pool.
    std::vector<std::pair<size_t, int>> busyTrees() const;
    // Gives the caller's tree `tag` to the free window `slot`, making it if
    // it is new, after a reset render in the pool's own window when `reset`;
    // returns the requests to send, in order.
    std::vector<Request> start(size_t tag, int slot, int64_t nowMs, bool reset = false);
    // Gives up the tree in window `id` (the engine sent something invalid for
    // it); its tag, if the window had one. The window is free again.
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
        bool fresh;  // the window's first render
        FrameSettler settler;
    };
    struct Window {
        explicit Window(int windowId) : id(windowId) {}
        int id;
        bool made = false;
        bool rendered = false;
        std::optional<Frame> empty;  // what it shows, when that is an empty window
        std::optional<Busy> busy;
    };

    Window* find(int id);
    bool unmarked(const Busy& b) const;
    int64_t markerDeadline(const Busy& b) const;
    void proven(uint64_t seq, int64_t nowMs);

    int group_;
    int quietMs_;
    int maxWaitMs_;
    std::vector<Window> windows_;  // by slot; ids from 2
    uint64_t sent_ = 0;        // sequence number of the last request sent
    uint64_t lastMarker_ = 0;  // ... of the last marker sent
    uint64_t seemsRun_ = 0;    // highest request known or seen to have run; for timing only
    std::deque<std::pair<uint64_t, int>> answers_;  // markers not yet answered: sequence, window
};

}  // namespace snapshot
