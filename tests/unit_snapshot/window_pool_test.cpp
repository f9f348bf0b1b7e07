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

// The engine answers at once, at `t`, the markers the pool sends to confirm
// that its windows are quiet.
void answerQuietMarkers(WindowPool& pool, int64_t t)
{
    for (int i = 0; i < 2; ++i) {
        std::optional<WindowPool::Request> marker = pool.markerDue(t);
        if (!marker)
            return;
        answer(pool, marker->windowId, t);
    }
}

// A pool whose own window is made and primed, at t = 0.
WindowPool started(int size)
{
    WindowPool pool(size, kQuiet, kMaxWait);
    pool.restart();
    answer(pool, WindowPool::kOwnWindow, 0);
    return pool;
}

// The window id of a tree started in a slot: the requests end with its
// window's creation and its render there.
int treeWindow(const std::vector<WindowPool::Request>& sent)
{
    EXPECT_GE(sent.size(), 2u);
    if (sent.size() < 2)
        return 0;
    const WindowPool::Request& create = sent[sent.size() - 2];
    EXPECT_EQ(create.kind, Kind::Create);
    EXPECT_EQ(sent.back().kind, Kind::Render);
    EXPECT_EQ(create.windowId, sent.back().windowId);
    return sent.back().windowId;
}

// Starts a tree in slot `slot`; its new window answers its creation and
// shows empty at once.
int render(WindowPool& pool, size_t tag, int slot, int64_t t)
{
    int id = treeWindow(pool.start(tag, slot, t));
    answer(pool, id, t);
    paint(pool, id, 0xe0 + uint32_t(id), t);
    return id;
}

// The pool's own window first, primed; then every tree in a window made for
// it, with an id never used before in this engine; a slot's window that has
// served a tree is destroyed before the next one is made.
TEST(SnapshotPool, EveryTreeGetsANewWindowAndTheOldOneIsDestroyed)
{
    WindowPool pool(3, kQuiet, kMaxWait);
    std::vector<WindowPool::Request> first = pool.restart();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].kind, Kind::Create);
    EXPECT_EQ(first[1].kind, Kind::Prime);
    EXPECT_EQ(first[0].windowId, WindowPool::kOwnWindow);
    EXPECT_EQ(first[1].windowId, WindowPool::kOwnWindow);
    EXPECT_EQ(pool.size(), 3);

    std::vector<WindowPool::Request> sent = pool.start(0, 2, 0);
    ASSERT_EQ(sent.size(), 2u) << "nothing to destroy yet";
    int id = treeWindow(sent);
    EXPECT_NE(id, WindowPool::kOwnWindow);
    EXPECT_FALSE(pool.isFree(2));
    EXPECT_TRUE(pool.start(1, 2, 0).empty()) << "busy";
    EXPECT_TRUE(pool.start(1, 3, 0).empty()) << "no such slot";
    std::set<int> used { WindowPool::kOwnWindow, id };
    for (int slot = 0; slot < 2; ++slot)
        used.insert(treeWindow(pool.start(size_t(slot) + 1, slot, 0)));
    EXPECT_EQ(used.size(), 4u);
    EXPECT_EQ(pool.busy(), 3u);

    answer(pool, id, 5);
    treeFrame(pool, id, 0x1, 10);
    answerQuietMarkers(pool, 200);
    ASSERT_EQ(pool.takeDone(200).size(), 1u);
    EXPECT_TRUE(pool.isFree(2));
    for (size_t tag = 4; tag < 7; ++tag) {
        sent = pool.start(tag, 2, 200);
        ASSERT_EQ(sent.size(), 3u);
        EXPECT_EQ(sent[0].kind, Kind::Destroy);
        EXPECT_EQ(sent[0].windowId, id) << "the window of the slot's last tree";
        id = treeWindow(sent);
        EXPECT_TRUE(used.insert(id).second) << "a new id";
        EXPECT_EQ(pool.abandon(id), std::optional<size_t>(tag));
    }

    // A new engine starts the ids again; its slots have no window to destroy.
    pool.restart();
    answer(pool, WindowPool::kOwnWindow, 300);
    EXPECT_EQ(pool.busy(), 0u);
    sent = pool.start(7, 2, 300);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(treeWindow(sent), WindowPool::kOwnWindow + 1);
}

