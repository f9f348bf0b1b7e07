// The theme commands against the real engine binary, on copies of the test
// themes; every rewrite is checked by listing the file with the toolkit.
#include <Ecore_File.h>
#include <Edje.h>

#include <unistd.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "run_program.h"
#include "theme_files.h"

namespace {

using namespace e2e;

using namespace theme_files;

class ThemeService : public ::testing::Test {
protected:
    std::unique_ptr<client::Engine> engine;
    std::string dir;

    static void SetUpTestSuite() { edje_init_for_files(); }
    static void TearDownTestSuite() { edje_shutdown(); }

    void SetUp() override
    {
        char pattern[] = "/tmp/theme_e2e_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        engine = startEngine();
        ASSERT_TRUE(engine);
    }

    void TearDown() override
    {
        engine.reset();
        ecore_file_recursive_rm(dir.c_str());
    }

    std::string copy(const char* name)
    {
        std::string to = dir + "/" + name + ".edj";
        EXPECT_TRUE(ecore_file_cp(theme(name).c_str(), to.c_str()));
        return to;
    }

    // A window of project "/projects/theme", with `overlay` as its custom theme.
    void createWindow(int id, const std::string& overlay = "")
    {
        Json::Value d;
        d["width"] = 720;
        d["height"] = 1280;
        d["project-path"] = "/projects/theme";
        if (!overlay.empty())
            d["custom-theme-path"] = overlay;
        ASSERT_TRUE(engine->sendRequest(id, "CMD_CREATE", compact(d)));
        ASSERT_TRUE(engine->waitEvent("EVENT_CREATE", id, WAIT_MS)) << engine->lastError();
    }

    // Sends a command and returns its answer's data ("<no answer>" on timeout).
    std::string ask(int id, const char* command, const std::string& data, const char* event)
    {
        if (!engine->sendRequest(id, command, data))
            return "<not sent>";
        auto answer = engine->waitEvent(event, id, WAIT_MS);
        return answer ? answer->data : "<no answer: " + engine->lastError() + ">";
    }

    std::string removeStyle(int id, const std::string& file, const char* widget, const char* style,
                            const char* itemStyle = nullptr)
    {
        Json::Value d;
        d["path"] = file;
        d["widgetType"] = widget;
        d["style"] = style;
        if (itemStyle)
            d["itemStyle"] = itemStyle;
        return ask(id, "CMD_REMOVE_STYLE_NAME", compact(d), "EVENT_REMOVE_STYLE_NAME");
    }

