// The pure parts of render-snapshot: options, annotation drawing, picture
// comparison, frame settling and tree-file checks.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "annotate.h"
#include "compare.h"
#include "options.h"
#include "settle.h"
#include "tree_file.h"

namespace snapshot {
namespace {

image::Image solid(int w, int h, uint32_t argb)
{
    return image::Image { w, h, std::vector<uint32_t>(size_t(w) * h, argb) };
}

Json::Value parse(const std::string& text)
{
    Json::Value v;
    Json::CharReaderBuilder b;
    std::unique_ptr<Json::CharReader> r(b.newCharReader());
    std::string errors;
    EXPECT_TRUE(r->parse(text.data(), text.data() + text.size(), &v, &errors)) << errors;
    return v;
}

// ---------------------------------------------------------------- options

ParseResult parseArgs(std::vector<std::string> args, Options& o, std::string& error)
{
    return parseOptions(args, o, error);
}

TEST(SnapshotOptions, DefaultsAndBothValueForms)
{
    Options o;
    std::string error;
    ASSERT_EQ(parseArgs({ "a.json", "b.json" }, o, error), ParseResult::Run) << error;
    EXPECT_EQ(o.trees, (std::vector<std::string> { "a.json", "b.json" }));
    EXPECT_EQ(o.width, 720);
    EXPECT_EQ(o.height, 1280);
    EXPECT_EQ(o.outDir, ".");
    EXPECT_EQ(o.quietMs, 150);
    EXPECT_EQ(o.maxWaitMs, 3000);
    EXPECT_EQ(o.windows, 10);
    EXPECT_TRUE(o.compareDir.empty());

    ASSERT_EQ(parseArgs({ "--size=360x480", "t.json", "--out-dir", "out", "--compare", "gold", "--tolerance=3",
                          "--update", "--profile", "wearable", "--project=/p", "--theme", "a.edj",
                          "--overlay-theme", "b.edj", "--quiet-ms", "40", "--max-wait-ms=900", "--engine", "e",
                          "--workdir", "w", "--windows", "32", "--", "--odd.json" },
                        o, error),
              ParseResult::Run)
        << error;
    EXPECT_EQ(o.width, 360);
    EXPECT_EQ(o.height, 480);
    EXPECT_EQ(o.trees, (std::vector<std::string> { "t.json", "--odd.json" }));
    EXPECT_EQ(o.outDir, "out");
    EXPECT_EQ(o.compareDir, "gold");
    EXPECT_EQ(o.tolerance, 3);
    EXPECT_TRUE(o.update);
    EXPECT_EQ(o.profile, "wearable");
    EXPECT_EQ(o.project, "/p");
    EXPECT_EQ(o.theme, "a.edj");
    EXPECT_EQ(o.overlayTheme, "b.edj");
    EXPECT_EQ(o.quietMs, 40);
    EXPECT_EQ(o.maxWaitMs, 900);
    EXPECT_EQ(o.windows, 32);
    EXPECT_EQ(o.engine, "e");
    EXPECT_EQ(o.workdir, "w");

    EXPECT_EQ(parseArgs({ "t.json", "--help" }, o, error), ParseResult::Help);
    EXPECT_EQ(parseArgs({ "-h" }, o, error), ParseResult::Help);
}

TEST(SnapshotOptions, UserErrorsAreNamed)
{
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        { { "t.json", "--frobnicate" }, "unknown option '--frobnicate'" },
        { { "t.json", "-x" }, "unknown option '-x'" },
        { { "t.json", "--size" }, "option --size needs a value" },
        { { "t.json", "--size", "720" }, "bad value '720' for --size" },
        { { "t.json", "--size", "0x10" }, "bad value '0x10' for --size" },
        { { "t.json", "--size", "10x-5" }, "bad value '10x-5' for --size" },
        { { "t.json", "--size", "9000x10" }, "bad value '9000x10' for --size" },
        { { "t.json", "--size", "axb" }, "bad value 'axb' for --size" },
        { { "t.json", "--size", "99999999999x1" }, "bad value '99999999999x1' for --size" },
        { { "t.json", "--compare", "g", "--tolerance", "256" }, "bad value '256' for --tolerance" },
        { { "t.json", "--quiet-ms", "0" }, "bad value '0' for --quiet-ms" },
        { { "t.json", "--windows", "0" }, "bad value '0' for --windows" },
        { { "t.json", "--windows=33" }, "bad value '33' for --windows" },
        { { "t.json", "--out-dir=" }, "bad value '' for --out-dir" },
        { { "t.json", "--update" }, "--update only works with --compare DIR" },
        { { "t.json", "--tolerance", "4" }, "--tolerance only works with --compare DIR" },
        { {}, "no tree files given" },
        { { "--size", "10x10" }, "no tree files given" },
    };
    for (const Case& c : cases) {
        Options o;
        std::string error;
        EXPECT_EQ(parseArgs(c.args, o, error), ParseResult::Error) << c.message;
        EXPECT_EQ(error.rfind(c.message, 0), 0u) << "got: " << error;
    }
}

// ------------------------------------------------------------- annotation

constexpr uint32_t kGrey = 0xff404040;

TEST(SnapshotAnnotate, StrokeDrawsARingOfTheGivenWidthInsideTheRectangle)
{
    image::Image img = solid(8, 8, kGrey);
    strokeRect(img, { 1, 1, 6, 6 }, 2, 0xff0000ff);
    int ring = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            bool inside = x >= 1 && x <= 6 && y >= 1 && y <= 6;
            bool inner = x >= 3 && x <= 4 && y >= 3 && y <= 4;
            uint32_t want = inside && !inner ? 0xff0000ff : kGrey;
            EXPECT_EQ(img.at(x, y), want) << x << "," << y;
            ring += img.at(x, y) == 0xff0000ffu;
        }
    EXPECT_EQ(ring, 32);

