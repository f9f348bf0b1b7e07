// render-snapshot driven as a user would: a child process with arguments,
// judged by its exit status, its messages and the files it writes.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <climits>
#include <cstring>
#include <functional>
#include <set>
#include <sstream>
#include <thread>

#include "e2e_support.h"
#include "run_program.h"

extern char** environ;

namespace {

using namespace e2e;
namespace fs = std::filesystem;

const std::string TOOL = std::string(BUILD_DIR) + "/render-snapshot";
const int TOOL_TIMEOUT_MS = 60000;

// --- an engine that sends one odd paint --------------------------------------
// This test binary, started by the tool as its engine with this variable set,
// runs the real engine behind it and passes every frame through, except that
// paints of a window whose last render holds a node "odd" are replaced by a
// paint declaring a width without any pixels.
const char kOddPaintVar[] = "SNAPSHOT_TEST_ODD_PAINT_ENGINE";

std::string le32(int32_t v)
{
    std::string s(4, '\0');
    memcpy(s.data(), &v, 4);
    return s;
}

std::string styledEvent(const client::Event& e)
{
    Json::Value v;
    v["event-data"] = e.data;
    v["event-name"] = e.name;
    v["id"] = e.id;
    v["msg-type"] = e.msgType;
    return Json::StyledWriter().write(v);
}

bool readFrom(int fd, char* at, size_t n)
{
    for (ssize_t got; n > 0; at += got, n -= size_t(got))
        if ((got = recv(fd, at, n, 0)) <= 0)
            return false;
    return true;
}

[[noreturn]] void oddPaintEngine()
{
    client::Engine::Options options;
    options.binary = ENGINE_BINARY;
    options.workdir = SOURCE_DIR;
    std::string error;
    auto engine = client::Engine::start(options, &error);
    if (!engine)
        _exit(20);
    int port = 0;
    int ls = client::listenOnLoopback(port);
    if (ls < 0)
        _exit(21);
    printf("[VORA-CMD-PORT:%d]\n\n[VORA-CMD-LISTEN]\n\n", port);
    fflush(stdout);
    int ide = accept(ls, nullptr, nullptr);
    printf("[VORA-CMD-ACCEPT]\n\n");
    fflush(stdout);
    std::set<int> odd;
    for (;;) {
        pollfd p { ide, POLLIN, 0 };
        if (poll(&p, 1, 5) == 1) {
            std::string header(20, '\0');
            if (!readFrom(ide, header.data(), 20))
                _exit(0);
            int32_t size;
            memcpy(&size, header.data() + 8, 4);
            std::string body(size_t(std::max(size, 0)), '\0');
            if (!readFrom(ide, body.data(), body.size()) || !engine->sendRaw(header + body))
                _exit(0);
            Json::Value request = parse(body);
            if (request["command-name"] == "CMD_RENDER") {
                int id = request["id"].asInt();
                if (request["command-data"].asString().find("\\\"odd\\\"") != std::string::npos)
                    odd.insert(id);
                else
                    odd.erase(id);
            }
        }
        std::string why;
        for (auto m = engine->receive(0, &why); m; m = engine->receive(0, &why)) {
            std::string out;
            if (m->kind == client::Message::Kind::Event)
                out = client::encodeFrame(styledEvent(m->event));
            else if (odd.count(m->paint.id))
                out = client::encodeFrame(le32(m->paint.id) + le32(11) + le32(m->paint.width) + le32(0) + le32(0), 1);
            else
                out = client::encodeFrame(le32(m->paint.id) + le32(11) + le32(m->paint.width) + le32(m->paint.height)
                                              + le32(m->paint.depth)
                                              + std::string(reinterpret_cast<const char*>(m->paint.pixels.data()),
                                                            m->paint.pixels.size() * 4),
                                          1);
            if (send(ide, out.data(), out.size(), MSG_NOSIGNAL) != ssize_t(out.size()))
                _exit(0);
        }
        if (why != "timeout")
            _exit(22);
    }
}

const int kOddPaintHook = [] {
    if (std::getenv(kOddPaintVar))
        oddPaintEngine();
    return 0;
}();

std::string selfExe()
{
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, size_t(n)) : std::string();
}

using ToolRun = ProgramRun;

