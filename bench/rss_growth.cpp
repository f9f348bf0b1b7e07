// Resident memory of the real engine across many re-renders into one window:
// examples/widgets.json, then trees of ten copies of one kind each (that
// kind's node from the example). With a baseline binary (an older build) the
// same runs are made with it, side by side.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "client/client.h"
#include "engine_process.h"
#include "kind_tree.h"

namespace {

const int W = 720, H = 1280, ID = 1;
const int WARM_UP = 20;

struct Session {
    std::unique_ptr<client::Engine> engine;
    int renders = 0;

    explicit Session(const std::string& binary)
    {
        client::Engine::Options options;
        options.binary = binary;
        options.workdir = SOURCE_DIR;
        std::string error;
        engine = client::Engine::start(options, &error);
        if (!engine) {
            fprintf(stderr, "cannot start %s: %s\n", binary.c_str(), error.c_str());
            exit(2);
        }
        engine->sendRequest(ID, "CMD_CREATE", "{\"width\":720,\"height\":1280,\"project-path\":\"/bench\"}");
        if (!engine->waitEvent("EVENT_CREATE", ID, 60000)) {
            fprintf(stderr, "no EVENT_CREATE\n");
            exit(2);
        }
    }

    // Renders `tree` with a root id unique to this render and waits for the
    // positions of a frame that shows it: animated widgets keep sending frames
    // of the previous tree, which must not pace the next request.
    void render(Json::Value tree)
    {
        std::string mark = "render-" + std::to_string(++renders);
        tree["wid"] = mark;
        Json::Value d;
        d["width"] = W;
        d["height"] = H;
        d["render-data"] = tree_json::compact(tree);
        if (!engine->sendRequest(ID, "CMD_RENDER", tree_json::compact(d)))
            fail();
        for (;;) {
            auto positions = engine->waitEvent("EVENT_GET_ALL_WIDGET_POSITIONS", ID, 20000);
            if (!positions)
                fail();
            if (positions->data.find("\"" + mark + "\"") != std::string::npos)
                return;
        }
    }

    // Waits for the answer to a request sent after the last frame: by then the
    // engine has deleted the page that frame replaced and done what it does
    // once idle, so readings do not depend on how soon they are taken.
    void settle()
    {
        if (!engine->sendRequest(ID, "CMD_GET_GROUP_NAMES", "{\"path\":\"/nonexistent/theme.edj\"}")
            || !engine->waitEvent("EVENT_GET_GROUP_NAMES", ID, 20000))
            fail();
    }

    bench::ProcessUsage usage() const { return bench::process_usage(engine->pid()); }
    long rss() const { return usage().rssKib; }

    [[noreturn]] void fail() const
    {
        fprintf(stderr, "render %d failed: %s\n", renders, engine->lastError().c_str());
        exit(2);
    }
};

struct Binary {
    std::string label;
    std::string path;
};

// RSS after 10, 100 and `renders` renders of the whole example; open
// descriptors after the first render and after the last.
void example_soak(const std::vector<Binary>& binaries, const Json::Value& example, int renders)
{
    printf("examples/widgets.json re-rendered into one %dx%d window: resident memory (KiB), descriptors\n", W, H);
    printf("%-10s %10s %10s %10s %16s %9s %9s\n", "engine", "10", "100", std::to_string(renders).c_str(),
           "growth 100..last", "fds 1st", "fds last");
    for (const Binary& b : binaries) {
        Session s(b.path);
        long at10 = 0, at100 = 0;
        int fdsFirst = 0;
        for (int r = 1; r <= renders; ++r) {
            s.render(example);
            if (r != 1 && r != 10 && r != 100)
                continue;
            s.settle();
            if (r == 1)
                fdsFirst = s.usage().fds;
            if (r == 10)
                at10 = s.rss();
            if (r == 100)
                at100 = s.rss();
        }
        s.settle();
        bench::ProcessUsage last = s.usage();
        printf("%-10s %10ld %10ld %10ld %16ld %9d %9d\n", b.label.c_str(), at10, at100, last.rssKib,
               last.rssKib - at100, fdsFirst, last.fds);
        fflush(stdout);
    }
}

struct Growth {
    double kibPerRender;
    int fds; // descriptors gained over the measured renders
};

// Growth per render of a tree of ten copies of one kind, after a warm-up.
Growth kind_growth(const std::string& binary, const Json::Value& tree, int renders)
{
    Session s(binary);
    for (int r = 0; r < WARM_UP; ++r)
        s.render(tree);
    s.settle();
    bench::ProcessUsage before = s.usage();
    for (int r = 0; r < renders; ++r)
        s.render(tree);
    s.settle();
    bench::ProcessUsage after = s.usage();
    return { double(after.rssKib - before.rssKib) / renders, after.fds - before.fds };
}

void kind_table(const std::vector<Binary>& binaries, const Json::Value& example, int renders,
                const std::string& only)
{
    const char* kinds[] = { "efl.colorselector", "efl.fileselectorentry", "efl.calendar", "efl.fileselectorbutton",
                            "efl.clock", "efl.fileselector", "efl.spinner", "efl.entry", "efl.label",
                            "efl.button" };
    printf("\nten copies of one kind re-rendered: KiB per render over %d renders after %d, descriptors gained\n",
           renders, WARM_UP);
    printf("%-24s", "kind");
    for (const Binary& b : binaries)
        printf(" %10s %8s", b.label.c_str(), "fds");
    printf("\n");
    for (const char* kind : kinds) {
        if (!only.empty() && ("," + only + ",").find("," + std::string(kind) + ",") == std::string::npos)
            continue;
        Json::Value tree = kind_tree::copies(kind_tree::find(example, kind), 10);
        printf("%-24s", kind);
        for (const Binary& b : binaries) {
            Growth g = kind_growth(b.path, tree, renders);
            printf(" %10.1f %8d", g.kibPerRender, g.fds);
        }
        printf("\n");
        fflush(stdout);
    }
}

} // namespace

int main(int argc, char** argv)
{
    int renders = argc > 1 ? atoi(argv[1]) : 2000;
    int kindRenders = argc > 2 ? atoi(argv[2]) : 100;
    std::vector<Binary> binaries;
    if (argc > 3 && std::string(argv[3]) != "-")
        binaries.push_back({ "baseline", argv[3] });
    binaries.push_back({ "engine", argc > 4 ? argv[4] : ENGINE_BINARY });
    Json::Value example = kind_tree::load(std::string(SOURCE_DIR) + "/examples/widgets.json");
    if (example.isNull()) {
        fprintf(stderr, "cannot read examples/widgets.json\n");
        return 2;
    }
    if (renders > 0)
        example_soak(binaries, example, renders);
    if (kindRenders > 0)
        kind_table(binaries, example, kindRenders, argc > 5 ? argv[5] : "");
    return 0;
}