    // Thinner than the line width: filled, and still only inside.
    image::Image small = solid(8, 8, kGrey);
    strokeRect(small, { 2, 2, 3, 1 }, 2, 0xff00ff00);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(small.at(x, 2), x >= 2 && x <= 4 ? 0xff00ff00u : kGrey) << x;
    EXPECT_EQ(small.at(2, 3), kGrey);
}

TEST(SnapshotAnnotate, DashedStrokeSkipsEveryOtherRun)
{
    image::Image img = solid(12, 12, kGrey);
    strokeRect(img, { 0, 0, 12, 12 }, 1, 0xffffffff, 3);
    for (int x = 0; x < 12; ++x)
        EXPECT_EQ(img.at(x, 0), (x / 3) % 2 == 0 ? 0xffffffffu : kGrey) << x;
    for (int y = 1; y < 11; ++y)
        EXPECT_EQ(img.at(0, y), (y / 3) % 2 == 0 ? 0xffffffffu : kGrey) << y;
}

TEST(SnapshotAnnotate, DrawingIsClippedAndBlendsPremultiplied)
{
    image::Image img = solid(8, 8, 0xff000000);
    fillRect(img, { -4, -4, 6, 6 }, 0x80ff0000);  // half-transparent red
    uint32_t blended = img.at(1, 1);
    EXPECT_EQ(blended >> 24, 0xffu);
    EXPECT_NEAR(int((blended >> 16) & 0xff), 128, 1);
    EXPECT_EQ(blended & 0xffff, 0u);
    EXPECT_EQ(img.at(2, 2), 0xff000000u);
    EXPECT_EQ(img.at(2, 0), 0xff000000u);

    // Far outside or absurdly large rectangles neither crash nor take long.
    strokeRect(img, { -2000000000, -2000000000, 2000000000, 2000000000 }, 2, 0xffffffff);
    strokeRect(img, { 100, 100, 5, 5 }, 2, 0xffffffff);
    fillRect(img, { 3, 3, 2000000000, 2000000000 }, 0xff00ff00);
    EXPECT_EQ(img.at(7, 7), 0xff00ff00u);
    EXPECT_EQ(img.at(2, 7), 0xff000000u);
}