    static std::string pathData(const std::string& path)
    {
        Json::Value d;
        d["path"] = path;
        return compact(d);
    }
};

// Reading theme files here must not start the toolkit's desktop-file daemon:
// it would inherit this test's output and keep the suite waiting on it.
TEST_F(ThemeService, ReadingThemeFilesStartsNoDaemonBesideTheTest)
{
    EXPECT_GT(group_set(theme("five_groups")).size(), 0u);
    int daemons = 0, engines = 0;
    for (const ChildProcess& child : childrenOf(getpid())) {
        daemons += child.name == "efreetd";
        engines += child.name == "render-engine";
    }
    EXPECT_EQ(daemons, 0);
    EXPECT_EQ(engines, 1) << "the process table was read";
}

TEST_F(ThemeService, FiveGroupExampleAnswersOverTheProtocol)
{
    createWindow(1);
    std::string path = theme("five_groups");
    EXPECT_EQ(ask(1, "CMD_GET_STYLE_NAMES", pathData(path), "EVENT_GET_STYLE_NAMES"),
              "{\n"
              "   \"path\" : \"" + path + "\",\n"
              "   \"widgets\" : [\n"
              "      {\n"
              "         \"styles\" : {\n"
              "            \"default\" : null\n"
              "         },\n"
              "         \"widgetType\" : \"button\"\n"
              "      },\n"
              "      {\n"
              "         \"styles\" : {\n"
              "            \"default\" : [ \"default\", \"double_label\" ]\n"
              "         },\n"
              "         \"widgetType\" : \"genlist\"\n"
              "      }\n"
              "   ]\n"
              "}\n");

    std::vector<std::string> groups = toolkit_groups(path);
    ASSERT_EQ(groups.size(), 5u);
    std::string expected = "[\n   {\n      \"group_names\" : {\n";
    for (size_t k = 0; k < groups.size(); ++k)
        expected += "         \"" + std::to_string(k) + "\" : \"" + groups[k] + "\",\n";
    expected += "         \"length\" : 5,\n         \"path\" : \"" + path + "\"\n      }\n   }\n]\n";
    EXPECT_EQ(ask(1, "CMD_GET_GROUP_NAMES", pathData(path), "EVENT_GET_GROUP_NAMES"), expected);
}

TEST_F(ThemeService, RemovesAWidgetStyleAndThenOneItemStyle)
{
    createWindow(1);
    std::string file = copy("lists");
    std::set<std::string> expected = group_set(file);
    ASSERT_EQ(expected.size(), 12u);

    EXPECT_EQ(removeStyle(1, file, "genlist", "solid"), "2");
    expected.erase("elm/genlist/base/solid");
    expected.erase("elm/genlist/item/double_label/solid");
    EXPECT_EQ(group_set(file), expected);

    EXPECT_EQ(removeStyle(1, file, "genlist", "default", "double_label"), "2");
    expected.erase("elm/genlist/item/double_label/default");
    expected.erase("elm/genlist/item_odd/double_label/default");
    EXPECT_EQ(group_set(file), expected);

    Json::Value styles = parse(ask(1, "CMD_GET_STYLE_NAMES", pathData(file), "EVENT_GET_STYLE_NAMES"));
    EXPECT_EQ(compact(styles["widgets"][2]), R"({"styles":{"default":["default"]},"widgetType":"genlist"})");
}

TEST_F(ThemeService, RemovingTheOnlyGroupDeletesTheFile)
{
    createWindow(1);
    std::string file = copy("single_button");
    EXPECT_EQ(removeStyle(1, file, "button", "custom"), "1");
    EXPECT_FALSE(ecore_file_exists(file.c_str()));
    EXPECT_EQ(removeStyle(1, file, "button", "custom"), "0");
}

TEST_F(ThemeService, AStyleNobodyHasAnswersZeroAndLeavesTheFileAlone)
{
    createWindow(1);
    std::string file = copy("five_groups");
    std::string before = file_bytes(file);
    EXPECT_EQ(removeStyle(1, file, "button", "nobody"), "0");
    EXPECT_EQ(removeStyle(1, file, "genlist", "default", "nobody"), "0");
    EXPECT_EQ(file_bytes(file), before);
}

TEST_F(ThemeService, CommandDataThatIsNotJsonStillAnswers)
{
    createWindow(1);
    EXPECT_EQ(ask(1, "CMD_REMOVE_STYLE_NAME", "not json {", "EVENT_REMOVE_STYLE_NAME"), "0");
    EXPECT_EQ(ask(1, "CMD_GET_STYLE_NAMES", "not json {", "EVENT_GET_STYLE_NAMES"),
              "{\n   \"path\" : \"\",\n   \"widgets\" : null\n}\n");
    EXPECT_EQ(ask(1, "CMD_GET_GROUP_NAMES", "{}", "EVENT_GET_GROUP_NAMES"),
              "[\n   {\n      \"group_names\" : {\n         \"length\" : 0,\n         \"path\" : \"defaultValue\"\n"
              "      }\n   }\n]\n");
    EXPECT_EQ(ask(1, "CMD_OVERLAY_THEME", "not json {", "EVENT_OVERLAY_THEME"), "");
}

TEST_F(ThemeService, TheProjectStillRendersAfterItsOverlayWasRewritten)
{
    std::string file = copy("five_groups");
    createWindow(1, file);
    EXPECT_EQ(ask(1, "CMD_OVERLAY_THEME", pathData(file), "EVENT_OVERLAY_THEME"), "");
    EXPECT_EQ(removeStyle(1, file, "genlist", "default"), "4");
    EXPECT_EQ(group_set(file), (std::set<std::string> { "elm/button/base/default" }));

    Json::Value d;
    d["width"] = 720;
    d["height"] = 1280;
    d["render-data"] = R"({"widgetType":"efl.bg","wid":"bg1"})";
    ASSERT_TRUE(engine->sendRequest(1, "CMD_RENDER", compact(d)));
    auto positions = engine->waitEvent("EVENT_GET_ALL_WIDGET_POSITIONS", 1, WAIT_MS);
    ASSERT_TRUE(positions) << engine->lastError();
    EXPECT_EQ(parse(positions->data)[0]["wid"].asString(), "bg1");

    // The last group goes too; the file and its overlay with it.
    EXPECT_EQ(removeStyle(1, file, "button", "default"), "1");
    EXPECT_FALSE(ecore_file_exists(file.c_str()));
    ASSERT_TRUE(engine->sendRequest(1, "CMD_RENDER", compact(d)));
    EXPECT_TRUE(engine->waitEvent("EVENT_GET_ALL_WIDGET_POSITIONS", 1, WAIT_MS)) << engine->lastError();
    EXPECT_FALSE(engine->exited());
}

TEST_F(ThemeService, WithoutAWindowNothingIsAnswered)
{
    std::string file = copy("five_groups");
    std::string before = file_bytes(file);
    ASSERT_TRUE(engine->sendRequest(9, "CMD_GET_GROUP_NAMES", pathData(file)));
    ASSERT_TRUE(engine->sendRequest(9, "CMD_GET_STYLE_NAMES", pathData(file)));
    Json::Value d;
    d["path"] = file;
    d["widgetType"] = "genlist";
    d["style"] = "default";
    ASSERT_TRUE(engine->sendRequest(9, "CMD_REMOVE_STYLE_NAME", compact(d)));
    ASSERT_TRUE(engine->sendRequest(9, "CMD_OVERLAY_THEME", pathData(file)));
    EXPECT_TRUE(engine->expectSilence(1000)) << engine->lastError();
    EXPECT_TRUE(engine->waitForStderrContaining("request 9 CMD_OVERLAY_THEME", WAIT_MS));
    EXPECT_EQ(file_bytes(file), before);
}

} // namespace
