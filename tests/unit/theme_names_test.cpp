// Theme group grammar, the two query answers, and style removal on copies of
// test themes compiled from tests/themes.
#include <Ecore_File.h>
#include <Edje.h>
#include <Elementary.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "utils/json_util.h"
#include "utils/theme_util.h"
#include "theme_files.h"

namespace {

// A shared string from the grammar as text; "<null>" for none.
std::string take(const char* shared)
{
    std::string text = shared ? shared : "<null>";
    eina_stringshare_del(shared);
    return text;
}

std::vector<std::string> take_list(Eina_List* names)
{
    std::vector<std::string> out;
    const Eina_List* l;
    void* name;
    EINA_LIST_FOREACH(names, l, name)
    {
        out.push_back(static_cast<const char*>(name));
    }
    theme_util_name_list_free(names);
    return out;
}

Eina_List* group_list(const std::vector<std::string>& groups)
{
    Eina_List* list = nullptr;
    for (const std::string& g : groups)
        list = eina_list_append(list, eina_stringshare_add(g.c_str()));
    return list;
}

using namespace theme_files;

const std::string W39(39, 'w');
const std::string P31(31, 'p');
const std::string S255(255, 's');

} // namespace

TEST(ThemeNameGrammar, StrrstrFindsTheLastOccurrenceAfterTheFirstCharacter)
{
    const char* text = "abcabc";
    EXPECT_EQ(_strrstr(text, "abc"), text + 3);
    const char* run = "aaaa";
    EXPECT_EQ(_strrstr(run, "aa"), run + 2);
    const char* once = "xdefault";
    EXPECT_EQ(_strrstr(once, "default"), once + 1);
    EXPECT_EQ(_strrstr("default", "default"), nullptr);
    EXPECT_EQ(_strrstr("default/solid", "default"), nullptr);
    EXPECT_EQ(_strrstr("", "a"), nullptr);
    EXPECT_EQ(_strrstr("abc", ""), nullptr);
    EXPECT_EQ(_strrstr("ab", "abc"), nullptr);
    EXPECT_EQ(_strrstr(nullptr, "a"), nullptr);
}

TEST(ThemeNameGrammar, WidgetNameIsTheComponentAfterElm)
{
    EXPECT_EQ(take(widget_name_get("elm/button/base/default")), "button");
    EXPECT_EQ(take(widget_name_get("elm/genlist")), "genlist");
    EXPECT_EQ(take(widget_name_get("plain/group")), "<null>");
    EXPECT_EQ(take(widget_name_get("Elm/button/base/default")), "<null>");
    EXPECT_EQ(take(widget_name_get("elm")), "<null>");
    EXPECT_EQ(take(widget_name_get(nullptr)), "<null>");
}

TEST(ThemeNameGrammar, StyleNameEdgeCases)
{
    EXPECT_EQ(take(style_name_get("elm/button/base/default")), "default");
    EXPECT_EQ(take(style_name_get("elm/button/base/style/sub")), "style/sub");
    EXPECT_EQ(take(style_name_get("elm/button/base")), "");
    EXPECT_EQ(take(style_name_get("plain/group/x/y")), "<null>");
    // Only genlist's base groups carry widget styles.
    EXPECT_EQ(take(style_name_get("elm/genlist/item/default/default")), "<null>");
    EXPECT_EQ(take(style_name_get("elm/genlist/base/default")), "default");
    EXPECT_EQ(take(style_name_get("elm/gengrid/item/default/grid")), "grid");
    EXPECT_EQ(take(style_name_get("elm/gengrid/item/custom/grid")), "custom/grid");
    EXPECT_EQ(take(style_name_get("elm/scroller/panel/top/default")), "default");
    EXPECT_EQ(take(style_name_get("elm/index/item_odd/vertical/default")), "default");
    // A prefix that leaves nothing falls back to the plain rule.
    EXPECT_EQ(take(style_name_get("elm/scroller/panel/top/")), "top/");
    EXPECT_EQ(take(style_name_get("elm/map/marker/other/x")), "other/x");
}