// A root with an empty and a filled table cell, and the child in the filled one.
const char* kWidgetsDoc = R"([
  {"wid": "root", "rectangle": {"x": 0, "y": 0, "w": 24, "h": 24},
   "placeholders": [{"rectangle": {"x": 0, "y": 0, "w": 12, "h": 12}},
                    {"rectangle": {"x": 12, "y": 0, "w": 12, "h": 12}, "wid": "a"}]},
  {"wid": "a", "rectangle": {"x": 12, "y": 0, "w": 12, "h": 12}}
])";

TEST(SnapshotAnnotate, WidgetsAndEmptyAndFilledPlaceholdersLookDifferent)
{
    Annotations a = collectAnnotations(parse(kWidgetsDoc), Json::Value());
    ASSERT_EQ(a.widgets.size(), 2u);
    ASSERT_EQ(a.placeholders.size(), 2u);
    image::Image img = annotate(solid(24, 24, kGrey), a);

    EXPECT_EQ(img.at(0, 18), colour::kWidgets[0]) << "root outline";
    EXPECT_EQ(img.at(12, 6), colour::kWidgets[1]) << "child outline";
    EXPECT_NE(colour::kWidgets[0], colour::kWidgets[1]);
    EXPECT_EQ(img.at(14, 6), colour::kFilledPlaceholder) << "filled slot, inset inside the child";
    EXPECT_EQ(img.at(18, 6), kGrey) << "a filled slot is not tinted";
    EXPECT_EQ(img.at(4, 2), colour::kEmptyPlaceholder) << "empty slot, first dash";
    EXPECT_NE(img.at(2 + kDash, 2), colour::kEmptyPlaceholder) << "empty slot, first gap";
    uint32_t tinted = img.at(6, 6);
    EXPECT_NE(tinted, kGrey);
    EXPECT_GT((tinted >> 16) & 0xff, (tinted & 0xff)) << "orange tint over grey";
    EXPECT_EQ(img.at(20, 20), kGrey) << "untouched area";

    // Colour families: widgets blue-green, placeholders red-orange.
    for (uint32_t c : colour::kWidgets)
        EXPECT_GT(c & 0xff, (c >> 16) & 0xff);
    for (uint32_t c : { colour::kEmptyPlaceholder, colour::kFilledPlaceholder })
        EXPECT_GT((c >> 16) & 0xff, c & 0xff);
}

TEST(SnapshotAnnotate, CollectReadsBothDocumentsOnceAndSkipsBadEntries)
{
    Json::Value widgets = parse(kWidgetsDoc);
    Json::Value doc = parse(R"([
      {"wid": "t", "ph_cnt": 4, "ph_list": [
        {"rectangle": {"x": 12, "y": 0, "w": 12, "h": 12}, "wid": "a"},
        {"rectangle": {"x": 0, "y": 12, "w": 12, "h": 12}},
        {"rectangle": {"x": 0, "y": 0, "w": 0, "h": 5}},
        {"rectangle": {"x": "1", "y": 0, "w": 3, "h": 5}}]},
      "junk"
    ])");
    widgets.append(parse(R"({"wid": "norect"})"));
    widgets.append(parse(R"({"wid": "zero", "rectangle": {"x": 1, "y": 1, "w": 0, "h": 0}})"));
    Annotations a = collectAnnotations(widgets, doc);
    EXPECT_EQ(a.widgets.size(), 2u);
    ASSERT_EQ(a.placeholders.size(), 3u);
    EXPECT_EQ(a.placeholders[2].rect.y, 12);
    EXPECT_FALSE(a.placeholders[2].filled);

    Annotations none = collectAnnotations(Json::Value(), Json::Value());
    EXPECT_TRUE(none.widgets.empty());
    EXPECT_TRUE(none.placeholders.empty());
}

// ------------------------------------------------------------- comparison

