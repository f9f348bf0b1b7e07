// Memory across many renders of a tree with every selector, toolbar and
// popup kind and their items, beside a baseline tree of as many buttons and
// labels, rendered the same way in the same run. In-process: the engine's
// render command into a registered window, then one engine tick (0.05 s) of
// the toolkit's main loop, as between two requests of the real engine, so
// deferred deletions run. Items are built and torn down with every render;
// a leaked item, tracking object or carrier shows as heap growth the
// baseline lacks.
#include <Ecore_Evas.h>
#include <Elementary.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "components/adapters/Adapter.h"
#include "components/manager/window_manager.h"
#include "threads/dequeue_thread/cmd_render.h"
#include "utils/retired_pages.h"
#include "trees.h"
#include "utils/efl_util.h"

namespace {

const int W = 720, H = 1280;

long rss_kib()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

long heap_kib()
{
    struct mallinfo2 m = mallinfo2();
    return long((m.uordblks + m.hblkhd) / 1024);
}

Json::Value node(const char* type, const std::string& wid, const char* text = nullptr)
{
    Json::Value n;
    n["widgetType"] = type;
    n["wid"] = wid;
    if (text)
        n["properties"]["text"] = text;
    return n;
}

Json::Value icon(const std::string& wid)
{
    Json::Value n = node("efl.icon", wid);
    n["properties"]["standard"] = "home";
    return n;
}

// Every kind of this family with its items, in a page box.
Json::Value every_kind_tree()
{
    Json::Value toolbar = node("efl.toolbar", "tb");
    for (int i = 0; i < 4; ++i) {
        Json::Value item = node("efl.toolbaritem", "tb" + std::to_string(i), "tab");
        item["properties"]["standard-icon"] = "home";
        toolbar["children"].append(item);
    }
    Json::Value segments = node("efl.segmentcontrol", "sc");
    for (int i = 0; i < 3; ++i)
        segments["children"].append(node("efl.segmentcontrolitem", "sc" + std::to_string(i), "seg"));
    segments["children"][0]["children"].append(icon("sci"));
    Json::Value flip = node("efl.flipselector", "fs");
    for (int i = 0; i < 3; ++i)
        flip["children"].append(node("efl.flipselectoritem", "fs" + std::to_string(i), "2024"));
    Json::Value disk = node("efl.diskselector", "ds");
    for (int i = 0; i < 3; ++i)
        disk["children"].append(node("efl.diskselectoritem", "ds" + std::to_string(i), "month"));
    disk["children"][0]["children"].append(icon("dsi"));
    Json::Value entry = node("efl.multibuttonentry", "mb", "To:");
    for (int i = 0; i < 2; ++i)
        entry["children"].append(node("efl.multibuttonentryitem", "mb" + std::to_string(i), "name"));
    Json::Value popup = node("efl.popup", "pp");
    popup["properties"]["title"] = "Title";
    popup["children"].append(node("efl.label", "ppl", "body"));
    Json::Value menu = node("efl.ctxpopup", "cp");
    for (int i = 0; i < 2; ++i)
        menu["children"].append(node("efl.ctxpopupitem", "cp" + std::to_string(i), "entry"));
    menu["children"][0]["children"].append(icon("cpi"));
    Json::Value page = node("efl.box", "page");
    for (const Json::Value* c : { &toolbar, &segments, &flip, &disk, &entry, &popup, &menu })
        page["children"].append(*c);
    Json::Value root = node("efl.bg", "root");
    root["children"].append(page);
    return root;
}

int count_nodes(const Json::Value& n)
{
    int c = 1;
    for (const Json::Value& child : n["children"])
        c += count_nodes(child);
    return c;
}

void one_tick()
{
    ecore_timer_add(
        0.05, [](void*) -> Eina_Bool {
            ecore_main_loop_quit();
            return ECORE_CALLBACK_CANCEL;
        },
        nullptr);
    ecore_main_loop_begin();
}

// Renders `tree` `renders` times into a fresh window, printing the heap in
// use and the resident size after 10, 100, 250, 500, 750 and the last render.
void soak(const char* name, const Json::Value& tree, int renders, int id)
{
    Evas_Object* win = elm_win_util_standard_add("", "");
    evas_object_resize(win, W, H);
    evas_object_show(win);
    int w = W, h = H;
    WindowManager::getInstance()->add(id, win, "/bench", "mobile");
    evas_object_data_set(win, "win-width", &w);
    evas_object_data_set(win, "win-height", &h);
    Json::Value d;
    d["width"] = W;
    d["height"] = H;
    d["render-data"] = bench::compact(tree);
    std::string data = bench::compact(d);
    printf("%s, %d nodes (heap in use / resident, KiB):\n", name, count_nodes(tree));
    for (int r = 1; r <= renders; ++r) {
        CmdRender cmd;
        cmd.setId(id);
        cmd.deserialize(data);
        cmd.doCmd();
        retired_pages_flush();
        ecore_evas_manual_render(ecore_evas_ecore_evas_get(evas_object_evas_get(win)));
        one_tick();
        if (r == 10 || r == 100 || r == 250 || r == 500 || r == 750 || r == renders) {
            printf("  after %5d renders: %7ld / %7ld\n", r, heap_kib(), rss_kib());
            fflush(stdout);
        }
    }
    if (auto* page = static_cast<Evas_Object*>(evas_object_data_del(win, KEY_PAGE)))
        free_evas_object(page);
    WindowManager::getInstance()->remove(id);
    evas_object_del(win);
}

} // namespace

int main(int argc, char** argv)
{
    int renders = argc > 1 ? atoi(argv[1]) : 1000;
    efl_util_init_toolkit();
    elm_config_preferred_engine_set("buffer");
    Json::Value items = every_kind_tree();
    printf("memory over %d renders of the same tree at %dx%d, one engine tick after each\n", renders, W, H);
    soak("selectors, toolbars, popups and items", items, renders, 1);
    soak("baseline: boxes of buttons and labels", bench::tree(count_nodes(items), bench::Leaves::Controls), renders, 2);
    elm_shutdown();
    return 0;
}