ToolRun runTool(const std::vector<std::string>& args, const fs::path& scratch,
                const std::function<void(pid_t)>& during = {})
{
    return runProgram(TOOL, args, scratch, TOOL_TIMEOUT_MS, during);
}

// True once `pid` runs its reader thread, that is, an engine has accepted
// its client; false when it does not within `timeoutMs`.
bool connectedEngine(pid_t pid, int timeoutMs)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        std::istringstream status(readFile("/proc/" + std::to_string(pid) + "/status"));
        for (std::string line; std::getline(status, line);)
            if (line.rfind("Threads:", 0) == 0 && std::stoi(line.substr(8)) >= 2)
                return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (std::chrono::steady_clock::now() < until);
    return false;
}

// The process whose parent is `parent`, waiting up to `timeoutMs` for it to appear.
pid_t childOf(pid_t parent, int timeoutMs)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        std::vector<ChildProcess> children = childrenOf(parent);
        if (!children.empty())
            return children.front().pid;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (std::chrono::steady_clock::now() < until);
    return -1;
}

using tree_json::fill;

Json::Value coloured(const char* colour)
{
    Json::Value p = fill();
    p["color"] = colour;
    return p;
}

// A document holding a box with a coloured background and a 2x2 table with one filled cell.
Json::Value sample(const char* colour = "#ff0000")
{
    Json::Value cell = coloured("#0000ff");
    cell["pack-left"] = "1";
    cell["pack-top"] = "1";
    cell["pack-width"] = "1";
    cell["pack-height"] = "1";
    Json::Value table = fill();
    table["col_count"] = "2";
    table["row_count"] = "2";
    table["homogeneous"] = "true";
    Json::Value tableKids(Json::arrayValue);
    tableKids.append(node("efl.bg", "cell", cell));
    Json::Value boxKids(Json::arrayValue);
    boxKids.append(node("efl.bg", "stripe", coloured(colour)));
    boxKids.append(node("efl.table", "grid", table, tableKids));
    Json::Value docKids(Json::arrayValue);
    docKids.append(node("efl.box", "column", fill(), boxKids));
    return node("zelva.doc", "doc", coloured("#ffffff"), docKids);
}

void preOrder(const Json::Value& n, std::vector<std::string>& out)
{
    out.push_back(n["wid"].asString());
    for (const Json::Value& c : n["children"])
        preOrder(c, out);
}

class Snapshot : public testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::path(BUILD_DIR) / "snapshot_e2e" / info->name();
        fs::remove_all(dir);
        fs::create_directories(dir);
    }

    fs::path writeText(const std::string& name, const std::string& text)
    {
        fs::path p = dir / name;
        std::ofstream(p) << text;
        return p;
    }
    fs::path write(const std::string& name, const Json::Value& tree) { return writeText(name, compact(tree)); }

    // A picture that cannot be read fails the test and comes back blank, as
    // large as any picture here, so later pixel checks fail instead of crash.
    image::Image png(const fs::path& p)
    {
        image::Image img;
        std::string error;
        bool read = image::readPng(p.string(), img, &error);
        EXPECT_TRUE(read) << error;
        if (!read)
            img = { 1280, 1280, std::vector<uint32_t>(1280 * 1280) };
        return img;
    }

    fs::path dir;
};

uint32_t rgb(uint32_t argb) { return argb & 0xffffff; }