TEST(SnapshotCompare, ToleranceIsThePerChannelDifferenceAllowed)
{
    image::Image golden = solid(8, 8, 0xff102030);
    image::Image actual = golden;
    Comparison same = compareImages(actual, golden, 0);
    EXPECT_TRUE(same.matches());
    EXPECT_EQ(same.maxDelta, 0);
    for (uint32_t p : same.diff.pixels)
        EXPECT_NE(p, kDiffMark);

    actual.at(3, 5) = 0xff102a30;  // green 0x20 -> 0x2a: 10 apart
    Comparison strict = compareImages(actual, golden, 9);
    EXPECT_FALSE(strict.matches());
    EXPECT_EQ(strict.differing, 1u);
    EXPECT_EQ(strict.maxDelta, 10);
    EXPECT_EQ(strict.diff.at(3, 5), kDiffMark);
    EXPECT_NE(strict.diff.at(3, 4), kDiffMark);
    EXPECT_TRUE(compareImages(actual, golden, 10).matches());

    actual.at(0, 0) = 0x80102030;  // alpha differs too
    Comparison alpha = compareImages(actual, golden, 10);
    EXPECT_EQ(alpha.differing, 1u);
    EXPECT_EQ(alpha.diff.at(0, 0), kDiffMark);
}

TEST(SnapshotCompare, DifferentSizesMarkTheUnsharedArea)
{
    image::Image a = solid(8, 8, 0xff000000), g = solid(8, 6, 0xff000000);
    Comparison c = compareImages(a, g, 255);
    EXPECT_FALSE(c.sameSize);
    EXPECT_FALSE(c.matches());
    EXPECT_EQ(c.differing, 16u);
    ASSERT_EQ(c.diff.width, 8);
    ASSERT_EQ(c.diff.height, 8);
    EXPECT_EQ(c.diff.at(0, 6), kDiffMissing);
    EXPECT_NE(c.diff.at(0, 5), kDiffMissing);
    EXPECT_EQ(compareImages(g, a, 0).diff.height, 8);
}

// Goldens come back from PNG files: translucent pixels must still match
// the frame they were written from.
TEST(SnapshotCompare, PictureMatchesItsOwnPngRoundTrip)
{
    image::Image img = solid(8, 8, 0xff336699);
    const uint32_t alphas[] = { 0, 1, 2, 37, 128, 200, 254 };
    int i = 0;
    for (uint32_t a : alphas) {
        uint32_t c = a * 3 / 4;  // premultiplied channels never exceed alpha
        img.pixels[i++] = (a << 24) | (c << 16) | ((a / 2) << 8) | (a / 5);
    }
    std::string path = testing::TempDir() + "snapshot_roundtrip_" + std::to_string(getpid()) + ".png";
    std::string error;
    ASSERT_TRUE(image::writePng(path, img, &error)) << error;
    image::Image back;
    ASSERT_TRUE(image::readPng(path, back, &error)) << error;
    std::remove(path.c_str());
    Comparison c = compareImages(img, back, 0);
    EXPECT_TRUE(c.matches()) << c.differing << " pixels, max " << c.maxDelta;
}

// --------------------------------------------------------------- settling

client::Message paint(int id, uint32_t colour)
{
    client::Message m;
    m.kind = client::Message::Kind::Paint;
    m.paint.id = id;
    m.paint.width = 1;
    m.paint.height = 1;
    m.paint.pixels = { colour };
    return m;
}

client::Message event(int id, const char* name, const char* data = "")
{
    client::Message m;
    m.event.id = id;
    m.event.name = name;
    m.event.data = data;
    return m;
}

// Feeds a full frame (paint, widgets, placeholders) at time t.
void frame(FrameSettler& s, int id, uint32_t colour, int64_t t, const char* widgets = "[1]")
{
    client::Message m = paint(id, colour);
    s.onMessage(m, t);
    m = event(id, "EVENT_GET_ALL_WIDGET_POSITIONS", widgets);
    s.onMessage(m, t);
    m = event(id, "EVENT_GET_PLACEHOLDER_POSITIONS", "null\n");
    s.onMessage(m, t);
}

// The engine answers two markers sent at `t`, one after the other: the
// window was quiet while the engine ran.
void confirmQuiet(FrameSettler& s, int64_t t)
{
    s.onAnswer(uint64_t(2 * t + 1), t);
    s.onAnswer(uint64_t(2 * t + 2), t);
}