// A window that never had a tree can only draw positions for its own; and
// as requests run in order, that also proves every render sent before. A
// tree that builds nothing gets its new window's empty frame.
TEST(SnapshotPool, AFrameOfItsNewWindowProvesATreeAndTheRendersBefore)
{
    WindowPool pool = started(2);
    int first = treeWindow(pool.start(10, 0, 0));
    int second = treeWindow(pool.start(11, 1, 0));
    paint(pool, first, 0xe0 + uint32_t(first), 20);  // new windows show empty
    paint(pool, second, 0xe0 + uint32_t(second), 30);
    EXPECT_FALSE(pool.markerDue(30)) << "renders in new windows prove themselves";
    treeFrame(pool, second, 0x22, 100);
    EXPECT_TRUE(pool.takeDone(249).empty());
    EXPECT_FALSE(pool.markerDue(249));
    answerQuietMarkers(pool, 250);
    std::vector<WindowPool::Done> done = pool.takeDone(250);
    ASSERT_EQ(done.size(), 2u);
    for (const WindowPool::Done& d : done) {
        EXPECT_EQ(d.state, FrameSettler::State::Settled);
        EXPECT_EQ(d.frame.paint.pixels[0], d.windowId == first ? 0xe0u + first : 0x22u);
        EXPECT_EQ(d.frame.hasWidgets, d.windowId == second);
        EXPECT_EQ(d.tag, d.windowId == first ? 10u : 11u);
    }
    EXPECT_EQ(pool.busy(), 0u);

    // Building nothing again, in the slot that showed a tree: the new
    // window's empty frame, not the tree before.
    int next = render(pool, 12, 1, 300);
    EXPECT_NE(next, second);
    treeFrame(pool, second, 0x23, 310);  // the old window, still drawing
    // Ahead of it: the destroy and the creation; then a tick per window and two.
    EXPECT_FALSE(pool.markerDue(300 + 6 * WindowPool::kTickMs - 1));
    ASSERT_TRUE(pool.markerDue(300 + 6 * WindowPool::kTickMs));
    answer(pool, WindowPool::kOwnWindow, 620);
    EXPECT_TRUE(pool.takeDone(769).empty());
    answerQuietMarkers(pool, 770);
    done = pool.takeDone(770);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].frame.paint.pixels[0], 0xe0u + next);
    EXPECT_FALSE(done[0].frame.hasWidgets);
}

// The tree before in the slot still draws, and the engine is slow to run the
// destroy, the creation and the render: no frame or answer of the old window
// counts for the new tree, however it looks.
TEST(SnapshotPool, MessagesOfASlotsOldWindowAreIgnored)
{
    WindowPool pool = started(1);
    int old = render(pool, 0, 0, 0);
    treeFrame(pool, old, 0xa, 50);
    answerQuietMarkers(pool, 200);
    ASSERT_EQ(pool.takeDone(200).size(), 1u);
    treeFrame(pool, old, 0xa1, 250);  // settled and still drawing: nobody's

    std::vector<WindowPool::Request> sent = pool.start(1, 0, 300);
    ASSERT_EQ(sent.size(), 3u);
    ASSERT_EQ(sent[0].kind, Kind::Destroy);
    int w = treeWindow(sent);
    ASSERT_NE(w, old);
    treeFrame(pool, old, 0xa2, 310);  // before the destroy has run
    answer(pool, old, 320);           // an answer the old window gave twice: not a marker
    client::Message destroyed;
    destroyed.event.id = old;
    destroyed.event.name = "EVENT_DESTROY";
    feed(pool, std::move(destroyed), 330);
    // Ahead of it: the destroy and the creation; then a tick per window and two.
    EXPECT_FALSE(pool.markerDue(300 + 5 * WindowPool::kTickMs - 1));
    ASSERT_TRUE(pool.markerDue(300 + 5 * WindowPool::kTickMs));
    EXPECT_TRUE(pool.takeDone(900).empty()) << "not known to have run";
    EXPECT_EQ(pool.waitMs(900), kStuckMs - 600) << "a slow engine is waited for, not judged by time";
    EXPECT_EQ(pool.abandon(old), std::nullopt) << "the old window holds no tree";
    answer(pool, w, 940);
    paint(pool, w, 0xe0, 950);
    treeFrame(pool, w, 0xb, 960);
    answer(pool, WindowPool::kOwnWindow, 970);
    EXPECT_TRUE(pool.takeDone(1109).empty());
    answerQuietMarkers(pool, 1110);
    std::vector<WindowPool::Done> done = pool.takeDone(1110);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].windowId, w);
    EXPECT_EQ(done[0].frame.paint.pixels[0], 0xbu);
    EXPECT_EQ(done[0].frames, 2) << "its window's empty frame and its tree's";
}