TEST_F(Snapshot, WritesPicturePositionsAndAnnotationOfATree)
{
    Json::Value tree = sample();
    fs::path file = write("page.json", tree);
    ToolRun r = runTool({ file.string(), "--size", "360x480", "--out-dir", (dir / "out").string() }, dir);
    ASSERT_EQ(r.status, 0) << r.err;

    image::Image pic = png(dir / "out/page.png");
    ASSERT_EQ(pic.width, 360);
    ASSERT_EQ(pic.height, 480);
    bool uniform = std::all_of(pic.pixels.begin(), pic.pixels.end(), [&](uint32_t p) { return p == pic.pixels[0]; });
    EXPECT_FALSE(uniform);

    Json::Value doc = parse(readFile(dir / "out/page.positions.json"));
    ASSERT_TRUE(doc.isObject());
    std::vector<std::string> expected, listed;
    preOrder(tree, expected);
    for (const Json::Value& w : doc["widgets"])
        listed.push_back(w["wid"].asString());
    EXPECT_EQ(listed, expected);
    ASSERT_EQ(doc["placeholders"].size(), 1u);
    EXPECT_EQ(doc["placeholders"][0]["wid"], "grid");
    EXPECT_EQ(doc["placeholders"][0]["ph_cnt"], 4);

    // The picture matches the positions: the stripe's centre is red, the cell's blue.
    auto centre = [&](const Json::Value& w) {
        const Json::Value& rect = w["rectangle"];
        return rgb(pic.at(rect["x"].asInt() + rect["w"].asInt() / 2, rect["y"].asInt() + rect["h"].asInt() / 2));
    };
    EXPECT_EQ(centre(doc["widgets"][2]), 0xff0000u);
    EXPECT_EQ(centre(doc["widgets"][4]), 0x0000ffu);

    // The annotation outlines widgets and placeholders but leaves their insides alone.
    image::Image notes = png(dir / "out/page.annotated.png");
    ASSERT_EQ(notes.width, 360);
    ASSERT_EQ(notes.height, 480);
    const Json::Value& cellRect = doc["widgets"][4]["rectangle"];
    int cx = cellRect["x"].asInt(), cy = cellRect["y"].asInt();
    EXPECT_NE(notes.at(cx, cy + 10), pic.at(cx, cy + 10)) << "the cell's left edge is outlined";
    EXPECT_EQ(notes.at(cx + cellRect["w"].asInt() / 2, cy + cellRect["h"].asInt() / 2),
              pic.at(cx + cellRect["w"].asInt() / 2, cy + cellRect["h"].asInt() / 2));
    const Json::Value& empty = doc["placeholders"][0]["ph_list"][0]["rectangle"];
    int ex = empty["x"].asInt() + empty["w"].asInt() / 2, ey = empty["y"].asInt() + empty["h"].asInt() / 2;
    EXPECT_NE(notes.at(ex, ey), pic.at(ex, ey)) << "an empty cell is tinted as a drop target";

    EXPECT_NE(r.err.find("[1/1] page: 360x480, 5 widgets"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("render-snapshot: 1 tree in "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(", 0 failed"), std::string::npos) << r.err;
}

// Each picture shows its own tree, not a frame left over from the one before.
TEST_F(Snapshot, BatchWritesEachTreeItsOwnFrame)
{
    const char* colours[] = { "#ff0000", "#00ff00", "#0000ff", "#ffff00" };
    std::vector<std::string> args;
    for (int i = 0; i < 4; ++i)
        args.push_back(write("t" + std::to_string(i) + ".json", node("efl.bg", "bg", coloured(colours[i]))).string());
    args.insert(args.end(), { "--size", "64x64", "--out-dir", (dir / "out").string() });
    ToolRun r = runTool(args, dir);
    ASSERT_EQ(r.status, 0) << r.err;
    const uint32_t want[] = { 0xff0000, 0x00ff00, 0x0000ff, 0xffff00 };
    for (int i = 0; i < 4; ++i) {
        image::Image pic = png(dir / "out" / ("t" + std::to_string(i) + ".png"));
        ASSERT_EQ(pic.width, 64);
        EXPECT_EQ(rgb(pic.at(32, 32)), want[i]) << "tree " << i;
        EXPECT_NE(r.err.find("[" + std::to_string(i + 1) + "/4] t" + std::to_string(i) + ": "), std::string::npos);
    }
    EXPECT_NE(r.err.find("render-snapshot: 4 trees in "), std::string::npos) << r.err;
}

// Trees share the engine, several windows at once, and each slot serves
// several trees in turn: each picture and positions file still shows its own
// tree, also when a tree builds nothing in a slot that showed another tree
// before.
TEST_F(Snapshot, TreesSharingTheEngineEachGetTheirOwnFrame)
{
    const uint32_t colours[] = { 0xff0000, 0x00ff00, 0x0000ff, 0xffff00, 0x00ffff, 0xff00ff, 0x808000 };
    const size_t count = 15, nothing = 9;
    std::vector<std::string> args;
    for (size_t i = 0; i < count; ++i) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%06x", unsigned(colours[i % 7]));
        Json::Value tree = i == nothing ? node("efl.nosuch", "void", fill())
                                        : node("efl.bg", "bg" + std::to_string(i), coloured(hex));
        args.push_back(write("t" + std::to_string(i) + ".json", tree).string());
    }
    args.insert(args.end(), { "--size", "48x48", "--windows", "3", "--out-dir", (dir / "out").string() });
    ToolRun r = runTool(args, dir);
    ASSERT_EQ(r.status, 0) << r.err;
    size_t at = 0;
    for (size_t i = 0; i < count; ++i) {
        std::string name = "t" + std::to_string(i);
        image::Image pic = png(dir / "out" / (name + ".png"));
        ASSERT_EQ(pic.width, 48) << name;
        Json::Value doc = parse(readFile(dir / "out" / (name + ".positions.json")));
        if (i == nothing) {
            for (uint32_t c : colours)
                EXPECT_NE(rgb(pic.at(24, 24)), c) << "an empty window, not a tree before";
            EXPECT_TRUE(doc["widgets"].isNull());
        } else {
            EXPECT_EQ(rgb(pic.at(24, 24)), colours[i % 7]) << name;
            ASSERT_EQ(doc["widgets"].size(), 1u) << name;
            EXPECT_EQ(doc["widgets"][0]["wid"], "bg" + std::to_string(i));
        }
        size_t line = r.err.find("[" + std::to_string(i + 1) + "/15] " + name + ": ", at);
        ASSERT_NE(line, std::string::npos) << "lines in the order given:\n" << r.err;
        at = line;
    }
    EXPECT_NE(r.err.find("no widget was built"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("engine: node \"void\": unknown widget type \"efl.nosuch\""), std::string::npos) << r.err;
}

// The toolkit's scale is process-wide and set by the first render; a tree
// must not look different for having landed in another window.
TEST_F(Snapshot, ATreeLooksTheSameInEveryWindowAndAlone)
{
    const fs::path example = fs::path(SOURCE_DIR) / "examples/grid_mosaic.json";
    std::vector<std::string> args;
    for (int i = 0; i < 4; ++i) {
        fs::path copy = dir / ("g" + std::to_string(i) + ".json");
        fs::copy_file(example, copy, fs::copy_options::overwrite_existing);
        args.push_back(copy.string());
    }
    std::vector<std::string> pooled = args;
    pooled.insert(pooled.end(), { "--windows", "3", "--out-dir", (dir / "pooled").string() });
    ToolRun r = runTool(pooled, dir);
    ASSERT_EQ(r.status, 0) << r.err;
    ToolRun single = runTool({ args[0], "--windows", "1", "--out-dir", (dir / "single").string() }, dir);
    ASSERT_EQ(single.status, 0) << single.err;
    image::Image reference = png(dir / "single/g0.png");
    std::string positions = readFile(dir / "single/g0.positions.json");
    ASSERT_EQ(reference.width, 720);
    for (int i = 0; i < 4; ++i) {
        std::string name = "g" + std::to_string(i);
        EXPECT_EQ(png(dir / "pooled" / (name + ".png")).pixels, reference.pixels) << name;
        EXPECT_EQ(readFile(dir / "pooled" / (name + ".positions.json")), positions) << name;
    }
}

// Which tree goes to which window, and the values put back before each, do
// not depend on timing: a run repeats itself exactly.
TEST_F(Snapshot, ARunRepeatsItselfExactly)
{
    const char* kinds[] = { "controls", "grid_mosaic", "containers", "grid_mosaic", "form_table", "grid_mosaic" };
    std::vector<std::string> args;
    for (size_t i = 0; i < 6; ++i) {
        fs::path copy = dir / (std::to_string(i) + kinds[i] + ".json");
        fs::copy_file(fs::path(SOURCE_DIR) / "examples" / (std::string(kinds[i]) + ".json"), copy,
                      fs::copy_options::overwrite_existing);
        args.push_back(copy.string());
    }
    args.insert(args.end(), { "--windows", "2" });
    for (const char* run : { "first", "second" }) {
        std::vector<std::string> a = args;
        a.insert(a.end(), { "--out-dir", (dir / run).string() });
        ToolRun r = runTool(a, dir);
        ASSERT_EQ(r.status, 0) << r.err;
    }
    for (size_t i = 0; i < 6; ++i) {
        std::string name = std::to_string(i) + kinds[i];
        EXPECT_EQ(readFile(dir / "first" / (name + ".positions.json")),
                  readFile(dir / "second" / (name + ".positions.json")))
            << name;
        EXPECT_EQ(png(dir / "first" / (name + ".png")).pixels, png(dir / "second" / (name + ".png")).pixels) << name;
    }
}

// An engine lost with several trees in it takes none of them down: each is
// rendered again, alone, in a new engine.
TEST_F(Snapshot, TreesInAnEngineThatDiesAreRenderedAgain)
{
    const char* colours[] = { "#ff0000", "#00ff00", "#0000ff", "#ffff00", "#00ffff" };
    std::vector<std::string> args;
    for (int i = 0; i < 5; ++i)
        args.push_back(write("k" + std::to_string(i) + ".json", node("efl.bg", "bg", coloured(colours[i]))).string());
    // A long quiet period keeps the first three trees in the engine when it is killed.
    args.insert(args.end(), { "--size", "32x32", "--windows", "3", "--quiet-ms", "1200", "--out-dir",
                              (dir / "out").string() });
    bool killed = false;
    ToolRun r = runTool(args, dir, [&](pid_t tool) {
        pid_t engine = childOf(tool, 5000);
        if (engine <= 0 || !connectedEngine(engine, 10000))
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        killed = kill(engine, SIGKILL) == 0;
    });
    ASSERT_TRUE(killed) << "the engine was not found running";
    EXPECT_EQ(r.status, 0) << r.err;
    const uint32_t want[] = { 0xff0000, 0x00ff00, 0x0000ff, 0xffff00, 0x00ffff };
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(rgb(png(dir / "out" / ("k" + std::to_string(i) + ".png")).at(16, 16)), want[i]) << i;
    EXPECT_EQ(r.err.find("error"), std::string::npos) << r.err;
}

TEST_F(Snapshot, CompareMatchesItselfAndFlagsAChangedTree)
{
    fs::path golden = dir / "golden";
    fs::path original = write("page.json", sample("#ff0000"));
    std::vector<std::string> common = { "--size", "320x320" };
    auto with = [&](std::vector<std::string> a) {
        a.insert(a.end(), common.begin(), common.end());
        return a;
    };

    ToolRun missing = runTool(with({ original.string(), "--compare", golden.string() }), dir);
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("golden directory not found"), std::string::npos) << missing.err;

    ToolRun made = runTool(with({ original.string(), "--compare", golden.string(), "--update", "--out-dir",
                              (dir / "first").string() }),
                       dir);
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_NE(made.err.find("golden written"), std::string::npos) << made.err;
    ASSERT_TRUE(fs::exists(golden / "page.png"));

    ToolRun same = runTool(with({ original.string(), "--compare", golden.string(), "--out-dir", (dir / "second").string() }), dir);
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_NE(same.err.find("matches golden"), std::string::npos) << same.err;
    EXPECT_FALSE(fs::exists(dir / "second/page.diff.png"));

    fs::create_directories(dir / "changed");
    std::ofstream(dir / "changed/page.json") << compact(sample("#00ff00"));
    ToolRun changed = runTool(with({ (dir / "changed/page.json").string(), "--compare", golden.string(), "--out-dir",
                                 (dir / "third").string() }),
                          dir);
    EXPECT_EQ(changed.status, 1) << changed.err;
    EXPECT_NE(changed.err.find("DIFFERS"), std::string::npos) << changed.err;
    EXPECT_NE(changed.err.find("1 differ from golden"), std::string::npos) << changed.err;
    image::Image diff = png(dir / "third/page.diff.png");
    ASSERT_EQ(diff.width, 320);
    size_t marked = std::count(diff.pixels.begin(), diff.pixels.end(), 0xffff0000u);
    EXPECT_GT(marked, 0u);
    EXPECT_LT(marked, diff.pixels.size()) << "only the stripe changed";
    EXPECT_EQ(png(golden / "page.png").pixels, png(dir / "first/page.png").pixels) << "goldens are never rewritten";

    // The largest tolerance accepts any change.
    ToolRun tolerated = runTool(with({ (dir / "changed/page.json").string(), "--compare", golden.string(), "--tolerance",
                                   "255", "--out-dir", (dir / "fourth").string() }),
                            dir);
    EXPECT_EQ(tolerated.status, 0) << tolerated.err;

    fs::create_directories(dir / "emptygold");
    ToolRun noGolden = runTool(with({ original.string(), "--compare", (dir / "emptygold").string(), "--out-dir",
                                  (dir / "fifth").string() }),
                           dir);
    EXPECT_EQ(noGolden.status, 2);
    EXPECT_NE(noGolden.err.find("missing golden"), std::string::npos) << noGolden.err;
}

TEST_F(Snapshot, UserErrorsAreExplainedWithStatus2)
{
    fs::path good = write("good.json", node("efl.bg", "bg", coloured("#00ff00")));
    fs::path broken = writeText("broken.json", "{\"widgetType\": \"efl.bg\", ");
    std::string out = (dir / "out").string();
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        { { good.string(), "--size", "12" }, "bad value '12' for --size" },
        { { good.string(), "--size", "0x100" }, "bad value '0x100' for --size" },
        { { good.string(), "--fast" }, "unknown option '--fast'" },
        { { good.string(), "--out-dir" }, "option --out-dir needs a value" },
        { {}, "no tree files given" },
        { { good.string(), "--engine", (dir / "no-engine").string() }, "engine binary not found" },
        { { good.string(), "--engine", "/bin/true", "--out-dir", out }, "error: cannot start the engine: engine exited" },
        { { good.string(), "--theme", (dir / "none.edj").string() }, "theme file not found" },
        { { (dir / "absent.json").string(), "--out-dir", out }, "absent.json: error: cannot read: No such file" },
    };
    for (const Case& c : cases) {
        ToolRun r = runTool(c.args, dir);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << "wanted: " << c.message << "\ngot: " << r.err;
        EXPECT_EQ(r.err.find("terminate"), std::string::npos) << r.err;
    }

    // A bad tree fails alone: the trees around it are still written.
    ToolRun mixed = runTool({ broken.string(), good.string(), "--size", "64x64", "--out-dir", out }, dir);
    EXPECT_EQ(mixed.status, 2);
    EXPECT_NE(mixed.err.find("[1/2] " + broken.string() + ": error: not valid JSON (Line 1"), std::string::npos)
        << mixed.err;
    EXPECT_NE(mixed.err.find("1 failed"), std::string::npos) << mixed.err;
    EXPECT_FALSE(fs::exists(dir / "out/broken.png"));
    EXPECT_EQ(png(dir / "out/good.png").width, 64);
}