// A tree frame in the render's new window proves it; the last frame wins
// once the window is quiet.
TEST(SnapshotSettle, LastFrameAfterTheProofAndTheQuietPeriodWins)
{
    FrameSettler s(1, 150, 3000, 0);
    EXPECT_EQ(s.waitMs(0), kStuckMs);
    frame(s, 1, 0xaa, 10, "[\"first\"]");
    EXPECT_TRUE(s.executed());
    frame(s, 1, 0xbb, 40, "[\"new\"]");
    frame(s, 2, 0xcc, 50);  // another window
    EXPECT_EQ(s.answerWanted()->from, 190);
    confirmQuiet(s, 190);
    EXPECT_EQ(s.waitMs(190), 0);
    EXPECT_EQ(s.state(190), FrameSettler::State::Settled);
    Frame f = s.takeFrame();
    EXPECT_EQ(f.paint.pixels, std::vector<uint32_t> { 0xbb });
    EXPECT_EQ(f.widgets, "[\"new\"]");
    EXPECT_TRUE(f.hasPlaceholders);
    EXPECT_EQ(s.framesSeen(), 2);

    // A tree that builds nothing leaves its window's empty frame, which
    // counts only once a later request is answered.
    FrameSettler empty(1, 150, 3000, 0);
    client::Message m = paint(1, 0xe);
    empty.onMessage(m, 10);
    empty.onOtherMessage();
    EXPECT_EQ(empty.state(500), FrameSettler::State::Waiting) << "not known to have run, however quiet";
    EXPECT_EQ(empty.waitMs(500), kStuckMs - 500);
    empty.onExecuted(600);
    EXPECT_EQ(empty.state(600), FrameSettler::State::Waiting) << "its own frame may follow the marker";
    EXPECT_EQ(empty.answerWanted()->from, 750);
    confirmQuiet(empty, 750);
    EXPECT_EQ(empty.state(750), FrameSettler::State::Settled);
    f = empty.takeFrame();
    EXPECT_EQ(f.paint.pixels[0], 0xeu);
    EXPECT_FALSE(f.hasWidgets);
}

TEST(SnapshotSettle, QuietPeriodRestartsWithEveryFrame)
{
    FrameSettler s(1, 150, 3000, 0);
    s.onExecuted(50);
    EXPECT_EQ(s.waitMs(60), 2990) << "run but no frame yet: wait for the frame";
    frame(s, 1, 0x1, 80);
    EXPECT_EQ(s.answerWanted()->from, 230);
    frame(s, 1, 0x2, 200);
    EXPECT_EQ(s.answerWanted()->from, 350);
    confirmQuiet(s, 349);
    EXPECT_EQ(s.state(349), FrameSettler::State::Waiting) << "asked too early";
    confirmQuiet(s, 350);
    EXPECT_EQ(s.state(350), FrameSettler::State::Settled);
    EXPECT_EQ(s.takeFrame().paint.pixels[0], 0x2u);
}

TEST(SnapshotSettle, PositionEventsCountOnlyRightAfterTheirPaint)
{
    FrameSettler s(1, 100, 3000, 0);
    client::Message m = paint(1, 0x1);
    s.onMessage(m, 0);
    m = event(1, "EVENT_GET_PLACEHOLDER_POSITIONS", "x");  // out of order
    s.onMessage(m, 0);
    m = event(1, "EVENT_GET_ALL_WIDGET_POSITIONS", "[\"query answer\"]");
    s.onMessage(m, 0);
    EXPECT_FALSE(s.executed()) << "an answer to a query proves nothing";
    s.onExecuted(10);
    confirmQuiet(s, 200);
    ASSERT_EQ(s.state(200), FrameSettler::State::Settled);
    Frame f = s.takeFrame();
    EXPECT_FALSE(f.hasWidgets);
    EXPECT_FALSE(f.hasPlaceholders);
}

