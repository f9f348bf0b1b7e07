// Paths named by requests, against the real binary: only regular files are
// ever opened (a FIFO would block the engine for good), theme edits write the
// named file and nothing else, and the engine listens on loopback only.
#include <Edje.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "e2e_support.h"
#include "theme_files.h"

namespace {

using namespace e2e;
using namespace theme_files;
namespace fs = std::filesystem;

// Every file under `root` with its bytes, and every directory and link.
std::map<std::string, std::string> snapshot(const fs::path& root)
{
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        std::string key = e.path().string();
        if (e.is_symlink())
            out[key] = "link to " + fs::read_symlink(e.path()).string();
        else if (e.is_regular_file())
            out[key] = file_bytes(key);
        else
            out[key] = e.is_directory() ? "dir" : "special";
    }
    return out;
}

class FilePaths : public ::testing::Test {
protected:
    fs::path dir;
    std::string fifo, folder;
    std::unique_ptr<client::Engine> engine;

    static void SetUpTestSuite() { edje_init_for_files(); }
    static void TearDownTestSuite() { edje_shutdown(); }

    void SetUp() override
    {
        char pattern[] = "/tmp/file_paths_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        fifo = (dir / "pipe.edj").string();
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        folder = (dir / "folder.edj").string();
        fs::create_directory(folder);
        engine = startEngine();
        ASSERT_TRUE(engine);
    }
    void TearDown() override
    {
        engine.reset();
        fs::remove_all(dir);
    }

    bool create(int id, const std::string& defaultTheme, const std::string& customTheme)
    {
        Json::Value d;
        d["width"] = 360;
        d["height"] = 480;
        d["project-path"] = "/projects/paths" + std::to_string(id);
        d["default-theme-path"] = defaultTheme;
        d["custom-theme-path"] = customTheme;
        return engine->sendRequest(id, "CMD_CREATE", compact(d)) && engine->waitEvent("EVENT_CREATE", id, WAIT_MS);
    }

    std::string ask(int id, const char* command, const Json::Value& data, const char* event)
    {
        if (!engine->sendRequest(id, command, compact(data)))
            return "<not sent>";
        auto answer = engine->waitEvent(event, id, WAIT_MS);
        return answer ? answer->data : "<no answer: " + engine->lastError() + ">";
    }

    std::string removeButtonStyle(int id, const std::string& path, const char* style)
    {
        Json::Value d;
        d["path"] = path;
        d["widgetType"] = "button";
        d["style"] = style;
        return ask(id, "CMD_REMOVE_STYLE_NAME", d, "EVENT_REMOVE_STYLE_NAME");
    }

    std::string copyTheme(const char* name, const fs::path& to)
    {
        fs::create_directories(to.parent_path());
        fs::copy_file(theme(name), to);
        return to.string();
    }
};

TEST_F(FilePaths, ThemesThatAreNoRegularFileAreNeverOpened)
{
    ASSERT_TRUE(create(1, fifo, fifo)) << engine->lastError();
    EXPECT_TRUE(engine->waitForStderrContaining("theme file \"" + fifo + "\" is a FIFO; the default theme is used", WAIT_MS));
    EXPECT_TRUE(engine->waitForStderrContaining("theme file \"" + fifo + "\" is a FIFO; no overlay added", WAIT_MS));
    ASSERT_TRUE(create(2, folder, "/dev/zero"));
    EXPECT_TRUE(engine->waitForStderrContaining("\"" + folder + "\" is a directory", WAIT_MS));
    EXPECT_TRUE(engine->waitForStderrContaining("\"/dev/zero\" is a device", WAIT_MS));

    Json::Value path;
    path["path"] = fifo;
    EXPECT_NE(ask(1, "CMD_GET_GROUP_NAMES", path, "EVENT_GET_GROUP_NAMES").find("\"length\" : 0"), std::string::npos);
    EXPECT_NE(ask(1, "CMD_GET_STYLE_NAMES", path, "EVENT_GET_STYLE_NAMES").find("\"widgets\" : null"), std::string::npos);
    EXPECT_EQ(ask(1, "CMD_OVERLAY_THEME", path, "EVENT_OVERLAY_THEME"), "");
    EXPECT_EQ(removeButtonStyle(1, fifo, "default"), "0");

    // Still answering, and rendering, afterwards.
    Frame f;
    ASSERT_TRUE(render(*engine, 1, 360, 480, node("efl.button", "b"), f));
}

