// Limits on what one request may ask for: JSON nesting read without
// recursion, render trees refused before the old tree goes, numbers no widget
// can lay out, and the work one table may ask for.
#include <string>

#include "components/adapters/property_walk.h"
#include "render_fixture.h"
#include "utils/json_util.h"
#include "utils/util.h"

namespace {

using tree_json::compact;
using tree_json::node;

std::string nested(char open, char close, int depth)
{
    return std::string(size_t(depth), open) + std::string(size_t(depth), close);
}

TEST(JsonLimits, NestingIsMeasuredOutsideStringsAndComments)
{
    EXPECT_EQ(json_util_shape(R"({"a":[{"b":"[[[[{"}]})", 100).depth, 3);
    EXPECT_EQ(json_util_shape(R"({"a":"\"[[[", "b":{}})", 100).depth, 2) << "escaped quote inside a string";
    EXPECT_EQ(json_util_shape("/* [[[[ */ [ // {{{{\n ]", 100).depth, 1);
    EXPECT_EQ(json_util_shape(R"([{},{"x":{}},[{}]])", 100).objects, 4u);
    EXPECT_EQ(json_util_shape(nested('[', ']', 5000), 10).depth, 11) << "counting stops past the limit";
}

TEST(JsonLimits, TooDeepIsRefusedAndNothingThrows)
{
    Json::Value v;
    EXPECT_EQ(json_util_read(nested('[', ']', JSON_MAX_DEPTH), v), JsonRead::Ok);
    EXPECT_EQ(json_util_read(nested('[', ']', JSON_MAX_DEPTH + 1), v), JsonRead::TooDeep);
    EXPECT_EQ(json_util_read(nested('{', '}', 5000), v), JsonRead::TooDeep);
    EXPECT_EQ(json_util_read("[1,", v), JsonRead::NotJson);
    EXPECT_STREQ(json_util_reason(JsonRead::TooDeep), "nests arrays and objects deeper than the limit of 256 levels");
    // Past the parser's own limit, only the depth check stands between the
    // input and an exception no caller catches.
    std::string commentHidden = "/*" + nested('[', ']', 2000) + "*/ " + nested('[', ']', 2000);
    EXPECT_EQ(json_util_read(commentHidden, v), JsonRead::TooDeep);
}

TEST(JsonLimits, EscapePassesStayLinearAndKeepTheirMeaning)
{
    std::string many(200000, '\\');
    util_replace_string_all(many, "\\", UTIL_BACKSLASH_MARKER);
    EXPECT_EQ(many.size(), 200000u * 8);
    util_replace_string_all(many, UTIL_BACKSLASH_MARKER, "\\");
    EXPECT_EQ(many, std::string(200000, '\\'));
    std::string euros;
    for (int i = 0; i < 50000; ++i)
        euros += "\\xe2\\x82\\xac";
    util_replace_all_utf8_string(euros);
    EXPECT_EQ(euros.size(), 150000u);
    EXPECT_EQ(euros.substr(0, 3), "\xe2\x82\xac");
}

TEST(PropertyLimits, IntegersNoIntCanHoldAreRefused)
{
    int v = 7;
    EXPECT_TRUE(prop_int("2147483647", v));
    EXPECT_EQ(v, 2147483647);
    EXPECT_TRUE(prop_int("-2147483648", v));
    EXPECT_FALSE(prop_int("2147483648", v));
    EXPECT_FALSE(prop_int("99999999999999999999999", v));
    EXPECT_EQ(v, -2147483648) << "a refused value leaves the slot alone";
    EXPECT_TRUE(prop_int("12abc", v)) << "atoi's reading otherwise";
    EXPECT_EQ(v, 12);
}

class RenderLimits : public RenderWindowTest {
protected:
    Json::Value boxes(int depth)
    {
        Json::Value tree = node("efl.button", "leaf");
        for (int i = 0; i < depth; ++i) {
            Json::Value kids(Json::arrayValue);
            kids.append(tree);
            tree = node("efl.box", "b" + std::to_string(i), Json::Value(), kids);
        }
        return tree;
    }
    std::string refusalOf(const std::string& renderData)
    {
        CmdRender cmd;
        cmd.setRenderData(renderData);
        WidgetInfoPtr root = cmd.createWingetsInfo();
        EXPECT_TRUE(cmd.refusal().empty() || !root) << "a refused tree is never returned";
        return cmd.refusal();
    }
};

TEST_F(RenderLimits, TreesOverTheLimitsAreRefusedWithTheReason)
{
    EXPECT_EQ(refusalOf(compact(boxes(MAX_RENDER_DEPTH - 1))), "");
    EXPECT_EQ(refusalOf(compact(boxes(MAX_RENDER_DEPTH))), "widget tree nests deeper than 64 levels");
    Json::Value kids(Json::arrayValue);
    for (int i = 0; i < MAX_RENDER_NODES - 1; ++i)
        kids.append(node("efl.label", "l"));
    Json::Value wide = node("efl.box", "root", Json::Value(), kids);
    EXPECT_EQ(refusalOf(compact(wide)), "");
    wide["children"].append(node("efl.label", "one too many"));
    EXPECT_EQ(refusalOf(compact(wide)), "widget tree has more than 5000 nodes");
    EXPECT_EQ(refusalOf(std::string(MAX_RENDER_DATA_BYTES + 1, ' ')).rfind("render data of 16777217 bytes", 0), 0u);
    EXPECT_EQ(refusalOf("{\"widgetType\":\"efl.box\",\"x\":" + nested('[', ']', 300) + "}"),
              "render data nests arrays and objects deeper than the limit of 256 levels");
    EXPECT_EQ(refusalOf("not json"), "") << "not a tree, but nothing refused: the window is emptied";
}

TEST_F(RenderLimits, ARefusedTreeLeavesThePreviousOneInPlace)
{
    render(boxes(2));
    Evas_Object* before = page();
    ASSERT_NE(before, nullptr);
    render(boxes(MAX_RENDER_DEPTH + 5));
    EXPECT_EQ(page(), before);
    EXPECT_STREQ(static_cast<const char*>(evas_object_data_get(page(), KEY_WID)), "b1");
    renderText("no tree at all");
    EXPECT_EQ(page(), nullptr) << "text that is not JSON still empties the window";
}

TEST_F(RenderLimits, ATableAsksForAtMost2500Cells)
{
    auto placeholders = [&](const char* cols, const char* rows) {
        Json::Value p;
        p["col_count"] = cols;
        p["row_count"] = rows;
        render(node("efl.table", "t", p));
        return eina_list_count(efl_util_list_get(page(), KEY_PLACEHOLDER));
    };
    EXPECT_EQ(placeholders("50", "50"), 2500u);
    EXPECT_EQ(placeholders("50", "51"), 0u);
    EXPECT_EQ(placeholders("2147483647", "2147483647"), 0u);
    EXPECT_EQ(placeholders("-3", "-3"), 0u);
    EXPECT_EQ(placeholders("0", "9"), 0u);
}

} // namespace