// The maximum wait counts from the proof that the render ran: a tree that
// keeps drawing then gives its last frame; one that drew nothing, none.
TEST(SnapshotSettle, EndlessFramesGiveTheLastOneAfterTheMaximumWait)
{
    FrameSettler s(1, 150, 1000, 0);
    for (int64_t t = 50; t <= 1000; t += 100) {
        frame(s, 1, uint32_t(t), t);
        EXPECT_EQ(s.state(std::min<int64_t>(t + 99, 1049)), FrameSettler::State::Waiting) << t;
    }
    EXPECT_EQ(s.state(1050), FrameSettler::State::StillDrawing);
    EXPECT_EQ(s.waitMs(1050), 0);
    EXPECT_TRUE(s.hasFrame());
    EXPECT_EQ(s.takeFrame().paint.pixels[0], 950u);

    // The maximum wait ends just after a paint: its positions come right
    // after it, and the frame is whole only with them.
    FrameSettler torn(1, 150, 1000, 0);
    frame(torn, 1, 0x1, 0);
    frame(torn, 1, 0x11, 900);
    client::Message m = paint(1, 0x2);
    torn.onMessage(m, 990);
    EXPECT_EQ(torn.state(1000), FrameSettler::State::Waiting);
    EXPECT_EQ(torn.waitMs(1000), 140) << "no sooner than the quiet period";
    m = event(1, "EVENT_GET_ALL_WIDGET_POSITIONS", "[2]");
    torn.onMessage(m, 1001);
    m = event(1, "EVENT_GET_PLACEHOLDER_POSITIONS", "null\n");
    torn.onMessage(m, 1001);
    ASSERT_EQ(torn.state(1001), FrameSettler::State::StillDrawing);
    Frame f = torn.takeFrame();
    EXPECT_EQ(f.paint.pixels[0], 0x2u);
    EXPECT_EQ(f.widgets, "[2]");

    FrameSettler silent(1, 150, 1000, 0);
    silent.onExecuted(60);
    EXPECT_EQ(silent.waitMs(100), 960);
    EXPECT_EQ(silent.state(1059), FrameSettler::State::Waiting);
    EXPECT_EQ(silent.state(1060), FrameSettler::State::NoFrame);
    EXPECT_FALSE(silent.hasFrame());
}

// A busy engine draws nothing while it builds another window's tree: the
// clock alone never makes a window quiet. A marker sent after the quiet
// period must be answered, then a later one, with no frame of the window
// between; what the engine drew meanwhile starts it again.
TEST(SnapshotSettle, AQuietWindowIsOneTheEngineRanThrough)
{
    FrameSettler s(1, 150, 3000, 0);
    frame(s, 1, 0x1, 10);
    EXPECT_EQ(s.state(2000), FrameSettler::State::Waiting) << "quiet by the clock only";
    EXPECT_EQ(s.waitMs(2000), 160 + kStuckMs - 2000) << "the engine's answers decide, however long it is busy";
    ASSERT_TRUE(s.answerWanted());
    EXPECT_EQ(s.answerWanted()->from, 160);
    s.onAnswer(1, 159);  // sent before the quiet period was over
    EXPECT_EQ(s.answerWanted()->from, 160);
    s.onAnswer(2, 160);
    ASSERT_TRUE(s.answerWanted());
    EXPECT_EQ(s.answerWanted()->after, 2u) << "then any marker after that one";
    EXPECT_EQ(s.state(2010), FrameSettler::State::Waiting);
    frame(s, 1, 0x2, 2020);  // drawn once the engine got to it: icons from an idle job
    ASSERT_TRUE(s.answerWanted());
    EXPECT_EQ(s.answerWanted()->from, 2170);
    EXPECT_EQ(s.answerWanted()->after, 0u);
    s.onAnswer(3, 2100);
    s.onAnswer(4, 2170);
    EXPECT_EQ(s.state(2250), FrameSettler::State::Waiting);
    s.onAnswer(5, 2170);
    EXPECT_FALSE(s.answerWanted());
    ASSERT_EQ(s.state(2250), FrameSettler::State::Settled);
    EXPECT_EQ(s.takeFrame().paint.pixels[0], 0x2u);

    // The maximum wait is for a tree that keeps drawing: a window quiet by
    // the clock waits for the engine's answers, however busy it is, until
    // the engine counts as stuck.
    FrameSettler unanswered(1, 150, 1000, 0);
    frame(unanswered, 1, 0x3, 10);
    EXPECT_EQ(unanswered.state(5000), FrameSettler::State::Waiting);
    EXPECT_EQ(unanswered.waitMs(5000), 160 + kStuckMs - 5000);
    EXPECT_EQ(unanswered.state(160 + kStuckMs), FrameSettler::State::Stuck);
    confirmQuiet(unanswered, 9000);
    EXPECT_EQ(unanswered.state(9000), FrameSettler::State::Settled);
}