TEST_F(FilePaths, WidgetFilesThatAreNoRegularFileAreNotLoaded)
{
    ASSERT_TRUE(create(1, "", ""));
    auto prop = [](const char* name, const std::string& value) {
        Json::Value p;
        p[name] = value;
        return p;
    };
    Json::Value layoutProps = prop("file-path", fifo);
    layoutProps["group-name"] = "elm/bg/base/default";
    Json::Value kids(Json::arrayValue);
    kids.append(node("efl.image", "image", prop("image-path", fifo)));
    kids.append(node("efl.icon", "icon", prop("image-path", "/dev/zero")));
    kids.append(node("efl.photo", "photo", prop("image-path", folder)));
    kids.append(node("efl.photocam", "photocam", prop("image-path", fifo)));
    kids.append(node("efl.bg", "bg", prop("image-path", fifo)));
    kids.append(node("efl.layout", "layout", layoutProps));
    kids.append(node("efl.entry", "entry", prop("file-path", fifo)));
    Frame f;
    ASSERT_TRUE(render(*engine, 1, 360, 480, node("efl.box", "root", Json::Value(), kids), f))
        << engine->lastError() << engine->stderrText();
    EXPECT_EQ(f.widgets.size(), 8u);
    for (const char* wid : { "image", "photocam", "bg", "layout", "entry" })
        EXPECT_TRUE(engine->waitForStderrContaining(
            std::string("node \"") + wid + "\": file \"" + fifo + "\" is a FIFO; not loaded", WAIT_MS))
            << wid;
    EXPECT_TRUE(engine->waitForStderrContaining("node \"icon\": file \"/dev/zero\" is a device; not loaded", WAIT_MS));
    EXPECT_TRUE(engine->waitForStderrContaining("node \"photo\": file \"" + folder + "\" is a directory", WAIT_MS));
}

TEST_F(FilePaths, StyleRemovalWritesTheNamedFileOnly)
{
    ASSERT_TRUE(create(1, "", ""));
    // Special files: nothing listed, nothing written.
    auto before = snapshot(dir);
    for (const std::string& path : { fifo, folder, std::string("/dev/null") })
        EXPECT_EQ(removeButtonStyle(1, path, "default"), "0") << path;
    EXPECT_EQ(snapshot(dir), before);

    // A symbolic link to a theme elsewhere: the theme it points at is kept.
    std::string elsewhere = copyTheme("five_groups", dir / "elsewhere" / "theme.edj");
    fs::create_directory(dir / "project");
    fs::create_symlink(elsewhere, dir / "project" / "link.edj");
    before = snapshot(dir);
    EXPECT_EQ(removeButtonStyle(1, (dir / "project" / "link.edj").string(), "default"), "-1");
    EXPECT_TRUE(engine->waitForStderrContaining("is a symbolic link", WAIT_MS));
    EXPECT_EQ(snapshot(dir), before);

    // A path through "..": the file it names is rewritten, nothing else changes.
    std::string target = copyTheme("five_groups", dir / "project" / "theme.edj");
    fs::create_directory(dir / "project" / "sub");
    before = snapshot(dir);
    std::set<std::string> groups = group_set(target);
    ASSERT_EQ(removeButtonStyle(1, (dir / "project" / "sub" / ".." / "theme.edj").string(), "default"), "1");
    auto after = snapshot(dir);
    groups.erase("elm/button/base/default");
    EXPECT_EQ(group_set(target), groups);
    after.erase(target);
    before.erase(target);
    EXPECT_EQ(after, before) << "a file other than the named one changed";
}

TEST(Listening, OnlyOnLoopback)
{
    auto engine = startEngine(false);
    ASSERT_TRUE(engine);
    ASSERT_TRUE(engine->waitForStdoutLine("[VORA-CMD-LISTEN]", WAIT_MS));
    char port[8];
    snprintf(port, sizeof port, "%04X", engine->port());
    // Listening sockets of the system: local address and port, state 0A.
    std::ifstream tcp("/proc/net/tcp");
    std::string line;
    std::vector<std::string> addresses;
    while (std::getline(tcp, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state;
        fields >> slot >> local >> remote >> state;
        if (state == "0A" && local.size() == 13 && local.substr(9) == port)
            addresses.push_back(local.substr(0, 8));
    }
    ASSERT_EQ(addresses.size(), 1u) << "the engine's port is listened on once, over IPv4";
    EXPECT_EQ(addresses[0], "0100007F") << "127.0.0.1";
    std::ifstream tcp6("/proc/net/tcp6");
    while (std::getline(tcp6, line))
        EXPECT_EQ(line.find(":" + std::string(port) + " "), std::string::npos) << line;
}

} // namespace