// Group names as a theme gives them, with the style each one answers.
struct GroupStyle {
    const char* group;
    const char* style;
};

void expect_styles(const std::vector<GroupStyle>& cases)
{
    for (const GroupStyle& c : cases)
        EXPECT_EQ(take(style_name_get(c.group)), c.style) << c.group;
}

// Some parts are named by two components (a side, an orientation, a
// number...); the style is what follows both, slashes and all.
TEST(ThemeNameGrammar, PartsOfTwoComponentsLeaveTheStyleAfterBoth)
{
    expect_styles({
        // Map markers, overlays and scale.
        { "elm/map/marker/radio/default", "default" },
        { "elm/map/marker/empty/default", "default" },
        { "elm/map/circle/base/default", "default" },
        { "elm/map/scale/base/default", "default" },
        // Scroller edge panels, one per side.
        { "elm/scroller/panel/top/default", "default" },
        { "elm/scroller/panel/bottom/default", "default" },
        { "elm/scroller/panel/left/default", "default" },
        { "elm/scroller/panel/right/default", "default" },
        // Index bars and their (odd) items in either orientation.
        { "elm/index/base/vertical/default", "default" },
        { "elm/index/item/vertical/default", "default" },
        { "elm/index/item_odd/vertical/pagecontrol", "pagecontrol" },
        { "elm/index/item/horizontal/default", "default" },
        { "elm/index/item_odd/horizontal/default", "default" },
        // Colour selector picker, palette items and the four colour bars.
        { "elm/colorselector/picker/base/default", "default" },
        { "elm/colorselector/item/color/default", "default" },
        { "elm/colorselector/image/colorbar_0/default", "default" },
        { "elm/colorselector/image/colorbar_1/default", "default" },
        { "elm/colorselector/image/colorbar_2/default", "default" },
        { "elm/colorselector/image/colorbar_3/default", "default" },
        // Entry selection handlers and the fallback emoticon.
        { "elm/entry/handler/start/default", "default" },
        { "elm/entry/handler/end/default", "default" },
        { "elm/entry/emoticon/wtf/default", "default" },
        // Popup parts.
        { "elm/popup/buttons1/popup/default", "default" },
        { "elm/popup/buttons2/popup/default", "default" },
        { "elm/popup/buttons3/popup/transparent", "transparent" },
        { "elm/popup/content/popup/default", "default" },
        { "elm/popup/item/popup/default", "default" },
        // The default grid item, whose style names the widget style.
        { "elm/gengrid/item/default/grid", "grid" },
        // A style of several components keeps them all.
        { "elm/scroller/panel/left/dark/small", "dark/small" },
        { "elm/popup/item/popup/theme/x", "theme/x" },
    });
}

// Names that only look like such a part follow the plain rule: the style is
// everything after the widget and its one-component part.
TEST(ThemeNameGrammar, LookalikePartsKeepTheirSecondComponentInTheStyle)
{
    expect_styles({
        // Another side, number or orientation.
        { "elm/scroller/panel/middle/default", "middle/default" },
        { "elm/popup/buttons4/popup/default", "popup/default" },
        { "elm/colorselector/image/colorbar_4/default", "colorbar_4/default" },
        { "elm/index/item/diagonal/default", "diagonal/default" },
        { "elm/map/marker/other/x", "other/x" },
        { "elm/entry/handler/middle/default", "middle/default" },
        // A component that only begins like one.
        { "elm/scroller/panel/topmost/default", "topmost/default" },
        { "elm/map/marker/radios/default", "radios/default" },
        // The same two components under another widget or part.
        { "elm/button/panel/top/default", "top/default" },
        { "elm/scroller/base/top/default", "top/default" },
        { "elm/gengrid/item/custom/grid", "custom/grid" },
        // Names are case-sensitive.
        { "elm/scroller/panel/Top/default", "Top/default" },
        { "elm/Scroller/panel/top/default", "top/default" },
    });
}