// A window's creation is a marker: its answer proves the renders sent before
// it, and only those.
TEST(SnapshotPool, ANewWindowsAnswerProvesOnlyTheRendersBefore)
{
    // Trees that draw nothing: a proven one fails at the maximum wait
    // counted from its proof; one never proven waits until the engine
    // counts as stuck.
    WindowPool pool = started(3);
    int a = treeWindow(pool.start(0, 0, 0));
    answer(pool, a, 0);
    int b = treeWindow(pool.start(1, 1, 10));
    int c = treeWindow(pool.start(2, 2, 20));
    EXPECT_TRUE(pool.takeDone(1000).empty());
    answer(pool, b, 1000);  // after a's render
    EXPECT_TRUE(pool.takeDone(1000 + kMaxWait - 1).empty());
    std::vector<WindowPool::Done> done = pool.takeDone(1000 + kMaxWait);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].windowId, a);
    EXPECT_EQ(done[0].state, FrameSettler::State::NoFrame);
    answer(pool, c, 4100);  // after b's render
    EXPECT_TRUE(pool.takeDone(4100 + kMaxWait - 1).empty());
    done = pool.takeDone(4100 + kMaxWait);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].windowId, b);
    EXPECT_TRUE(pool.takeDone(kStuckMs - 1).empty()) << "c's render came after every answer";
}

// Markers cost a tick each: one goes only for a render that has shown no sign
// of having run in time, and serves every render before it.
TEST(SnapshotPool, AMarkerGoesOnlyForARenderSilentTooLong)
{
    WindowPool pool = started(3);
    int a = render(pool, 0, 0, 0);
    treeFrame(pool, a, 0x1, 40);
    EXPECT_FALSE(pool.markerDue(189)) << "a tree frame proves it; its quiet is confirmed from 190 on";
    answerQuietMarkers(pool, 190);
    ASSERT_EQ(pool.takeDone(200).size(), 1u);

    // Two trees that build nothing: their new windows show empty, no more.
    int b = treeWindow(pool.start(1, 0, 1000));
    int c = treeWindow(pool.start(2, 1, 1000));
    paint(pool, b, 0xe1, 1010);
    paint(pool, c, 0xe2, 1010);
    // The second window's creation marks the first render. Ahead of the
    // second: the first's destroy, creation and render, and its own
    // creation, none seen to have run; then a tick per window and two.
    const int64_t due = 1000 + (4 + 3 + 2) * WindowPool::kTickMs;
    EXPECT_EQ(pool.waitMs(1010), due - 1010);
    EXPECT_FALSE(pool.markerDue(due - 1));
    std::optional<WindowPool::Request> marker = pool.markerDue(due);
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->kind, Kind::Create);
    EXPECT_EQ(marker->windowId, WindowPool::kOwnWindow) << "which exists, so it only answers";
    EXPECT_FALSE(pool.markerDue(due + 1000)) << "one is enough";
    answer(pool, WindowPool::kOwnWindow, due + 10);
    answerQuietMarkers(pool, due + 10 + kQuiet);
    std::vector<WindowPool::Done> done = pool.takeDone(due + 10 + kQuiet);
    ASSERT_EQ(done.size(), 2u);
    for (const WindowPool::Done& d : done)
        EXPECT_EQ(d.frame.paint.pixels[0], d.windowId == b ? 0xe1u : 0xe2u);
}

// A window is quiet only once the engine was seen to run through the quiet
// period: two markers sent after it are answered, with no frame of the
// window between. A busy engine's late frame starts it again.
TEST(SnapshotPool, QuietIsConfirmedByTwoAnsweredMarkers)
{
    WindowPool pool = started(1);
    int id = render(pool, 0, 0, 0);
    treeFrame(pool, id, 0x1, 40);
    EXPECT_EQ(pool.waitMs(40), kQuiet);
    EXPECT_FALSE(pool.markerDue(189));
    std::optional<WindowPool::Request> marker = pool.markerDue(190);
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->windowId, WindowPool::kOwnWindow);
    EXPECT_EQ(pool.waitMs(190), 0);
    ASSERT_TRUE(pool.markerDue(190)) << "and a second at once: the engine runs it a tick later";
    EXPECT_FALSE(pool.markerDue(195));
    EXPECT_EQ(pool.waitMs(195), 190 + kStuckMs - 195) << "a busy engine is waited for";
    EXPECT_TRUE(pool.takeDone(2000).empty()) << "no answer: the engine may be busy";
    treeFrame(pool, id, 0x2, 2010);  // it was: the frame that was due comes now
    answer(pool, WindowPool::kOwnWindow, 2020);  // both sent before this frame's quiet period
    answer(pool, WindowPool::kOwnWindow, 2030);
    EXPECT_FALSE(pool.markerDue(2159));
    ASSERT_TRUE(pool.markerDue(2160));
    ASSERT_TRUE(pool.markerDue(2160));
    answer(pool, WindowPool::kOwnWindow, 2200);
    EXPECT_TRUE(pool.takeDone(2200).empty()) << "a frame due when it ran may still follow";
    EXPECT_FALSE(pool.markerDue(2200)) << "the second is on its way";
    answer(pool, WindowPool::kOwnWindow, 2250);
    std::vector<WindowPool::Done> done = pool.takeDone(2250);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].state, FrameSettler::State::Settled);
    EXPECT_EQ(done[0].frame.paint.pixels[0], 0x2u);
}

