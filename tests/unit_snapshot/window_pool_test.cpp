// The window pool of render-snapshot: which frame belongs to which tree when
// several windows share one engine, and when markers are sent.
#include <gtest/gtest.h>

#include <set>

#include "pool.h"

namespace snapshot {
namespace {

using Kind = WindowPool::Request::Kind;
constexpr int kQuiet = 150;
constexpr int kMaxWait = 3000;

void feed(WindowPool& pool, client::Message m, int64_t t) { pool.onMessage(m, t); }

void answer(WindowPool& pool, int id, int64_t t)
{
    client::Message m;
    m.event.id = id;
    m.event.name = kFenceEvent;
    feed(pool, std::move(m), t);
}

void paint(WindowPool& pool, int id, uint32_t colour, int64_t t)
{
    client::Message m;
    m.kind = client::Message::Kind::Paint;
    m.paint.id = id;
    m.paint.width = m.paint.height = 1;
    m.paint.pixels = { colour };
    feed(pool, std::move(m), t);
}

// A frame of a window holding a tree: paint and both position events.
void treeFrame(WindowPool& pool, int id, uint32_t colour, int64_t t)
{
    paint(pool, id, colour, t);
    for (const char* name : { "EVENT_GET_ALL_WIDGET_POSITIONS", "EVENT_GET_PLACEHOLDER_POSITIONS" }) {
        client::Message m;
        m.event.id = id;
        m.event.name = name;
        m.event.data = "[]";
        feed(pool, std::move(m), t);
    }
}

// A pool whose own window is made and primed, at t = 0.
WindowPool started(int size, int group)
{
    WindowPool pool(size, group, kQuiet, kMaxWait);
    pool.restart();
    answer(pool, WindowPool::kOwnWindow, 0);
    return pool;
}

// Starts a tree in window `slot`; a new window answers its creation and
// shows empty at once.
int render(WindowPool& pool, size_t tag, int slot, int64_t t)
{
    std::vector<WindowPool::Request> sent = pool.start(tag, slot, t);
    EXPECT_FALSE(sent.empty());
    if (sent.empty())
        return 0;
    EXPECT_EQ(sent.back().kind, Kind::Render);
    int id = sent.back().windowId;
    if (sent.front().kind == Kind::Create) {
        EXPECT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent.front().windowId, id);
        answer(pool, id, t);
        paint(pool, id, 0xe0 + uint32_t(id), t);
    }
    return id;
}

TEST(SnapshotPool, TreeWindowsAreMadeOnFirstUseAfterThePoolsOwnIsPrimed)
{
    WindowPool pool(3, 2, kQuiet, kMaxWait);
    std::vector<WindowPool::Request> first = pool.restart();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].kind, Kind::Create);
    EXPECT_EQ(first[1].kind, Kind::Prime);
    EXPECT_EQ(first[0].windowId, WindowPool::kOwnWindow);
    EXPECT_EQ(first[1].windowId, WindowPool::kOwnWindow);
    EXPECT_EQ(pool.size(), 3);

    std::vector<WindowPool::Request> sent = pool.start(0, 2, 0);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].kind, Kind::Create);
    EXPECT_EQ(sent[1].kind, Kind::Render);
    EXPECT_EQ(sent[0].windowId, sent[1].windowId);
    EXPECT_NE(sent[1].windowId, WindowPool::kOwnWindow);
    EXPECT_FALSE(pool.isFree(2));
    EXPECT_TRUE(pool.start(1, 2, 0).empty()) << "busy";
    EXPECT_TRUE(pool.start(1, 3, 0).empty()) << "no such window";
    std::set<int> used { sent[1].windowId };
    for (int slot = 0; slot < 2; ++slot)
        used.insert(pool.start(size_t(slot) + 1, slot, 0).back().windowId);
    EXPECT_EQ(used.size(), 3u);
    EXPECT_EQ(used.count(WindowPool::kOwnWindow), 0u);
    EXPECT_EQ(pool.busy(), 3u);

    treeFrame(pool, sent[1].windowId, 0x1, 10);
    ASSERT_EQ(pool.takeDone(200).size(), 1u);
    EXPECT_TRUE(pool.isFree(2));
    sent = pool.start(4, 2, 200);
    ASSERT_EQ(sent.size(), 1u) << "made once";
    EXPECT_EQ(sent[0].kind, Kind::Render);
}

// A window that never had a tree can only draw positions for the new one;
// and as requests run in order, that also proves every render sent before.
TEST(SnapshotPool, AFirstTreeProvesItselfAndTheRendersBefore)
{
    WindowPool pool = started(2, 2);
    int first = pool.start(10, 0, 0).back().windowId;
    int second = pool.start(11, 1, 0).back().windowId;
    paint(pool, first, 0xe0 + uint32_t(first), 20);  // new windows show empty
    paint(pool, second, 0xe0 + uint32_t(second), 30);
    EXPECT_FALSE(pool.markerDue(30)) << "first renders prove themselves";
    treeFrame(pool, second, 0x22, 100);
    EXPECT_TRUE(pool.takeDone(249).empty());
    std::vector<WindowPool::Done> done = pool.takeDone(250);
    ASSERT_EQ(done.size(), 2u);
    // The first tree built nothing: its window's empty frame stands for it.
    for (const WindowPool::Done& d : done) {
        EXPECT_EQ(d.state, FrameSettler::State::Settled);
        EXPECT_EQ(d.frame.paint.pixels[0], d.windowId == first ? 0xe0u + first : 0x22u);
        EXPECT_EQ(d.frame.hasWidgets, d.windowId == second);
        EXPECT_EQ(d.tag, d.windowId == first ? 10u : 11u);
    }
    EXPECT_EQ(pool.busy(), 0u);
}

