#include <gtest/gtest.h>
#include <json/json.h>

#include <malloc.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

#include "components/connector/alloc_buffer.h"
#include "components/connector/header.h"
#include "components/manager/q_manager.h"
#include "components/messages/msg_response_event.h"
#include "components/messages/msg_response_paint.h"
#include "components/msg_writer/image_buffer.h"
#include "fake_connection.h"
#include "toolkit_fixture.h"
#include "utils/log_util.h"
#include "utils/thread_util.h"

namespace {

int checksum_of(const std::string& body) { return header_checksum(body.data(), int(body.size())); }

TEST(Header, ChecksumAddsSignedBytes)
{
    EXPECT_EQ(checksum_of("abc"), 294);
    EXPECT_EQ(checksum_of("\xff"), -1);
    EXPECT_EQ(checksum_of(std::string("\xff\x01", 2)), 0);
    EXPECT_EQ(checksum_of(""), 0);
    EXPECT_LT(checksum_of("\x80\x90"), 0x80 + 0x90);
}

// The sum runs 16 bytes at a time; every length and alignment must still
// give the plain byte-by-byte sum, for paint-sized bodies too.
TEST(Header, ChecksumOfAnyLengthAndAlignmentIsTheByteSum)
{
    std::mt19937 random(7);
    std::string body(3686420 + 64, '\0');
    for (char& c : body)
        c = char(random());
    auto plain = [&](size_t from, size_t n) {
        uint32_t sum = 0;
        for (size_t i = from; i < from + n; ++i)
            sum += uint32_t(int32_t(int8_t(body[i])));
        return int(sum);
    };
    for (size_t from : { 0, 1, 7, 15 })
        for (size_t n : { 0, 1, 15, 16, 17, 31, 33, 255, 4097, 3686420 })
            EXPECT_EQ(header_checksum(body.data() + from, int(n)), plain(from, n)) << from << "+" << n;
    std::string high(1 << 20, char(0xff));
    EXPECT_EQ(header_checksum(high.data(), int(high.size())), -(1 << 20));
}

TEST(Header, PacksAbcFrameByteExactAndUnpacksAgain)
{
    Header h;
    h.setUid("VORA");
    h.setVer(1);
    h.setBodySize(3);
    h.setChecksum(h.generateChecksumData("abc"));
    h.setBodyFormat(0);
    std::unique_ptr<IBuffer> wire = h.pack();
    ASSERT_EQ(wire->getSize(), 20);
    const unsigned char expected[20] = { 0x56, 0x4F, 0x52, 0x41, 1, 0, 0, 0, 3, 0, 0, 0, 0x26, 0x01, 0, 0, 0, 0, 0, 0 };
    EXPECT_EQ(memcmp(wire->getBuffer(), expected, 20), 0);

    Header back;
    back.unpack(wire.get());
    EXPECT_EQ(memcmp(back.getUid(), "VORA", 4), 0);
    EXPECT_EQ(back.getVer(), 1);
    EXPECT_EQ(back.getBodySize(), 3);
    EXPECT_EQ(back.getChecksum(), 294);
    EXPECT_TRUE(back.checkHeaderValidation());
    EXPECT_TRUE(back.checkChecksumData("abc"));
    EXPECT_FALSE(back.checkChecksumData("abd"));
}

TEST(Header, ValidationRejectsUidVersionAndFormat)
{
    auto valid = [](const char* uid, int ver, int format, int size) {
        Header h;
        h.setUid(uid);
        h.setVer(ver);
        h.setBodyFormat(format);
        h.setBodySize(size);
        return h.checkHeaderValidation();
    };
    EXPECT_TRUE(valid("VORA", 1, 0, 0));
    EXPECT_FALSE(valid("XORA", 1, 0, 3));
    EXPECT_FALSE(valid("VORX", 1, 0, 3));
    EXPECT_FALSE(valid("VORA", 2, 0, 3));
    EXPECT_FALSE(valid("VORA", 1, 1, 3));
}

TEST(Buffers, AllocBufferOwnsUntilFreedOrTaken)
{
    AllocBuffer b;
    void* block = b.allocNewBuffer(16);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(b.getSize(), 16);
    b.freeAllocBuffer();
    EXPECT_EQ(b.getBuffer(), nullptr);
    EXPECT_EQ(b.getSize(), 0);

    // Taken, the block outlives the buffer; left in it, it goes with the buffer.
    void* taken;
    {
        AllocBuffer owner;
        owner.allocNewBuffer(4);
        owner.allocNewBuffer(8); // the first block is freed, not leaked
        taken = owner.take();
        EXPECT_EQ(owner.getBuffer(), nullptr);
        EXPECT_EQ(owner.take(), nullptr);
        owner.allocNewBuffer(32);
    }
    ASSERT_NE(taken, nullptr);
    memset(taken, 1, 8);
    free(taken);

    Buffer view;
    EXPECT_EQ(view.allocNewBuffer(8), nullptr);
    EXPECT_EQ(view.getSize(), 0);
}

// The queue is a process-wide singleton; every test leaves it empty.
class Queue : public ::testing::Test {
protected:
    QManager* q = QManager::getInstance();
    void TearDown() override
    {
        uqitem_st item;
        while (q->dequeue(item))
            q->eraseBeginItem();
    }
    static void* body(const char* text) { return strdup(text); }
};

TEST_F(Queue, FrontStaysQueuedUntilErased)
{
    uqitem_st out { 7, nullptr };
    EXPECT_EQ(q->dequeue(out), 0);
    EXPECT_EQ(out.type, 7) << "an empty queue leaves the output untouched";
    q->eraseBeginItem(); // harmless on empty

    q->enqueue(body("first"));
    q->enqueue(body("second"));
    uqitem_st a, b;
    ASSERT_EQ(q->dequeue(a), 1);
    ASSERT_EQ(q->dequeue(b), 1);
    EXPECT_EQ(a.data, b.data);
    EXPECT_STREQ(static_cast<char*>(a.data), "first");
    q->eraseBeginItem();
    ASSERT_EQ(q->dequeue(a), 1);
    EXPECT_STREQ(static_cast<char*>(a.data), "second");
}

TEST_F(Queue, ConsumerNeverWaitsForAHeldLock)
{
    q->enqueue(body("waiting"));
    std::atomic<bool> held { false }, release { false };
    std::thread producer([&] {
        thread_util_lock(ThreadUtilLockType::QUEUE);
        held = true;
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        thread_util_unlock(ThreadUtilLockType::QUEUE);
    });
    while (!held)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    uqitem_st item;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(q->dequeue(item), 0);
    EXPECT_NE(thread_util_trylock(ThreadUtilLockType::QUEUE), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(20));
    EXPECT_NE(thread_util_retrylock(ThreadUtilLockType::QUEUE), 0);
    release = true;
    producer.join();
    EXPECT_EQ(q->dequeue(item), 1);
}

TEST_F(Queue, AppendAfterRemoveAllIsSafe)
{
    q->enqueue(body("x"));
    uqitem_st item;
    q->dequeue(item);
    q->removeAll();
    EXPECT_TRUE(q->isEmpty());
    q->enqueue(body("after"));
    ASSERT_EQ(q->dequeue(item), 1);
    EXPECT_STREQ(static_cast<char*>(item.data), "after");
}

// Closing is for good, so it runs in a child process: queued bodies and every
// body enqueued later are freed, and the queue stays empty whatever arrives.
TEST_F(Queue, ClosedQueueFreesWhatItHeldAndWhatComesLater)
{
    EXPECT_EXIT(
        {
            for (int i = 0; i < 20; ++i)
                q->enqueue(malloc(1 << 20));
            q->close();
            bool ok = q->isEmpty() && q->isClosed();
            size_t before = mallinfo2().uordblks;
            for (int i = 0; i < 100; ++i)
                ok = q->enqueue(malloc(1 << 20)) == -1 && ok;
            size_t after = mallinfo2().uordblks;
            uqitem_st item;
            ok = ok && q->isEmpty() && q->dequeue(item) == 0 && after < before + (1 << 20);
            exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(Queue, EraseWhenFullDropsOldestOnlyPastTen)
{
    for (int i = 0; i < 10; ++i)
        q->enqueue(body("n"));
    EXPECT_EQ(q->eraseNItemByQueueFull(3), 10);
    EXPECT_EQ(q->getSize(), 10);
    q->enqueue(body("eleventh"));
    EXPECT_EQ(q->eraseNItemByQueueFull(3), 3);
    EXPECT_EQ(q->getSize(), 8);
}

// Captures what one stream receives while `write` runs.
std::string capture(FILE* stream, const std::function<void()>& write)
{
    fflush(stream);
    int saved = dup(fileno(stream));
    char path[] = "/tmp/logcaptureXXXXXX";
    int fd = mkstemp(path);
    dup2(fd, fileno(stream));
    write();
    dup2(saved, fileno(stream)); // no fflush: the logger must have flushed already
    close(saved);
    std::string out;
    char buf[512];
    lseek(fd, 0, SEEK_SET);
    for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;)
        out.append(buf, size_t(n));
    close(fd);
    unlink(path);
    return out;
}

TEST(Logger, HandshakeAndTraceLinesAreExactAndFlushed)
{
    const Logger& log = Logger::getInstance();
    EXPECT_EQ(capture(stdout, [&] { log.printCmdToStdOut("[%s]\n", "X"); }), "[X]\n\n");
    EXPECT_EQ(capture(stdout, [&] { log.printMsgToStdOut("TRACE", "a.cpp", 12, "fn", "%s", ""); }),
              "[TRACE] [a.cpp:12:fn()] \t\n");
    EXPECT_EQ(capture(stdout, [&] { log.printMsgToStdOut("TRACE", "a.cpp", 3, "serialize", "Receive Id : %d", 4); }),
              "[TRACE] [a.cpp:3:serialize()] \tReceive Id : 4\n");
    std::string out;
    std::string err = capture(stderr, [&] {
        out = capture(stdout, [&] { log.printErrToStdOut("TRACE", "b.cpp", 1, "f", "boom"); });
    });
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "[TRACE] [b.cpp:1:f()] \tboom\n");
    // File variants with no file open write nothing anywhere.
    EXPECT_EQ(capture(stdout, [&] { log.printMsgToFile("TRACE", "c", 1, "f", "x"); log.printCmdToFile("y"); }), "");
}

TEST(Diagnostics, NameTheRequestAndCommand)
{
    std::string err = capture(stderr, [] {
        diag_set_request(7, "CMD_RENDER");
        diag("node \"%s\": unknown widget type", "btn1");
        diag_clear_request();
        diag("plain");
    });
    EXPECT_EQ(err, "render-engine: request 7 CMD_RENDER: node \"btn1\": unknown widget type\n"
                   "render-engine: plain\n");
}

TEST(Responses, EventBodyIsStyledJsonInKeyOrder)
{
    CapturedWriter out;
    out.writer.sendResponseEventMessage(7, "EVENT_CREATE", "{}");
    auto frames = out.frames();
    ASSERT_EQ(frames.size(), 1u);
    const SentFrame& f = frames[0];
    EXPECT_EQ(f.uid, "VORA");
    EXPECT_EQ(f.fields[1], 1);
    EXPECT_EQ(f.fields[4], 0);
    EXPECT_EQ(f.fields[3], checksum_of(f.body));
    EXPECT_EQ(f.body, "{\n   \"event-data\" : \"{}\",\n   \"event-name\" : \"EVENT_CREATE\",\n   \"id\" : 7,\n"
                      "   \"msg-type\" : 12\n}\n");
}

TEST(Responses, PaintPreambleAndPixelsAndPartialSends)
{
    CapturedWriter out;
    out.connection.maxPerCall = 3; // every piece must still arrive whole
    const uint32_t pixels[2] = { 0xff112233, 0xff445566 };
    MsgResponsePaint paint;
    paint.setId(9);
    paint.setMsgType(11);
    paint.setWidth(2);
    paint.setHeight(1);
    paint.setDepth(32);
    paint.setBuffer(pixels);
    paint.setBufferSize(8);
    ASSERT_EQ(out.writer.writeMsg(&paint), 0);
    auto frames = out.frames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].fields[2], 28);
    EXPECT_EQ(frames[0].fields[4], 1);
    int32_t pre[5];
    memcpy(pre, frames[0].body.data(), 20);
    EXPECT_EQ(pre[0], 9);
    EXPECT_EQ(pre[1], 11);
    EXPECT_EQ(pre[2], 2);
    EXPECT_EQ(pre[3], 1);
    EXPECT_EQ(pre[4], 32);
    EXPECT_EQ(memcmp(frames[0].body.data() + 20, pixels, 8), 0);
    EXPECT_GT(out.connection.calls, 2);
}