TEST_F(Snapshot, UnknownWidgetTypeStillRendersTheRest)
{
    Json::Value kids(Json::arrayValue);
    kids.append(node("efl.buton", "typo", fill()));
    kids.append(node("efl.bg", "fine", coloured("#ff0000")));
    fs::path file = write("typo.json", node("efl.box", "root", fill(), kids));
    ToolRun r = runTool({ file.string(), "--size", "100x100", "--out-dir", (dir / "out").string() }, dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("engine: node \"typo\": unknown widget type \"efl.buton\""), std::string::npos) << r.err;
    Json::Value doc = parse(readFile(dir / "out/typo.positions.json"));
    ASSERT_EQ(doc["widgets"].size(), 2u);
    EXPECT_EQ(doc["widgets"][1]["wid"], "fine");
    EXPECT_EQ(rgb(png(dir / "out/typo.png").at(50, 50)), 0xff0000u);
}

TEST_F(Snapshot, HelpDescribesUsageAndTiming)
{
    ToolRun r = runTool({ "--help" }, dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("Usage: render-snapshot TREE.json...", 0), 0u) << r.out;
    for (const char* text : { "--compare DIR", "--tolerance N", "--quiet-ms MS", "(default 150)", "(default 3000)",
                              "--windows N", "(default 10", "Exit status" })
        EXPECT_NE(r.out.find(text), std::string::npos) << text;
}

