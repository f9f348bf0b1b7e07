// Soak: the real engine with 10 windows takes thousands of renders of the
// trees in examples/, each with random property changes, and windows are
// destroyed and created again along the way. Every message the engine sends
// is decoded and checked (frame header, checksum, paint size) by the client.
// Reported: resident memory, open descriptors and threads at the start and
// the end, and the resident memory of one window re-rendering
// examples/widgets.json after 100 renders and at the end.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "client/client.h"
#include "engine_process.h"
#include "trees.h"

namespace {

using Clock = std::chrono::steady_clock;

const int WINDOWS = 10;
const int WAIT_MS = 20000;

Json::Value read_json(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    Json::Value v;
    Json::CharReaderBuilder b;
    std::string errs;
    std::unique_ptr<Json::CharReader> r(b.newCharReader());
    std::string s = text.str();
    r->parse(s.data(), s.data() + s.size(), &v, &errs);
    return v;
}

// Changes a few property values of random nodes the way an IDE user would:
// texts, numbers, switches; sometimes a child goes away.
class Mutator {
public:
    explicit Mutator(unsigned seed) : rng_(seed) {}

    Json::Value mutate(Json::Value tree)
    {
        int changes = 1 + int(rng_() % 4);
        for (int i = 0; i < changes; ++i) {
            // Collected again each time: a removed child moves its siblings.
            std::vector<Json::Value*> nodes;
            collect(tree, nodes);
            change(*nodes[rng_() % nodes.size()]);
        }
        return tree;
    }

private:
    void collect(Json::Value& node, std::vector<Json::Value*>& out)
    {
        out.push_back(&node);
        if (node.isMember("children") && node["children"].isArray())
            for (Json::Value& child : node["children"])
                collect(child, out);
    }

    void change(Json::Value& node)
    {
        if (node.isMember("children") && node["children"].size() > 1 && rng_() % 8 == 0) {
            Json::Value removed;
            node["children"].removeIndex(Json::ArrayIndex(rng_() % node["children"].size()), &removed);
            return;
        }
        if (!node.isMember("properties") || !node["properties"].isObject() || node["properties"].empty())
            return;
        Json::Value& props = node["properties"];
        std::vector<std::string> names = props.getMemberNames();
        Json::Value& v = props[names[rng_() % names.size()]];
        std::string old = v.asString();
        if (old == "true" || old == "false")
            v = old == "true" ? "false" : "true";
        else if (!old.empty() && (isdigit(static_cast<unsigned char>(old[0])) || old[0] == '-'))
            v = std::to_string(int(rng_() % 100));
        else if (!old.empty() && old[0] != '#' && old.find('/') == std::string::npos)
            v = "text " + std::to_string(rng_() % 1000);
    }