// The parts of one widget collapse into the widget's styles, so the
// style answer lists each style once however many parts carry it.
TEST(ThemeNameGrammar, AWidgetsPartsShareItsStyles)
{
    Eina_List* groups = group_list({
        "elm/popup/base/default",
        "elm/popup/buttons1/popup/default",
        "elm/popup/buttons2/popup/default",
        "elm/popup/content/popup/default",
        "elm/popup/item/popup/transparent",
        "elm/popup/base/transparent",
        "elm/scroller/base/default",
        "elm/scroller/panel/top/default",
        "elm/scroller/panel/left/dark",
    });
    using V = std::vector<std::string>;
    EXPECT_EQ(take_list(style_name_list_get(groups, "popup")), (V { "default", "transparent" }));
    EXPECT_EQ(take_list(style_name_list_get(groups, "scroller")), (V { "dark", "default" }));
    theme_util_name_list_free(groups);
}

TEST(ThemeNameGrammar, ItemStyleIsTheRestBeforeTheWidgetStyle)
{
    EXPECT_EQ(take(item_style_name_get("elm/genlist/item/double_label/default", "default")), "double_label");
    EXPECT_EQ(take(item_style_name_get("elm/genlist/item_odd/double_label/default", "default")), "double_label");
    EXPECT_EQ(take(item_style_name_get("elm/gengrid/item/custom/grid", "grid")), "custom");
    EXPECT_EQ(take(item_style_name_get("elm/genlist/item/a/b/default", "default")), "a/b");
    // The style must occur after the first character of the rest.
    EXPECT_EQ(take(item_style_name_get("elm/genlist/item/default/solid", "default")), "<null>");
    EXPECT_EQ(take(item_style_name_get("elm/genlist/base/default", "default")), "<null>");
    EXPECT_EQ(take(item_style_name_get("elm/button/item/x/default", "default")), "<null>");
    EXPECT_EQ(take(item_style_name_get("elm/genlist/item", "default")), "<null>");
    EXPECT_EQ(take(item_style_name_get("elm/genlist/item/xdefault", "default")), "");
    EXPECT_EQ(take(item_style_name_get("elm/genlist/item/x/default", nullptr)), "<null>");
}

// Components that fit exactly are read; one character more and the group is
// outside the grammar, so the cut name cannot match the shorter one.
TEST(ThemeNameGrammar, OverlongComponentsPutTheGroupOutsideTheGrammar)
{
    std::string widget39 = "elm/" + W39 + "/base/default";
    std::string widget40 = "elm/" + W39 + "x/base/default";
    EXPECT_EQ(take(widget_name_get(widget39.c_str())), W39);
    EXPECT_EQ(take(widget_name_get(widget40.c_str())), "<null>");
    EXPECT_EQ(take(style_name_get(widget40.c_str())), "<null>");

    std::string part31 = "elm/button/" + P31 + "/default";
    std::string part32 = "elm/button/" + P31 + "q/default";
    EXPECT_EQ(take(style_name_get(part31.c_str())), "default");
    EXPECT_EQ(take(widget_name_get(part32.c_str())), "<null>");
    EXPECT_EQ(take(style_name_get(part32.c_str())), "<null>");

    std::string rest255 = "elm/button/base/" + S255;
    std::string rest256 = "elm/button/base/" + S255 + "t";
    EXPECT_EQ(take(style_name_get(rest255.c_str())), S255);
    EXPECT_EQ(take(style_name_get(rest256.c_str())), "<null>");

    std::string item256 = "elm/genlist/item/" + std::string(248, 'i') + "/default";
    EXPECT_EQ(take(item_style_name_get(item256.c_str(), "default")), "<null>");
    std::string panel256 = "elm/scroller/panel/top/" + std::string(252, 's');
    EXPECT_EQ(take(style_name_get(panel256.c_str())), "<null>");
}