TEST(SnapshotPool, AMissingAnswerIsPassedOverAndStrangersIgnored)
{
    WindowPool pool = started(3);
    std::vector<int> ids;
    for (size_t tag = 0; tag < 3; ++tag)
        ids.push_back(treeWindow(pool.start(tag, int(tag), 0)));
    answer(pool, ids[0], 0);
    answer(pool, ids[2], 0);  // the middle window was never made
    answer(pool, 99, 0);      // nobody's
    treeFrame(pool, ids[0], 0x1, 10);
    treeFrame(pool, ids[2], 0x3, 10);
    answerQuietMarkers(pool, 200);
    EXPECT_EQ(pool.takeDone(200).size(), 2u);
    EXPECT_EQ(pool.busy(), 1u) << "the middle window draws nothing";

    int next = render(pool, 3, 0, 200);
    treeFrame(pool, next, 0x2, 220);
    answerQuietMarkers(pool, 370);
    std::vector<WindowPool::Done> done = pool.takeDone(370);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].tag, 3u);
    answer(pool, ids[1], 400);  // late, and passed over already: nobody's
    EXPECT_TRUE(pool.takeDone(kMaxWait - 1).empty());
    done = pool.takeDone(kMaxWait);
    ASSERT_EQ(done.size(), 1u) << "proven when the third window's answer came";
    EXPECT_EQ(done[0].state, FrameSettler::State::NoFrame);
}

// A render known to have run that drew nothing fails alone, after the
// maximum wait; one never known to have run fails once the engine counts as stuck,
// whatever frames came meanwhile: neither gives a picture.
TEST(SnapshotPool, ARenderWithoutItsFrameNeverTakesAnotherOne)
{
    WindowPool pool = started(1);
    int first = treeWindow(pool.start(0, 0, 0));
    answer(pool, first, 0);  // its first paint never came
    // Ahead of it: the priming render and its window's creation; then a tick
    // per window and two.
    const int64_t due = (2 + 1 + 2) * WindowPool::kTickMs;
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

    // The old window draws a tree at last; the next tree's window is never
    // made, nor is any marker answered.
    const int64_t t = 310 + kMaxWait;
    treeFrame(pool, first, 0x1, t);
    int second = treeWindow(pool.start(1, 0, t));
    treeFrame(pool, first, 0x2, t + 100);
    EXPECT_TRUE(pool.markerDue(t + 1000));
    EXPECT_TRUE(pool.takeDone(t + kStuckMs - 1).empty());
    done = pool.takeDone(t + kStuckMs);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].windowId, second);
    EXPECT_EQ(done[0].state, FrameSettler::State::Stuck);
    EXPECT_TRUE(done[0].frame.paint.pixels.empty()) << "no picture of an unproven frame";
}

// The engine sent something invalid for a window: its tree is given up, and
// the window is destroyed before the slot's next tree.
TEST(SnapshotPool, AbandonedTreeFreesItsSlot)
{
    WindowPool pool = started(2);
    int id = render(pool, 7, 1, 0);
    EXPECT_FALSE(pool.abandon(WindowPool::kOwnWindow)) << "the pool's own window holds no tree";
    EXPECT_EQ(pool.abandon(id), std::optional<size_t>(7));
    EXPECT_TRUE(pool.isFree(1));
    EXPECT_FALSE(pool.abandon(id)) << "once only";
    std::vector<WindowPool::Request> next = pool.start(8, 1, 10, true);
    ASSERT_EQ(next.size(), 4u);
    EXPECT_EQ(next[0].kind, Kind::Destroy);
    EXPECT_EQ(next[0].windowId, id);
    EXPECT_EQ(next[1].kind, Kind::Create);
    EXPECT_EQ(next[2].kind, Kind::Reset);
    EXPECT_EQ(next[2].windowId, WindowPool::kOwnWindow);
    EXPECT_EQ(next[3].kind, Kind::Render);
    EXPECT_NE(next[3].windowId, id);
    EXPECT_EQ(next[3].windowId, next[1].windowId);
}

}  // namespace
}  // namespace snapshot
