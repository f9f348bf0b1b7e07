// A genlist of N items: the engine's render command and the frame that
// realizes the visible items, beside the bare toolkit making the same list
// with the same appends (same item style, same texts) and drawing the same
// frame. All in one run. Then a soak: every list kind re-rendered into one
// window, then into two windows in turn, with the process's resident memory.
#include <Ecore.h>
#include <Elementary.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "components/adapters/widget_adapter/list_shared.h"
#include "utils/efl_util.h"
#include "engine_window.h"
#include "trees.h"

namespace {

using namespace bench;

struct Variant {
    const char* style;
    bool sub; // a second text per item
};

const Variant VARIANTS[] = { { "default", false }, { "double_label", true } };

struct Texts {
    std::string label, sub;
};

std::vector<Texts> texts(int n)
{
    std::vector<Texts> out;
    for (int i = 0; i < n; ++i)
        out.push_back({ "Contact " + std::to_string(i), "+1 555 01" + std::to_string(i % 100) });
    return out;
}

Json::Value genlist_tree(const std::vector<Texts>& items, const Variant& v)
{
    Json::Value root;
    root["widgetType"] = "efl.genlist";
    root["wid"] = "list";
    for (size_t i = 0; i < items.size(); ++i) {
        Json::Value item;
        item["widgetType"] = "efl.genlistitem";
        item["wid"] = "i" + std::to_string(i);
        item["properties"]["label"] = items[i].label;
        if (v.sub)
            item["properties"]["sub-label"] = items[i].sub;
        if (strcmp(v.style, "default") != 0)
            item["properties"]["style"] = v.style;
        root["children"].append(item);
    }
    return root;
}

std::string render_data(const Json::Value& tree, int w, int h)
{
    Json::Value data;
    data["width"] = w;
    data["height"] = h;
    data["render-data"] = compact(tree);
    return compact(data);
}

// The bare toolkit's item texts.
char* bare_text(void* data, Evas_Object*, const char* part)
{
    auto* t = static_cast<const Texts*>(data);
    if (strcmp(part, "elm.text") == 0)
        return strdup(t->label.c_str());
    return strdup(strcmp(part, "elm.text.sub") == 0 ? t->sub.c_str() : "");
}

// Items realize in the main loop after the layout; one iteration and one
// frame show the visible ones on both sides.
void first_frame(Evas_Object* win)
{
    ecore_main_loop_iterate();
    render_once(win);
}

unsigned realized(Evas_Object* genlist)
{
    Eina_List* l = elm_genlist_realized_items_get(genlist);
    unsigned n = eina_list_count(l);
    eina_list_free(l);
    return n;
}

double cpu_ms()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Wall and process CPU time since the last take.
struct Sample {
    Clock::time_point wall = Clock::now();
    double cpu = cpu_ms();
    void take(bool keep, std::vector<double>& walls, std::vector<double>& cpus)
    {
        if (keep) {
            walls.push_back(ms_since(wall));
            cpus.push_back(cpu_ms() - cpu);
        }
        wall = Clock::now();
        cpu = cpu_ms();
    }
};

long rss_kib()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return atol(line.c_str() + 6);
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? atoi(argv[1]) : 21;
    int soak = argc > 2 ? atoi(argv[2]) : 1000;
    int n = argc > 3 ? atoi(argv[3]) : 500;
    efl_util_init_toolkit();
    elm_config_preferred_engine_set("buffer");
    const int W = 720, H = 1280;
    elm_config_scale_set(2.3);
    elm_app_base_scale_set(2.3);
    std::vector<Texts> items = texts(n);
    printf("genlist of %d items at %dx%d, median of %d re-renders (teardown + build + first frame), ms wall and ms CPU\n",
           n, W, H, runs);
    printf("%14s %10s %10s %8s %10s %10s %8s %18s\n", "style", "bare", "engine", "ratio", "bare cpu", "engine cpu",
           "ratio", "realized bare/eng");
    for (const Variant& v : VARIANTS) {
        Elm_Genlist_Item_Class* itc = elm_genlist_item_class_new();
        itc->item_style = v.style;
        itc->func.text_get = bare_text;
        std::vector<double> bare, engine, bareCpu, engineCpu;
        Evas_Object* bareWin = make_window(W, H);
        Evas_Object* bareList = nullptr;
        EngineWindow window(W, H);
        std::string data = render_data(genlist_tree(items, v), W, H);
        // Runs alternate between the two sides, so a busy machine slows both.
        for (int r = 0; r < runs + 1; ++r) {
            Sample s;
            if (bareList)
                evas_object_del(bareList);
            bareList = elm_genlist_add(bareWin);
            evas_object_size_hint_weight_set(bareList, 1, 1);
            elm_win_resize_object_add(bareWin, bareList);
            evas_object_show(bareList);
            for (const Texts& item : items)
                elm_genlist_item_append(bareList, itc, &item, nullptr, ELM_GENLIST_ITEM_NONE, nullptr, nullptr);
            first_frame(bareWin);
            s.take(r > 0, bare, bareCpu);
            window.command(data);
            first_frame(window.win);
            s.take(r > 0, engine, engineCpu);
        }
        unsigned bareRealized = realized(bareList), engineRealized = realized(window.page());
        evas_object_del(bareWin);
        elm_genlist_item_class_free(itc);
        double b = median(bare), e = median(engine), bc = median(bareCpu), ec = median(engineCpu);
        printf("%14s %10.1f %10.1f %8.2f %10.1f %10.1f %8.2f %9u/%u\n", v.style, b, e, e / b, bc, ec, ec / bc,
               bareRealized, engineRealized);
        fflush(stdout);
    }

    // Soak: every list kind with its items (examples/lists.json) rendered
    // again and again.
    Json::Value tree;
    std::ifstream in("examples/lists.json");
    if (!Json::Reader().parse(in, tree)) {
        fprintf(stderr, "examples/lists.json not readable: run from the repository root\n");
        return 1;
    }
    std::string data = render_data(tree, W, H);
    printf("\nsoak: %d re-renders of examples/lists.json, resident memory (KiB)\n", soak);
    {
        EngineWindow one(W, H);
        for (int r = 1; r <= soak; ++r) {
            one.command(data);
            first_frame(one.win);
            if (r == 10 || r == 100 || r == soak)
                printf("  one window, after %5d: %ld\n", r, rss_kib());
        }
    }
    {
        EngineWindow a(W, H, 4242), b(W, H, 4243);
        for (int r = 1; r <= soak; ++r) {
            const EngineWindow& w = r % 2 ? a : b;
            w.command(data);
            first_frame(w.win);
            if (r == 10 || r == 100 || r == soak)
                printf("  two windows in turn, after %5d: %ld\n", r, rss_kib());
        }
    }
    printf("  item classes held once every list is gone: %zu genlist, %zu gengrid\n", genlist_item_classes().live(),
           gengrid_item_classes().live());
    elm_shutdown();
    return 0;
}