// Found by fuzzing: the toolkit's shared string of one byte above 0x7f is
// read from outside its table.
TEST(ThemeNameGrammar, NamesOfOneHighByteAreOutsideTheGrammar)
{
    EXPECT_EQ(take(widget_name_get("elm/\xc3/base/default")), "<null>");
    EXPECT_EQ(take(style_name_get("elm/button/base/\xff")), "<null>");
    EXPECT_EQ(take(item_style_name_get("elm/genlist/item/\x80/default", "default")), "<null>");
    EXPECT_EQ(take(widget_name_get("elm/\xc3\xa9/base/default")), "\xc3\xa9") << "two bytes are fine";
    EXPECT_EQ(take(style_name_get("elm/button/base/x")), "x");
    EXPECT_TRUE(take_list(widget_name_list_get(group_list({ "elm/\xc3/base/default" }))).empty());
}

TEST(ThemeNameLists, SortedUniqueNamesPerWidgetAndStyle)
{
    Eina_List* groups = group_list({
        "elm/genlist/item_odd/double_label/default",
        "elm/scroller/panel/top/default",
        "elm/genlist/item/double_label/solid",
        "elm/genlist/base/solid",
        "elm/gengrid/item/default/grid",
        "plain/group",
        "elm/genlist/item/double_label/default",
        "elm/button/base",
        "elm/genlist/item/default/default",
        "elm/gengrid/item/custom/grid",
        "elm/genlist/base/default",
        "elm/" + W39 + "x/base/default",
    });
    using V = std::vector<std::string>;
    EXPECT_EQ(take_list(widget_name_list_get(groups)), (V { "button", "gengrid", "genlist", "scroller" }));
    EXPECT_EQ(take_list(style_name_list_get(groups, "genlist")), (V { "default", "solid" }));
    EXPECT_EQ(take_list(style_name_list_get(groups, "gengrid")), (V { "custom/grid", "grid" }));
    EXPECT_EQ(take_list(style_name_list_get(groups, "button")), (V { "" }));
    EXPECT_EQ(take_list(item_style_name_list_get(groups, "genlist", "default")), (V { "default", "double_label" }));
    EXPECT_EQ(take_list(item_style_name_list_get(groups, "genlist", "solid")), (V { "double_label" }));
    EXPECT_EQ(take_list(item_style_name_list_get(groups, "gengrid", "grid")), (V { "custom", "default" }));
    EXPECT_TRUE(take_list(item_style_name_list_get(groups, "button", "")).empty());
    EXPECT_EQ(style_name_list_get(groups, nullptr), nullptr);
    EXPECT_EQ(item_style_name_list_get(groups, "genlist", nullptr), nullptr);
    theme_util_name_list_free(groups);
}

TEST(ThemeAnswers, AWidgetWithoutStylesHasNullStyles)
{
    EXPECT_EQ(efl_util_get_style_names(theme("item_only").c_str(), "P"),
              "{\n"
              "   \"path\" : \"P\",\n"
              "   \"widgets\" : [\n"
              "      {\n"
              "         \"styles\" : null,\n"
              "         \"widgetType\" : \"genlist\"\n"
              "      }\n"
              "   ]\n"
              "}\n");
}

TEST(ThemeAnswers, GroupNamesAreKeyedInToolkitOrder)
{
    std::string path = theme("lists");
    std::vector<std::string> groups = toolkit_groups(path);
    ASSERT_EQ(groups.size(), 12u);
    Json::Value answer;
    ASSERT_TRUE(json_util_parse(efl_util_get_group_names(path.c_str(), path.c_str()), answer));
    ASSERT_TRUE(answer.isArray());
    ASSERT_EQ(answer.size(), 1u);
    const Json::Value& names = answer[0]["group_names"];
    EXPECT_EQ(names.size(), 14u);
    EXPECT_EQ(names["length"].asInt(), 12);
    EXPECT_EQ(names["path"].asString(), path);
    for (size_t k = 0; k < groups.size(); ++k)
        EXPECT_EQ(names[std::to_string(k)].asString(), groups[k]);
}