// The engine is slow (stopped for longer than the maximum wait, twice, and
// one tree takes long to build): every picture still shows its own tree,
// decided by the answers that follow each render, never by a quiet period.
TEST_F(Snapshot, ASlowEngineNeverYieldsAnOlderFrame)
{
    const uint32_t colours[] = { 0xff0000, 0x00ff00, 0x0000ff, 0xffff00, 0x00ffff, 0xff00ff };
    std::vector<std::string> args;
    Json::Value labels(Json::arrayValue);
    for (int i = 0; i < 1500; ++i) {
        Json::Value text;
        text["text"] = "label " + std::to_string(i);
        labels.append(node("efl.label", "l" + std::to_string(i), text));
    }
    args.push_back(write("heavy.json", node("efl.box", "heavy", fill(), labels)).string());
    for (int i = 0; i < 6; ++i) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%06x", unsigned(colours[i]));
        args.push_back(write("c" + std::to_string(i) + ".json", node("efl.bg", "bg" + std::to_string(i), coloured(hex)))
                           .string());
    }
    args.insert(args.end(), { "--size", "48x48", "--windows", "2", "--quiet-ms", "40", "--max-wait-ms", "300",
                              "--out-dir", (dir / "out").string() });
    int stops = 0;
    ToolRun r = runTool(args, dir, [&](pid_t tool) {
        pid_t engine = childOf(tool, 5000);
        if (engine <= 0 || !connectedEngine(engine, 10000))
            return;
        for (int round = 0; round < 2; ++round) {
            std::this_thread::sleep_for(std::chrono::milliseconds(150 + 250 * round));
            if (kill(engine, SIGSTOP) != 0)
                return;
            ++stops;
            std::this_thread::sleep_for(std::chrono::milliseconds(800));
            kill(engine, SIGCONT);
        }
    });
    EXPECT_EQ(stops, 2) << "the engine was not found running";
    ASSERT_EQ(r.status, 0) << r.err;
    Json::Value heavy = parse(readFile(dir / "out/heavy.positions.json"));
    EXPECT_EQ(heavy["widgets"].size(), 1501u) << "the heavy tree's own frame";
    for (int i = 0; i < 6; ++i) {
        std::string name = "c" + std::to_string(i);
        EXPECT_EQ(rgb(png(dir / "out" / (name + ".png")).at(24, 24)), colours[i]) << name;
        Json::Value doc = parse(readFile(dir / "out" / (name + ".positions.json")));
        ASSERT_EQ(doc["widgets"].size(), 1u) << name;
        EXPECT_EQ(doc["widgets"][0]["wid"], "bg" + std::to_string(i));
    }
}