TEST(Responses, ClosedPeerGivesAnErrorResultNotASignal)
{
    CapturedWriter out;
    out.connection.broken = true;
    Event event("EVENT_CREATE", "");
    MsgResponseEvent msg;
    msg.setMsgType(12);
    msg.setEvent(&event);
    EXPECT_NE(out.writer.writeMsg(&msg), 0);
    EXPECT_EQ(out.connection.calls, 1) << "the body is not sent after the header failed";
}

// The writer's paint of a real window: the created size at the page's
// origin, one frame whose size field matches its body, or the protocol's
// empty paint when there is nothing to show, never a size without pixels.
class Paints : public ToolkitTest {
protected:
    int w = 64, h = 48;
    Evas_Object* page = nullptr;
    void SetUp() override
    {
        ToolkitTest::SetUp();
        evas_object_resize(win, w, h);
        evas_object_data_set(win, "win-width", &w);
        evas_object_data_set(win, "win-height", &h);
        page = elm_bg_add(win);
        elm_bg_color_set(page, 0, 0, 255);
        evas_object_size_hint_weight_set(page, 1, 1);
        elm_win_resize_object_add(win, page);
        evas_object_show(page);
        evas_object_data_set(win, "page", page);
        renderOnce();
    }
    void TearDown() override
    {
        evas_object_data_del(win, "page");
        evas_object_data_del(win, "win-width");
        evas_object_data_del(win, "win-height");
        ToolkitTest::TearDown();
    }
    SentFrame paint(ImageBuffer::Status& status)
    {
        CapturedWriter out;
        status = out.writer.sendResponsePaintMessage(5, win);
        auto frames = out.frames();
        EXPECT_EQ(frames.size(), 1u);
        return frames.empty() ? SentFrame {} : frames[0];
    }
    static void expectPreamble(const SentFrame& f, int width, int height, int depth)
    {
        int32_t pre[5];
        ASSERT_GE(f.body.size(), 20u);
        memcpy(pre, f.body.data(), 20);
        EXPECT_EQ(pre[0], 5);
        EXPECT_EQ(pre[1], 11);
        EXPECT_EQ(pre[2], width);
        EXPECT_EQ(pre[3], height);
        EXPECT_EQ(pre[4], depth);
        EXPECT_EQ(f.body.size(), 20u + size_t(width) * size_t(height) * 4);
        EXPECT_EQ(f.fields[2], int(f.body.size()));
        EXPECT_EQ(f.fields[3], checksum_of(f.body));
        EXPECT_EQ(f.fields[4], 1);
    }
};