// However long the engine takes, frames before the proof never decide: a
// slow render is waited for, and only a stuck engine ends the wait.
TEST(SnapshotSettle, NoFrameCountsBeforeTheRenderIsKnownToHaveRun)
{
    FrameSettler s(1, 150, 1000, 0);
    client::Message m = paint(1, 0xa);  // the new window, empty
    s.onMessage(m, 10);
    s.onOtherMessage();
    EXPECT_EQ(s.state(20000), FrameSettler::State::Waiting);
    EXPECT_EQ(s.waitMs(20000), kStuckMs - 20000);
    m = paint(1, 0xb);
    s.onMessage(m, 20500);
    s.onOtherMessage();  // the marker's answer
    s.onExecuted(21000);
    EXPECT_EQ(s.answerWanted()->from, 21150);
    confirmQuiet(s, 21150);
    EXPECT_EQ(s.state(21150), FrameSettler::State::Settled);
    EXPECT_EQ(s.takeFrame().paint.pixels[0], 0xbu);

    FrameSettler stuck(1, 150, 1000, 0);
    m = paint(1, 0xc);
    stuck.onMessage(m, 10);
    EXPECT_EQ(stuck.state(kStuckMs - 1), FrameSettler::State::Waiting);
    EXPECT_EQ(stuck.state(kStuckMs), FrameSettler::State::Stuck);
}

// A large tree's positions take the engine a while to write after its paint:
// the paint alone is no frame until they or another message come.
TEST(SnapshotSettle, APaintWaitsForItsPositionsOrTheNextMessage)
{
    FrameSettler s(1, 40, 3000, 0);
    s.onExecuted(10);
    client::Message m = paint(1, 0x1);
    s.onMessage(m, 20);
    EXPECT_EQ(s.state(200), FrameSettler::State::Waiting) << "quiet, but its positions are still due";
    EXPECT_EQ(s.waitMs(200), 2810);
    m = event(1, "EVENT_GET_ALL_WIDGET_POSITIONS", "[\"big\"]");
    s.onMessage(m, 210);
    EXPECT_EQ(s.state(300), FrameSettler::State::Waiting) << "the placeholders are still due";
    m = event(1, "EVENT_GET_PLACEHOLDER_POSITIONS", "null\n");
    s.onMessage(m, 220);
    EXPECT_EQ(s.answerWanted()->from, 260);
    confirmQuiet(s, 260);
    ASSERT_EQ(s.state(260), FrameSettler::State::Settled);
    EXPECT_EQ(s.takeFrame().widgets, "[\"big\"]");

    // A paint of a window without a tree has no positions: the next message
    // on the wire, of any window, completes it.
    FrameSettler empty(1, 40, 3000, 0);
    empty.onExecuted(10);
    m = paint(1, 0x2);
    empty.onMessage(m, 20);
    EXPECT_EQ(empty.state(100), FrameSettler::State::Waiting);
    empty.onOtherMessage();
    confirmQuiet(empty, 100);
    EXPECT_EQ(empty.state(100), FrameSettler::State::Settled);
    // ...and one that nothing follows at all is complete after the maximum
    // wait, once the engine has answered.
    FrameSettler alone(1, 40, 1000, 0);
    alone.onExecuted(10);
    m = paint(1, 0x3);
    alone.onMessage(m, 20);
    confirmQuiet(alone, 60);
    EXPECT_EQ(alone.state(1009), FrameSettler::State::Waiting);
    EXPECT_EQ(alone.state(1010), FrameSettler::State::Settled);
}

// In a window that never had a tree only the render can draw positions;
// the window's own first frame has none and proves nothing.
TEST(SnapshotSettle, ATreeFrameProvesTheRender)
{
    FrameSettler fresh(1, 150, 3000, 0);
    client::Message m = paint(1, 0x1);  // the window's own first, empty frame
    fresh.onMessage(m, 5);
    EXPECT_FALSE(fresh.executed());
    frame(fresh, 1, 0x2, 40);
    EXPECT_TRUE(fresh.executed());
    confirmQuiet(fresh, 190);
    EXPECT_EQ(fresh.state(190), FrameSettler::State::Settled);
    EXPECT_EQ(fresh.takeFrame().paint.pixels[0], 0x2u);

}