// The engine keeps the last "disable" and "style" a button node was given
// and applies them to later buttons (for the IDE, on purpose); each tree's
// picture is still the one it gives in a fresh engine.
TEST_F(Snapshot, ATreeLooksAsInAFreshEngineWhateverTheTreesBefore)
{
    // A tree that leaves a carried-over value set, then one that does not
    // name it: rendered after the first, the second must look as it does alone.
    Json::Value disabled = fill();
    disabled["disable"] = "true";
    disabled["style"] = "anchor";
    disabled["text"] = "first";
    Json::Value plain = fill();
    plain["text"] = "second";
    Json::Value tall;
    tall["height"] = "300";
    Json::Value label;
    label["text"] = "body";
    auto popup = [&](const std::string& wid, const Json::Value& props) {
        return node("efl.popup", wid, props, tree_json::kids({ node("efl.label", wid + "-body", label) }));
    };
    struct Case {
        const char* name;
        Json::Value first, second;
    } cases[] = {
        { "button", node("efl.button", "b1", disabled), node("efl.button", "b2", plain) },
        { "popup", popup("p1", tall), popup("p2", Json::Value()) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::path first = write(std::string(c.name) + "-first.json", c.first);
        fs::path second = write(std::string(c.name) + "-second.json", c.second);
        auto run = [&](std::vector<std::string> trees, const std::string& out) {
            trees.insert(trees.end(), { "--size", "160x240", "--windows", "1", "--out-dir", (dir / out).string() });
            return runTool(trees, dir);
        };
        std::string batchDir = std::string(c.name) + "-batch", aloneDir = std::string(c.name) + "-alone";
        ToolRun batch = run({ first.string(), second.string() }, batchDir);
        ASSERT_EQ(batch.status, 0) << batch.err;
        ToolRun alone = run({ second.string() }, aloneDir);
        ASSERT_EQ(alone.status, 0) << alone.err;
        std::string picture = std::string(c.name) + "-second.png";
        image::Image inBatch = png(dir / batchDir / picture), byItself = png(dir / aloneDir / picture);
        EXPECT_EQ(inBatch.pixels, byItself.pixels) << "the tree came out as the tree before left it";
        EXPECT_NE(png(dir / batchDir / (std::string(c.name) + "-first.png")).pixels, byItself.pixels);
    }
}

// At 720x1280 (scale 2.3) the engine lays the lists page out a pixel taller
// after a label was drawn in the same window: each tree gets a window that
// held no tree before. And while the engine builds a large tree in another
// window it draws nothing, so the lists page's index, which fades in, looks
// quiet before it is done: a window counts as quiet only once the engine has
// answered after it. Either way the picture and positions are the ones the
// tree gives alone, byte for byte.
TEST_F(Snapshot, ATreeLooksAsAloneWhateverTheTreesBeforeOrBesideIt)
{
    Json::Value text;
    text["text"] = "x";
    fs::path label = write("label.json", node("zelva.doc", "d", Json::Value(), tree_json::kids({ node("efl.label", "l", text) })));
    Json::Value labels(Json::arrayValue);
    for (int i = 0; i < 3000; ++i) {
        text["text"] = "label " + std::to_string(i);
        labels.append(node("efl.label", "l" + std::to_string(i), text));
    }
    fs::path heavy = write("heavy.json", node("efl.box", "heavy", fill(), labels));
    fs::path lists = dir / "lists.json";
    fs::copy_file(fs::path(SOURCE_DIR) / "examples/lists.json", lists);
    ToolRun alone = runTool({ lists.string(), "--size", "720x1280", "--out-dir", (dir / "alone").string() }, dir);
    ASSERT_EQ(alone.status, 0) << alone.err;
    // One window at a time: the label's slot serves the lists page next.
    // Two: the heavy tree is built right after the lists page; on a loaded
    // machine that can take longer than the default maximum wait, which
    // would cut the list's index short as a tree that keeps drawing.
    const std::vector<std::string> batches[] = {
        { label.string(), lists.string(), "--windows", "1" },
        { lists.string(), heavy.string(), "--windows", "2", "--max-wait-ms", "20000" },
    };
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        fs::path out = dir / ("batch" + std::to_string(i));
        std::vector<std::string> args = batches[i];
        args.insert(args.end(), { "--size", "720x1280", "--out-dir", out.string() });
        ToolRun r = runTool(args, dir);
        ASSERT_EQ(r.status, 0) << r.err;
        for (const char* file : { "lists.png", "lists.positions.json" }) {
            std::string a = readFile(dir / "alone" / file), b = readFile(out / file);
            EXPECT_FALSE(a.empty()) << file;
            EXPECT_TRUE(a == b) << file << " differs from the tree alone";
        }
        Json::Value doc = parse(readFile(out / "lists.positions.json"));
        ASSERT_GE(doc["widgets"].size(), 2u);
        EXPECT_EQ(doc["widgets"][1]["wid"], "page");
        EXPECT_EQ(doc["widgets"][1]["rectangle"]["h"], 1280) << "the page is the window's height";
    }
}