TEST(ThemeAnswers, StylesOfAFileWithListWidgetsAndLongNames)
{
    Json::Value answer;
    ASSERT_TRUE(json_util_parse(efl_util_get_style_names(theme("lists").c_str(), "x"), answer));
    const Json::Value& widgets = answer["widgets"];
    ASSERT_EQ(widgets.size(), 4u);
    EXPECT_EQ(widgets[0]["widgetType"].asString(), "button");
    EXPECT_TRUE(widgets[0]["styles"].isMember(""));
    EXPECT_EQ(widgets[1]["widgetType"].asString(), "gengrid");
    EXPECT_EQ(json_util_styled(widgets[1]["styles"]),
              "{\n   \"custom/grid\" : null,\n   \"default\" : null,\n   \"grid\" : [ \"custom\", \"default\" ]\n}\n");
    EXPECT_EQ(json_util_styled(widgets[2]["styles"]),
              "{\n   \"default\" : [ \"default\", \"double_label\" ],\n   \"solid\" : [ \"double_label\" ]\n}\n");
    EXPECT_EQ(widgets[3]["widgetType"].asString(), "scroller");

    ASSERT_TRUE(json_util_parse(efl_util_get_style_names(theme("long_names").c_str(), "x"), answer));
    ASSERT_EQ(answer["widgets"].size(), 2u);
    EXPECT_EQ(json_util_styled(answer["widgets"][0]["styles"]),
              "{\n   \"default\" : null,\n   \"" + S255 + "\" : null\n}\n");
    EXPECT_EQ(answer["widgets"][1]["widgetType"].asString(), W39);
}

// Fixture with a private directory for theme copies that tests may rewrite.
class ThemeFiles : public ::testing::Test {
protected:
    std::string dir;