TEST_F(Paints, PixelsOfTheCreatedSizeInOneFrame)
{
    ImageBuffer::Status status;
    SentFrame f = paint(status);
    EXPECT_EQ(status, ImageBuffer::Status::Pixels);
    expectPreamble(f, w, h, 32);
    auto* canvas = static_cast<const uint32_t*>(ecore_evas_buffer_pixels_get(ecore_evas_ecore_evas_get(evas_object_evas_get(win))));
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(memcmp(f.body.data() + 20, canvas, size_t(w) * size_t(h) * 4), 0);
    uint32_t first;
    memcpy(&first, f.body.data() + 20, 4);
    EXPECT_EQ(first & 0xffffff, 0x0000ffu);
}

// One writer sends every paint from the same block: each frame must carry
// the pixels of its own moment, whatever size came before it.
TEST_F(Paints, ConsecutivePaintsShareABlockButCarryTheirOwnPixels)
{
    CapturedWriter out;
    auto first_pixel = [](const SentFrame& f) {
        uint32_t px = 0;
        if (f.body.size() >= 24)
            memcpy(&px, f.body.data() + 20, 4);
        return px & 0xffffff;
    };
    const uint32_t colours[] = { 0x0000ff, 0x00ff00, 0xff0000 };
    const int heights[] = { 48, 20, 96 }; // same, smaller, then larger than the block
    for (int i = 0; i < 3; ++i) {
        h = heights[i];
        evas_object_resize(win, w, h);
        elm_bg_color_set(page, colours[i] >> 16, (colours[i] >> 8) & 0xff, colours[i] & 0xff);
        renderOnce();
        EXPECT_EQ(out.writer.sendResponsePaintMessage(5, win), ImageBuffer::Status::Pixels);
    }
    auto frames = out.frames();
    ASSERT_EQ(frames.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        expectPreamble(frames[i], w, heights[i], 32);
        EXPECT_EQ(first_pixel(frames[i]), colours[i]);
    }

    ReusedBlock block;
    void* p = block.get(100);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(block.get(40), p) << "a smaller request keeps the block";
    EXPECT_NE(block.get(200), nullptr);
    EXPECT_EQ(block.get(ReusedBlock::LIMIT + 1), nullptr) << "larger blocks are not kept";
    ImageBuffer image;
    EXPECT_EQ(image.updateImageBuffer(win, 0, &block), ImageBuffer::Status::Pixels);
    EXPECT_FALSE(image.ownsBlock());
    EXPECT_EQ(image.getBlock(), block.get(0));
}