// A tree that still draws after it settled sends frames that look like the
// next tree's: they count only once a marker proves the next render has run.
TEST(SnapshotPool, AReusedWindowWaitsForAMarkerPastStaleFrames)
{
    WindowPool pool = started(1, 1);
    int w = render(pool, 0, 0, 0);
    treeFrame(pool, w, 0xa, 50);
    ASSERT_EQ(pool.takeDone(200).size(), 1u);
    treeFrame(pool, w, 0xa1, 250);  // settled and still drawing: nobody's

    EXPECT_EQ(render(pool, 1, 0, 300), w);
    std::optional<WindowPool::Request> marker = pool.markerDue(300);
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->kind, Kind::Create);
    EXPECT_EQ(marker->windowId, WindowPool::kOwnWindow) << "which exists, so it only answers";
    EXPECT_FALSE(pool.markerDue(300)) << "one marker serves";
    treeFrame(pool, w, 0xa2, 310);  // stale
    EXPECT_TRUE(pool.takeDone(900).empty()) << "quiet, but not known to have run";
    EXPECT_EQ(pool.waitMs(900), kStuckMs - 600) << "a slow engine is waited for, not judged by time";
    treeFrame(pool, w, 0xb, 920);
    answer(pool, WindowPool::kOwnWindow, 940);
    EXPECT_TRUE(pool.takeDone(1089).empty());
    std::vector<WindowPool::Done> done = pool.takeDone(1090);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].frame.paint.pixels[0], 0xbu);
    EXPECT_EQ(done[0].frames, 2);
}

TEST(SnapshotPool, AMarkerProvesOnlyTheRendersSentBeforeIt)
{
    WindowPool pool = started(2, 1);
    int a = render(pool, 0, 0, 0);
    int b = render(pool, 1, 1, 0);
    treeFrame(pool, a, 0x1, 50);
    treeFrame(pool, b, 0x2, 60);
    ASSERT_EQ(pool.takeDone(300).size(), 2u);

    EXPECT_EQ(render(pool, 2, 0, 300), a);
    ASSERT_TRUE(pool.markerDue(300));
    EXPECT_EQ(render(pool, 3, 1, 310), b);
    ASSERT_TRUE(pool.markerDue(310));
    treeFrame(pool, a, 0x3, 350);
    treeFrame(pool, b, 0x4, 360);
    answer(pool, WindowPool::kOwnWindow, 370);  // the first marker
    std::vector<WindowPool::Done> done = pool.takeDone(600);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].tag, 2u);
    answer(pool, WindowPool::kOwnWindow, 620);
    done = pool.takeDone(770);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].tag, 3u);
    EXPECT_EQ(done[0].frame.paint.pixels[0], 0x4u);
}

// Making a window is a marker too: its answer proves the renders before it.
TEST(SnapshotPool, ANewWindowsAnswerProvesTheRendersBefore)
{
    WindowPool pool = started(2, 4);
    int a = render(pool, 0, 0, 0);
    treeFrame(pool, a, 0x1, 50);
    ASSERT_EQ(pool.takeDone(200).size(), 1u);
    EXPECT_EQ(render(pool, 1, 0, 200), a);
    treeFrame(pool, a, 0x2, 230);
    std::vector<WindowPool::Request> sent = pool.start(2, 1, 240);
    ASSERT_EQ(sent.front().kind, Kind::Create);
    EXPECT_TRUE(pool.takeDone(1000).empty());
    answer(pool, sent.front().windowId, 260);
    EXPECT_EQ(pool.takeDone(410).size(), 1u);
}