    void SetUp() override
    {
        char pattern[] = "/tmp/theme_test_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }

    void TearDown() override
    {
        theme_util_set_save_fn(nullptr);
        ecore_file_recursive_rm(dir.c_str());
    }

    std::string copy(const char* name)
    {
        std::string to = dir + "/" + name + ".edj";
        EXPECT_TRUE(ecore_file_cp(theme(name).c_str(), to.c_str()));
        return to;
    }

    std::string write_text(const char* name, const char* text)
    {
        std::string to = dir + "/" + name;
        std::ofstream(to) << text;
        return to;
    }
};

TEST_F(ThemeFiles, FilesThatAreNoThemeAnswerEmpty)
{
    std::vector<std::string> paths = {
        dir + "/missing.edj",
        write_text("text.edj", "not a theme file\n"),
        write_text("empty.edj", ""),
        dir,
        "",
    };
    for (const std::string& p : paths) {
        EXPECT_EQ(efl_util_get_group_names(p.c_str(), "P"),
                  "[\n   {\n      \"group_names\" : {\n         \"length\" : 0,\n         \"path\" : \"P\"\n"
                  "      }\n   }\n]\n")
            << p;
        EXPECT_EQ(efl_util_get_style_names(p.c_str(), "P"), "{\n   \"path\" : \"P\",\n   \"widgets\" : null\n}\n") << p;
        EXPECT_EQ(efl_util_remove_style_name(p.c_str(), "button", "default", nullptr), 0) << p;
    }
    EXPECT_EQ(file_bytes(dir + "/text.edj"), "not a theme file\n");
}

TEST_F(ThemeFiles, GridItemStylesAndEmptyNames)
{
    std::string file = copy("lists");
    std::set<std::string> expected = group_set(file);
    EXPECT_EQ(efl_util_remove_item_style_name(file.c_str(), "gengrid", "grid", "custom", nullptr), 1);
    expected.erase("elm/gengrid/item/custom/grid");
    EXPECT_EQ(group_set(file), expected);
    EXPECT_EQ(efl_util_remove_style_name(file.c_str(), "", "", nullptr), 0);
    EXPECT_EQ(efl_util_remove_style_name(file.c_str(), "button", "", nullptr), 1);
    expected.erase("elm/button/base");
    EXPECT_EQ(group_set(file), expected);
}

TEST_F(ThemeFiles, OverlongNamesAreNeverRemovedInPlaceOfShorterOnes)
{
    std::string file = copy("long_names");
    std::set<std::string> expected = group_set(file);
    EXPECT_EQ(efl_util_remove_style_name(file.c_str(), W39.c_str(), "default", nullptr), 1);
    EXPECT_EQ(efl_util_remove_style_name(file.c_str(), "button", S255.c_str(), nullptr), 1);
    expected.erase("elm/" + W39 + "/base/default");
    expected.erase("elm/button/base/" + S255);
    EXPECT_EQ(group_set(file), expected);
}

TEST_F(ThemeFiles, GroupDelRefusesFilesThatDoNotListTheGroup)
{
    std::string file = copy("single_button");
    EXPECT_FALSE(group_del(file.c_str(), "elm/button/base/other", nullptr));
    EXPECT_FALSE(group_del(nullptr, "elm/button/base/custom", nullptr));
    EXPECT_FALSE(group_del(file.c_str(), nullptr, nullptr));
    EXPECT_TRUE(ecore_file_exists(file.c_str()));

    // Replaced by something else between listing and edit: never deleted.
    std::string text = write_text("text.edj", "x");
    EXPECT_FALSE(group_del(text.c_str(), "elm/button/base/custom", nullptr));
    EXPECT_EQ(file_bytes(text), "x");
    std::string subdir = dir + "/sub.edj";
    ASSERT_TRUE(ecore_file_mkdir(subdir.c_str()));
    EXPECT_FALSE(group_del(subdir.c_str(), "elm/button/base/custom", nullptr));
    EXPECT_TRUE(ecore_file_is_dir(subdir.c_str()));
    EXPECT_FALSE(group_del((dir + "/gone.edj").c_str(), "elm/button/base/custom", nullptr));
}

namespace {

Elm_Theme* g_watched_theme = nullptr;
std::string g_watched_file;
int g_saves = 0;
int g_failing_save = 0;
bool g_overlay_seen_during_save = false;
ThemeSaveFn g_real_save = nullptr;

bool overlay_listed(Elm_Theme* theme, const std::string& file)
{
    const Eina_List* l;
    void* entry;
    EINA_LIST_FOREACH(elm_theme_overlay_list_get(theme), l, entry)
    {
        if (file == static_cast<const char*>(entry))
            return true;
    }
    return false;
}

// The real save, except that the g_failing_save-th one runs with a file
// size limit far below the theme's size, so its write really comes up short
// (the limit holds for root as well).
Eina_Bool watched_save(Evas_Object* edit)
{
    ++g_saves;
    if (g_watched_theme && overlay_listed(g_watched_theme, g_watched_file))
        g_overlay_seen_during_save = true;
    if (g_saves != g_failing_save)
        return g_real_save(edit);
    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit tiny = { 512, saved.rlim_max };
    sighandler_t previous = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &tiny);
    Eina_Bool ok = g_real_save(edit);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);
    return ok;
}

} // namespace

TEST_F(ThemeFiles, AFailedSaveKeepsEarlierDeletionsAndAValidFile)
{
    std::string file = copy("five_groups");
    std::set<std::string> before = group_set(file);
    g_saves = 0;
    g_failing_save = 2;
    g_watched_theme = nullptr;
    g_real_save = theme_util_set_save_fn(watched_save);
    EXPECT_EQ(efl_util_remove_style_name(file.c_str(), "genlist", "default", nullptr), -1);
    EXPECT_EQ(g_saves, 2);

    std::set<std::string> after = group_set(file);
    EXPECT_EQ(after.size(), 4u);
    EXPECT_TRUE(after.count("elm/button/base/default"));
    for (const std::string& g : after)
        EXPECT_TRUE(before.count(g)) << g;
    Eina_List* entries = ecore_file_ls(dir.c_str());
    EXPECT_EQ(eina_list_count(entries), 1u) << "no copy left beside the file";
    void* entry;
    EINA_LIST_FREE(entries, entry)
    {
        free(entry);
    }

    // Still a theme the toolkit edits: the rest of the style goes now.
    g_failing_save = 0;
    EXPECT_EQ(efl_util_remove_style_name(file.c_str(), "genlist", "default", nullptr), 3);
    EXPECT_EQ(group_set(file), (std::set<std::string> { "elm/button/base/default" }));
}