// -------------------------------------------------------------- tree files

TEST(SnapshotTreeFile, NamesAndTheEnginesJsonRules)
{
    EXPECT_EQ(treeName("dir/sub/box.json"), "box");
    EXPECT_EQ(treeName("box"), "box");
    EXPECT_EQ(treeName("a.json.json"), "a.json");
    EXPECT_EQ(treeName("dir/.json"), ".json");

    std::string error;
    EXPECT_TRUE(checkTreeText(R"({"widgetType": "efl.bg", "wid": "x"})", error)) << error;
    // A lone backslash travels literally, as the engine reads it.
    EXPECT_TRUE(checkTreeText(R"({"wid": "a", "properties": {"text": "C:\dir"}})", error)) << error;
    EXPECT_FALSE(checkTreeText(R"({"wid": "say \"hi\""})", error));
    EXPECT_NE(error.find("backslashes are taken literally"), std::string::npos) << error;
    EXPECT_FALSE(checkTreeText("{\"wid\": ", error));
    EXPECT_EQ(error.rfind("not valid JSON (Line 1, Column", 0), 0u) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);
    EXPECT_FALSE(checkTreeText("", error));
    EXPECT_FALSE(checkTreeText("[1, 2]", error));
    EXPECT_EQ(error, "not a widget tree: the top level must be a JSON object");
}

TEST(SnapshotTreeFile, NodesAreCountedAndEachWindowGetsAFixedTurnLargestFirst)
{
    std::string error;
    size_t nodes = 0;
    ASSERT_TRUE(checkTreeText(R"({"widgetType": "efl.box", "children": [
        {"widgetType": "efl.bg"}, {"widgetType": "efl.box", "children": [{"widgetType": "efl.bg"}, 7]},
        "text", {"children": "not a list"}]})",
                              error, &nodes))
        << error;
    EXPECT_EQ(nodes, 5u) << "objects in children lists only";

    using Tree = std::pair<size_t, size_t>;
    using Turns = std::vector<std::vector<size_t>>;
    const std::vector<Tree> trees = { { 0, 1 }, { 2, 5 }, { 3, 9 }, { 4, 5 }, { 7, 1 } };
    EXPECT_EQ(renderTurns(trees, 1), (Turns { { 0, 3, 2, 4, 7 } }));
    EXPECT_EQ(renderTurns(trees, 2), (Turns { { 0, 2, 7 }, { 3, 4 } }));
    EXPECT_EQ(renderTurns(trees, 7), (Turns { { 0 }, { 3 }, { 2 }, { 4 }, { 7 }, {}, {} }));
    EXPECT_EQ(renderTurns({ Tree { 5, 3 } }, 0), (Turns { { 5 } }));
    EXPECT_EQ(renderTurns({}, 2), (Turns { {}, {} }));
}

TEST(SnapshotTreeFile, UnreadableFilesSayWhy)
{
    TreeFile t;
    std::string error;
    EXPECT_FALSE(loadTree("/nonexistent/dir/t.json", t, error));
    EXPECT_EQ(error, "cannot read: No such file or directory");
    EXPECT_FALSE(loadTree(testing::TempDir(), t, error));
    EXPECT_EQ(error, "cannot read: is a directory");

    std::string path = testing::TempDir() + "snapshot_tree_" + std::to_string(getpid()) + ".json";
    FILE* f = std::fopen(path.c_str(), "w");
    ASSERT_TRUE(f);
    std::fputs(R"({"widgetType": "efl.bg", "wid": "bg"})", f);
    std::fclose(f);
    EXPECT_TRUE(loadTree(path, t, error)) << error;
    EXPECT_EQ(t.nodes, 1u);
    EXPECT_EQ(t.name, "snapshot_tree_" + std::to_string(getpid()));
    EXPECT_EQ(t.text, R"({"widgetType": "efl.bg", "wid": "bg"})");
    std::remove(path.c_str());
}

}  // namespace
}  // namespace snapshot
