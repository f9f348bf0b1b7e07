// Regression: a render that shrinks the window arriving while the toolkit
// still draws the previous, much larger frame on its render thread. The
// resize used to free the pixels that thread was writing.
#include "e2e_support.h"

namespace {

using namespace e2e;

Json::Value oneButton()
{
    Json::Value p;
    p["text"] = "button";
    return node("efl.button", "button", p);
}

// Waits for the paint of the small window: frames of the large one may come first.
bool smallFrame(client::Engine& engine, int side)
{
    for (int i = 0; i < 20; ++i) {
        Frame f;
        if (!nextFrame(engine, 1, f))
            return false;
        if (f.paint.width == side && f.paint.height == side)
            return true;
    }
    return false;
}

TEST(Resize, ShrinkingWhileALargeFrameIsDrawnNeverCrashes)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(createWindow(*engine, 1, 360, 480));
    const std::pair<int, int> large[] = { { 2000, 8192 }, { 8192, 8192 } };
    for (int round = 0; round < 12; ++round) {
        auto [w, h] = large[round % 4 == 3 ? 1 : 0];
        SCOPED_TRACE(std::to_string(round) + ": " + std::to_string(w) + "x" + std::to_string(h));
        // Sent together, so the second runs one tick after the first,
        // while the large frame is being drawn.
        ASSERT_TRUE(engine->sendRaw(client::encodeFrame(client::requestBody(1, "CMD_RENDER", renderData(w, h, oneButton())))
                                    + client::encodeFrame(client::requestBody(1, "CMD_RENDER", renderData(100, 100, oneButton())))));
        ASSERT_TRUE(smallFrame(*engine, 100)) << engine->lastError() << "\n" << engine->stderrText().substr(0, 3000);
    }
    EXPECT_FALSE(engine->exited());
}

} // namespace