// A paint that breaks the protocol fails the tree of its window; the engine
// and every other tree go on.
TEST_F(Snapshot, AnInvalidPaintFailsItsTreeOnly)
{
    const char* colours[] = { "#ff0000", "#00ff00", "#0000ff", "#ffff00" };
    std::vector<std::string> args;
    for (int i = 0; i < 4; ++i)
        args.push_back(write("t" + std::to_string(i) + ".json",
                             node("efl.bg", i == 1 ? "odd" : "bg" + std::to_string(i), coloured(colours[i])))
                           .string());
    args.insert(args.end(), { "--size", "32x32", "--windows", "2", "--engine", selfExe(), "--workdir", SOURCE_DIR,
                              "--out-dir", (dir / "out").string() });
    setenv(kOddPaintVar, "1", 1);
    ToolRun r = runTool(args, dir);
    unsetenv(kOddPaintVar);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find("[2/4] t1: error: the engine sent an invalid paint: empty paint must be 0x0"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find("lost the engine"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("1 failed"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir / "out/t1.png"));
    const uint32_t want[] = { 0xff0000, 0, 0x0000ff, 0xffff00 };
    for (int i : { 0, 2, 3 })
        EXPECT_EQ(rgb(png(dir / "out" / ("t" + std::to_string(i) + ".png")).at(16, 16)), want[i]) << i;
}

} // namespace