TEST_F(ThemeFiles, AFirstSaveThatFailsLeavesTheFileByteIdentical)
{
    std::string file = copy("five_groups");
    std::string before = file_bytes(file);
    g_saves = 0;
    g_failing_save = 1;
    g_watched_theme = nullptr;
    g_real_save = theme_util_set_save_fn(watched_save);
    EXPECT_EQ(efl_util_remove_item_style_name(file.c_str(), "genlist", "default", "double_label", nullptr), -1);
    EXPECT_EQ(file_bytes(file), before);
}

TEST_F(ThemeFiles, TheOverlayIsLiftedDuringTheRewriteAndPutBack)
{
    std::string file = copy("five_groups");
    Elm_Theme* th = elm_theme_new();
    elm_theme_overlay_add(th, file.c_str());
    ASSERT_TRUE(overlay_listed(th, file));
    g_saves = 0;
    g_failing_save = 0;
    g_watched_theme = th;
    g_watched_file = file;
    g_overlay_seen_during_save = false;
    g_real_save = theme_util_set_save_fn(watched_save);

    EXPECT_TRUE(group_del(file.c_str(), "elm/genlist/base/default", th));
    EXPECT_EQ(g_saves, 1);
    EXPECT_FALSE(g_overlay_seen_during_save);
    EXPECT_EQ(eina_list_count(elm_theme_overlay_list_get(th)), 1u);
    EXPECT_TRUE(overlay_listed(th, file));

    // The last group takes the file and its overlay with it.
    std::string single = copy("single_button");
    elm_theme_overlay_add(th, single.c_str());
    EXPECT_TRUE(group_del(single.c_str(), "elm/button/base/custom", th));
    EXPECT_FALSE(overlay_listed(th, single));
    EXPECT_FALSE(ecore_file_exists(single.c_str()));
    g_watched_theme = nullptr;
    elm_theme_free(th);
}

// A widget of the project themed after the rewrite no longer finds the
// deleted group in the overlay; the one themed before still renders.
TEST_F(ThemeFiles, WidgetsThemedAfterARemovalSeeTheRewrittenOverlay)
{
    std::string file = copy("five_groups");
    Elm_Theme* th = elm_theme_new();
    elm_theme_overlay_add(th, file.c_str());
    Evas_Object* win = elm_win_util_standard_add("", "");
    elm_object_theme_set(win, th);
    evas_object_resize(win, 200, 200);
    evas_object_show(win);
    auto button_theme_file = [&](Evas_Object* button) {
        const char* from = nullptr;
        edje_object_file_get(elm_layout_edje_get(button), &from, nullptr);
        return std::string(from ? from : "");
    };
    Evas_Object* before = elm_button_add(win);
    evas_object_show(before);
    ASSERT_EQ(button_theme_file(before), file);

    EXPECT_EQ(efl_util_remove_style_name(file.c_str(), "button", "default", th), 1);
    Evas_Object* after = elm_button_add(win);
    evas_object_show(after);
    ecore_evas_manual_render(ecore_evas_ecore_evas_get(evas_object_evas_get(win)));
    EXPECT_NE(button_theme_file(after), file);
    EXPECT_FALSE(button_theme_file(after).empty());
    EXPECT_TRUE(overlay_listed(th, file));
    evas_object_del(win);
    elm_theme_free(th);
}
