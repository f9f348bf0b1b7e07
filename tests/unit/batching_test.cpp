// Batching the toolkit's recalculation during a render must not change what
// the IDE receives: the same pixels and the same position documents.
#include <dirent.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "components/msg_writer/image_buffer.h"
#include "render_fixture.h"

namespace {

struct Output {
    std::vector<uint32_t> pixels;
    std::string widgets, placeholders;
};

class Batching : public RenderWindowTest {
protected:
    void SetUp() override
    {
        width = 720;
        height = 1280;
        RenderWindowTest::SetUp();
    }

    Output render(const std::string& tree, bool batching)
    {
        g_render_batching = batching;
        renderText(tree);
        Output out;
        ImageBuffer image;
        image.updateImageBuffer(win);
        auto* px = static_cast<uint32_t*>(image.getBuf());
        out.pixels.assign(px, px + image.getByteSize() / 4);
        free(px);
        auto* page = static_cast<Evas_Object*>(evas_object_data_get(win, "page"));
        char* w = get_all_widget_positions(win, page);
        char* p = get_placeholder_positions(page, "0");
        out.widgets = w ? w : "";
        out.placeholders = p ? p : "";
        free(w);
        free(p);
        return out;
    }
};

std::vector<std::string> exampleTrees()
{
    std::vector<std::string> trees;
    DIR* dir = opendir("examples");
    if (!dir)
        return trees;
    while (dirent* e = readdir(dir)) {
        std::string name = e->d_name;
        if (name.size() < 6 || name.substr(name.size() - 5) != ".json")
            continue;
        std::ifstream in("examples/" + name);
        std::stringstream text;
        text << in.rdbuf();
        trees.push_back(text.str());
    }
    closedir(dir);
    return trees;
}

TEST_F(Batching, SameFrameAndPositionsWithAndWithout)
{
    std::vector<std::string> trees = exampleTrees();
    trees.push_back(R"({"widgetType":"zelva.doc","wid":"doc","properties":{"color":"#ffffff"},"children":[
        {"widgetType":"efl.box","wid":"box","properties":{"weight-x":"1","weight-y":"1","align-x":"FILL","align-y":"FILL"},
         "children":[{"widgetType":"efl.bg","wid":"red","properties":{"color":"#ff0000","weight-x":"1","weight-y":"1","align-x":"FILL","align-y":"FILL"}},
                     {"widgetType":"efl.table","wid":"t","properties":{"col_count":"2","row_count":"2","homogeneous":"true","weight-x":"1","weight-y":"1","align-x":"FILL","align-y":"FILL"},
                      "children":[{"widgetType":"efl.bg","wid":"blue","properties":{"color":"#0000ff","pack-left":"1","pack-top":"1","pack-width":"1","pack-height":"1","weight-x":"1","weight-y":"1","align-x":"FILL","align-y":"FILL"}}]}]}]})");
    ASSERT_GE(trees.size(), 2u) << "run from the repository root so examples/ is found";
    for (const std::string& tree : trees) {
        SCOPED_TRACE(tree.substr(0, 80));
        // A clock or calendar follows the wall clock: a minute or day that
        // turns between the two renders is retried once, a real difference is not.
        Output batched, naive;
        for (int attempt = 0; attempt < 2; ++attempt) {
            batched = render(tree, true);
            naive = render(tree, false);
            if (batched.pixels == naive.pixels && batched.widgets == naive.widgets)
                break;
        }
        EXPECT_EQ(batched.widgets, naive.widgets);
        EXPECT_EQ(batched.placeholders, naive.placeholders);
        EXPECT_TRUE(batched.pixels == naive.pixels) << "pixels differ";
        EXPECT_FALSE(batched.pixels.empty());
    }
}

} // namespace
