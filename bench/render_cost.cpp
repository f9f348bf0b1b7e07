// In-process render cost: the engine's render command (teardown, build through
// the adapters, one manual render, the paint snapshot and both position
// documents), with and without batched recalculation, against the bare toolkit
// building the same tree naively and rendering once. All in one run.
#include <Ecore_Evas.h>
#include <Elementary.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "components/msg_writer/image_buffer.h"
#include "engine_window.h"
#include "trees.h"

namespace {

using namespace bench;

// The bare toolkit: the same widgets made directly, no adapters, no batching.
Evas_Object* bare_build(Evas_Object* parent, const Json::Value& n, bool top)
{
    std::string type = n["widgetType"].asString();
    Evas_Object* obj = type == "efl.box" ? elm_box_add(parent)
        : type == "efl.table"            ? elm_table_add(parent)
        : type == "efl.button"           ? elm_button_add(parent)
        : type == "efl.label"            ? elm_label_add(parent)
                                         : elm_bg_add(parent);
    const Json::Value& p = n["properties"];
    if (p.isMember("text"))
        elm_object_text_set(obj, p["text"].asCString());
    evas_object_show(obj);
    if (top) {
        evas_object_size_hint_weight_set(obj, 1, 1);
        elm_win_resize_object_add(parent, obj);
    }
    for (const Json::Value& c : n["children"]) {
        Evas_Object* child = bare_build(obj, c, false);
        const Json::Value& cp = c["properties"];
        if (type == "efl.box")
            elm_box_pack_end(obj, child);
        else if (type == "efl.table")
            elm_table_pack(obj, child, atoi(cp["pack-left"].asCString()), atoi(cp["pack-top"].asCString()), 1, 1);
    }
    return obj;
}

// One full re-render as a render command and its frame cost the engine.
void engine_render(const EngineWindow& engine, const std::string& data)
{
    engine.command(data);
    render_once(engine.win);
    ImageBuffer image;
    image.updateImageBuffer(engine.win);
    free(image.getBuf());
    free(get_all_widget_positions(engine.win, engine.page()));
    free(get_placeholder_positions(engine.page(), "0"));
}

} // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? atoi(argv[1]) : 9;
    Leaves kind = leaves_from(argc > 2 ? argv[2] : nullptr);
    efl_util_init_toolkit();
    elm_config_preferred_engine_set("buffer");
    const int W = 720, H = 1280;
    elm_config_scale_set(2.3);
    printf("render cost at %dx%d, %s, median of %d re-renders (teardown + build + first frame), ms\n", W, H,
           leaves_name(kind), runs);
    printf("%8s %14s %14s %14s %12s %12s\n", "widgets", "bare naive", "engine batched", "engine naive", "batched/bare", "naive/bare");
    for (int n : { 10, 100, 500 }) {
        Json::Value tree = bench::tree(n, kind);
        Json::Value data;
        data["width"] = W;
        data["height"] = H;
        data["render-data"] = bench::compact(tree);
        std::string text = bench::compact(data);

        std::vector<double> bare, batched, naive;
        {
            Evas_Object* win = make_window(W, H);
            Evas_Object* root = nullptr;
            for (int r = 0; r < runs + 1; ++r) {
                auto t = Clock::now();
                if (root)
                    evas_object_del(root);
                root = bare_build(win, tree, true);
                render_once(win);
                if (r > 0)
                    bare.push_back(ms_since(t));
            }
            evas_object_del(win);
        }
        for (bool batching : { true, false }) {
            g_render_batching = batching;
            EngineWindow engine(W, H);
            for (int r = 0; r < runs + 1; ++r) {
                auto t = Clock::now();
                engine_render(engine, text);
                if (r > 0)
                    (batching ? batched : naive).push_back(ms_since(t));
            }
        }
        g_render_batching = true;
        double b = median(bare), e = median(batched), v = median(naive);
        printf("%8d %14.1f %14.1f %14.1f %12.2f %12.2f\n", n, b, e, v, e / b, v / b);
        fflush(stdout);
    }
    elm_shutdown();
    return 0;
}