// Markers cost a tick each: one is sent for a full group, for an engine that
// has run everything sent, or for a render that has waited too long.
TEST(SnapshotPool, MarkersGoForAGroupAnIdleEngineOrALongWait)
{
    WindowPool pool = started(4, 2);
    for (size_t tag = 0; tag < 4; ++tag)
        treeFrame(pool, render(pool, tag, int(tag), 0), 0x10 + uint32_t(tag), 40);
    ASSERT_EQ(pool.takeDone(200).size(), 4u);

    int a = render(pool, 4, 0, 200);
    EXPECT_FALSE(pool.markerDue(200)) << "one render, engine busy with it";
    int b = render(pool, 5, 1, 200);
    EXPECT_TRUE(pool.markerDue(200)) << "a full group";
    treeFrame(pool, a, 0x4, 250);
    treeFrame(pool, b, 0x5, 260);
    answer(pool, WindowPool::kOwnWindow, 300);

    int c = render(pool, 6, 2, 300);
    EXPECT_FALSE(pool.markerDue(300));
    treeFrame(pool, c, 0x6, 340);
    EXPECT_TRUE(pool.markerDue(340)) << "everything sent seems to have run";
    answer(pool, WindowPool::kOwnWindow, 350);
    EXPECT_TRUE(pool.takeDone(449).empty());
    EXPECT_EQ(pool.takeDone(450).size(), 2u);
    EXPECT_EQ(pool.takeDone(500).size(), 1u);

    // A render that draws nothing gives no sign; it gets a marker after a while.
    render(pool, 7, 0, 1000);
    const int64_t due = 1000 + (2 + 2) * WindowPool::kTickMs;
    EXPECT_EQ(pool.waitMs(1000), due - 1000);
    EXPECT_FALSE(pool.markerDue(due - 1));
    EXPECT_TRUE(pool.markerDue(due));
}

TEST(SnapshotPool, AMissingAnswerIsPassedOverAndStrangersIgnored)
{
    WindowPool pool = started(3, 1);
    std::vector<int> ids;
    for (size_t tag = 0; tag < 3; ++tag) {
        std::vector<WindowPool::Request> sent = pool.start(tag, int(tag), 0);
        ASSERT_EQ(sent.size(), 2u);
        ids.push_back(sent.back().windowId);
    }
    answer(pool, ids[0], 0);
    answer(pool, ids[2], 0);  // the middle window was never made
    answer(pool, 99, 0);      // nobody's
    treeFrame(pool, ids[0], 0x1, 10);
    treeFrame(pool, ids[2], 0x3, 10);
    EXPECT_EQ(pool.takeDone(200).size(), 2u);
    EXPECT_EQ(pool.busy(), 1u) << "the middle window draws nothing";

    EXPECT_EQ(render(pool, 3, 0, 200), ids[0]);
    ASSERT_TRUE(pool.markerDue(200));
    treeFrame(pool, ids[0], 0x2, 220);
    answer(pool, WindowPool::kOwnWindow, 230);
    std::vector<WindowPool::Done> done = pool.takeDone(380);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].tag, 3u);
}

// A render known to have run that drew nothing fails alone, after the
// maximum wait; one never known to have run fails once the engine counts as stuck,
// whatever frames came meanwhile: neither gives a picture.
TEST(SnapshotPool, ARenderWithoutItsFrameNeverTakesAnotherOne)
{
    WindowPool pool = started(1, 1);
    std::vector<WindowPool::Request> sent = pool.start(0, 0, 0);
    answer(pool, sent.front().windowId, 0);  // its first paint never came
    // Ahead of it: the priming render and its window's creation; then a
    // group, twice for a first render, and two ticks.
    const int64_t due = (2 + 2 * 1 + 2) * WindowPool::kTickMs;
    EXPECT_EQ(pool.waitMs(0), due);
    EXPECT_FALSE(pool.markerDue(due - 1));
    ASSERT_TRUE(pool.markerDue(due));
    answer(pool, WindowPool::kOwnWindow, 310);
    EXPECT_TRUE(pool.takeDone(310 + kMaxWait - 1).empty());
    std::vector<WindowPool::Done> done = pool.takeDone(310 + kMaxWait);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].state, FrameSettler::State::NoFrame);
    EXPECT_FALSE(done[0].hasPicture());
    EXPECT_TRUE(pool.isFree(0));

    // Window 2 now shows a tree; the next one there is never answered for.
    const int64_t t = 310 + kMaxWait;
    treeFrame(pool, sent.front().windowId, 0x1, t);
    pool.start(1, 0, t);
    treeFrame(pool, sent.front().windowId, 0x2, t + 100);  // the tree before, or this one: not known
    EXPECT_TRUE(pool.takeDone(t + kStuckMs - 1).empty());
    done = pool.takeDone(t + kStuckMs);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].state, FrameSettler::State::Stuck);
    EXPECT_TRUE(done[0].frame.paint.pixels.empty()) << "no picture of an unproven frame";
}

// The engine sent something invalid for a window: its tree is given up and
// the window is free for the next one.
TEST(SnapshotPool, AbandonedTreeFreesItsWindow)
{
    WindowPool pool = started(2, 2);
    int id = render(pool, 7, 1, 0);
    EXPECT_FALSE(pool.abandon(WindowPool::kOwnWindow)) << "the pool's own window holds no tree";
    EXPECT_EQ(pool.abandon(id), std::optional<size_t>(7));
    EXPECT_TRUE(pool.isFree(1));
    EXPECT_FALSE(pool.abandon(id)) << "once only";
    std::vector<WindowPool::Request> next = pool.start(8, 1, 10, true);
    ASSERT_EQ(next.size(), 2u);
    EXPECT_EQ(next[0].kind, Kind::Reset);
    EXPECT_EQ(next[0].windowId, WindowPool::kOwnWindow);
    EXPECT_EQ(next[1].kind, Kind::Render);
    EXPECT_EQ(next[1].windowId, id);
}

}  // namespace
}  // namespace snapshot