    std::mt19937 rng_;
};

std::string render_data(int w, int h, const Json::Value& tree)
{
    Json::Value d;
    d["width"] = w;
    d["height"] = h;
    d["render-data"] = bench::compact(tree);
    return bench::compact(d);
}

struct Counts {
    long paints = 0, events = 0;
};

// Sends and waits for the window's frame (paint, then both position events);
// every message on the way is counted, each one already checked by the client.
bool render_frame(client::Engine& engine, int id, const std::string& data, Counts& counts)
{
    if (!engine.sendRequest(id, "CMD_RENDER", data))
        return false;
    std::vector<client::Message> seen;
    auto done = engine.waitEvent("EVENT_GET_PLACEHOLDER_POSITIONS", id, WAIT_MS, &seen);
    for (const client::Message& m : seen) {
        if (m.kind == client::Message::Kind::Paint) {
            ++counts.paints;
            if (m.paint.width <= 0 || m.paint.height <= 0
                || m.paint.pixels.size() != size_t(m.paint.width) * size_t(m.paint.height))
                return false;
        } else {
            ++counts.events;
        }
    }
    counts.events += done ? 1 : 0;
    return done.has_value();
}

bool create(client::Engine& engine, int id)
{
    return engine.sendRequest(id, "CMD_CREATE", "{\"width\":360,\"height\":480,\"project-path\":\"/soak\"}")
        && engine.waitEvent("EVENT_CREATE", id, WAIT_MS);
}

bool destroy(client::Engine& engine, int id)
{
    return engine.sendRequest(id, "CMD_DESTROY", "{}") && engine.waitEvent("EVENT_DESTROY", id, WAIT_MS);
}

void print_usage(const char* when, const bench::ProcessUsage& u)
{
    printf("  %-26s %9ld KiB %5d fds %4d threads\n", when, u.rssKib, u.fds, u.threads);
}

int fail(client::Engine& engine, const char* what, long at)
{
    fprintf(stderr, "%s failed at %ld: %s\n", what, at, engine.lastError().c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    long renders = argc > 1 ? atol(argv[1]) : 10000;
    long sameTree = argc > 2 ? atol(argv[2]) : 2000;
    std::vector<std::string> names = { "containers", "controls", "form_table", "grid_mosaic", "widgets" };
    std::vector<Json::Value> trees;
    for (const std::string& n : names)
        trees.push_back(read_json(std::string(SOURCE_DIR) + "/examples/" + n + ".json"));

    auto engine = bench::start_engine();
    if (!engine)
        return 2;
    Counts counts;
    Mutator mutator(12345);
    std::mt19937 pick(54321);
    for (int id = 1; id <= WINDOWS; ++id)
        if (!create(*engine, id) || !render_frame(*engine, id, render_data(360, 480, trees[0]), counts))
            return fail(*engine, "first render", id);
    bench::ProcessUsage start = bench::process_usage(engine->pid());

    printf("soak: %d windows, %ld renders of examples/ trees with random property changes,\n"
           "a window destroyed and created again every 250 renders\n",
           WINDOWS, renders);
    auto t0 = Clock::now();
    long recreated = 0;
    std::vector<int> perTree(trees.size());
    for (long r = 1; r <= renders; ++r) {
        int id = 1 + int(pick() % WINDOWS);
        size_t which = pick() % trees.size();
        ++perTree[which];
        if (!render_frame(*engine, id, render_data(360, 480, mutator.mutate(trees[which])), counts))
            return fail(*engine, "render", r);
        if (r % 250 == 0) {
            if (!destroy(*engine, id) || !create(*engine, id))
                return fail(*engine, "destroy and create", r);
            ++recreated;
        }
        if (r % 1000 == 0) {
            printf("  %6ld renders, %7ld KiB\n", r, bench::process_usage(engine->pid()).rssKib);
            fflush(stdout);
        }
    }
    double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    bench::ProcessUsage end = bench::process_usage(engine->pid());
    print_usage("start (10 windows drawn)", start);
    print_usage("end", end);
    printf("  %.0f s, %.1f renders/s; %ld windows re-created; %ld paints and %ld events checked; trees:",
           seconds, renders / seconds, recreated, counts.paints, counts.events);
    for (size_t i = 0; i < trees.size(); ++i)
        printf(" %s %d", names[i].c_str(), perTree[i]);
    printf("\n");

    // One window, the every-kind tree again and again, unchanged.
    printf("same tree: examples/widgets.json rendered %ld times into window 1\n", sameTree);
    std::string widgets = render_data(360, 480, trees.back());
    long at100 = 0;
    for (long r = 1; r <= sameTree; ++r) {
        if (!render_frame(*engine, 1, widgets, counts))
            return fail(*engine, "same-tree render", r);
        if (r == 100)
            at100 = bench::process_usage(engine->pid()).rssKib;
    }
    long last = bench::process_usage(engine->pid()).rssKib;
    printf("  after 100 renders %ld KiB, after %ld renders %ld KiB: %+ld KiB\n", at100, sameTree, last, last - at100);
    return 0;
}