TEST_F(Paints, ACanvasLargerThanTheCreatedSizeIsCroppedRowByRow)
{
    w = 40; // the window stays 64 wide: rows are copied one by one
    h = 30;
    ImageBuffer::Status status;
    SentFrame f = paint(status);
    EXPECT_EQ(status, ImageBuffer::Status::Pixels);
    expectPreamble(f, 40, 30, 32);
    elm_bg_color_set(page, 255, 0, 0); // rows differ, so a wrong stride shows
    Evas_Object* stripe = evas_object_rectangle_add(evas_object_evas_get(win));
    evas_object_color_set(stripe, 0, 255, 0, 255);
    evas_object_geometry_set(stripe, 0, 10, 64, 1);
    evas_object_show(stripe);
    renderOnce();
    f = paint(status);
    auto* canvas = static_cast<const uint32_t*>(ecore_evas_buffer_pixels_get(ecore_evas_ecore_evas_get(evas_object_evas_get(win))));
    for (int r = 0; r < 30; ++r)
        EXPECT_EQ(memcmp(f.body.data() + 20 + size_t(r) * 40 * 4, canvas + size_t(r) * 64, 40 * 4), 0) << "row " << r;
    evas_object_del(stripe);
}

TEST_F(Paints, NothingToShowGivesTheEmptyPaint)
{
    evas_object_move(page, -5000, 0); // the page's origin lies left of the canvas
    w = 32;
    ImageBuffer::Status status;
    SentFrame f = paint(status);
    EXPECT_EQ(status, ImageBuffer::Status::Outside);
    expectPreamble(f, 0, 0, 0);
    h = 0;
    f = paint(status);
    EXPECT_EQ(status, ImageBuffer::Status::NoArea);
    expectPreamble(f, 0, 0, 0);
}

} // namespace
