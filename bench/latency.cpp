// End-to-end latency of the real engine binary: from sending CMD_RENDER to
// receiving the last message (the placeholder event) of the first frame that
// shows the new tree. Every render uses fresh wids, so a frame of an older
// tree never counts; requests go out at random moments against the engine's
// 0.05 s tick. With --baseline ENGINE, that binary is measured in the same
// run, its renders interleaved with the engine's so both see the same load.
// Then the same 100-widget tree is rendered SOAK times and the resident
// memory read.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "client/client.h"
#include "resident.h"
#include "trees.h"

namespace {

using Clock = std::chrono::steady_clock;

const int W = 720, H = 1280, ID = 1;

std::unique_ptr<client::Engine> start(const std::string& binary)
{
    client::Engine::Options options;
    options.binary = binary;
    options.workdir = SOURCE_DIR;
    std::string error;
    auto engine = client::Engine::start(options, &error);
    if (!engine) {
        fprintf(stderr, "cannot start %s: %s\n", binary.c_str(), error.c_str());
        return nullptr;
    }
    engine->sendRequest(ID, "CMD_CREATE", "{\"width\":720,\"height\":1280,\"project-path\":\"/bench\"}");
    if (!engine->waitEvent("EVENT_CREATE", ID, 10000)) {
        fprintf(stderr, "%s made no window\n", binary.c_str());
        return nullptr;
    }
    return engine;
}

std::string render_data(int widgets, bench::Leaves kind, const std::string& prefix)
{
    Json::Value d;
    d["width"] = W;
    d["height"] = H;
    d["render-data"] = bench::compact(bench::tree(widgets, kind, prefix));
    return bench::compact(d);
}

// Sends one render and waits for the last message of the first frame whose
// widget positions name the new root; -1 on failure.
double render_ms(client::Engine& engine, const std::string& data, const std::string& prefix)
{
    auto t = Clock::now();
    if (!engine.sendRequest(ID, "CMD_RENDER", data))
        return -1;
    const std::string root = "\"wid\" : \"" + prefix + "root\"";
    for (;;) {
        auto widgets = engine.waitEvent("EVENT_GET_ALL_WIDGET_POSITIONS", ID, 10000);
        if (!widgets)
            return -1;
        if (widgets->data.find(root) == std::string::npos)
            continue; // a frame of the tree before
        if (!engine.waitEvent("EVENT_GET_PLACEHOLDER_POSITIONS", ID, 10000))
            return -1;
        return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
    }
}

// Lets the engine idle for `ms`, taking in whatever it still sends.
void idle(client::Engine& engine, int ms)
{
    auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < until) {
        int left = int(std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count());
        if (!engine.receive(std::max(left, 0)))
            return;
    }
}

struct Figures {
    double median, p90;
};

Figures figures(std::vector<double> t)
{
    std::sort(t.begin(), t.end());
    return { t[t.size() / 2], t[std::min(t.size() - 1, size_t(double(t.size()) * 0.9))] };
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 21, soak = 1000;
    std::string baseline;
    bench::Leaves kind = bench::Leaves::Controls;
    std::vector<std::string> numbers;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--baseline" && i + 1 < argc)
            baseline = argv[++i];
        else if (a == "controls" || a == "backgrounds")
            kind = bench::leaves_from(argv[i]);
        else
            numbers.push_back(a);
    }
    if (numbers.size() > 0)
        runs = atoi(numbers[0].c_str());
    if (numbers.size() > 1)
        soak = atoi(numbers[1].c_str());

    struct Subject {
        std::string name;
        std::unique_ptr<client::Engine> engine;
    };
    std::vector<Subject> subjects;
    if (!baseline.empty())
        subjects.push_back({ "baseline", start(baseline) });
    subjects.push_back({ "engine", start(ENGINE_BINARY) });
    for (const Subject& s : subjects)
        if (!s.engine)
            return 2;

    printf("end-to-end latency at %dx%d, %s: CMD_RENDER to the last message of the first frame showing it,\n"
           "fresh wids per render, %d renders per size sent at random moments against the 50 ms tick (ms)\n",
           W, H, bench::leaves_name(kind), runs);
    printf("%8s", "widgets");
    for (const Subject& s : subjects)
        printf(" %9s median %9s p90", s.name.c_str(), s.name.c_str());
    printf("\n");
    std::mt19937 random(12345);
    int serial = 0;
    for (int n : { 10, 100, 500 }) {
        std::vector<std::vector<double>> times(subjects.size());
        for (int r = 0; r < runs + 1; ++r) {
            for (size_t k = 0; k < subjects.size(); ++k) {
                client::Engine& engine = *subjects[k].engine;
                std::string prefix = "r" + std::to_string(++serial) + "_";
                std::string data = render_data(n, kind, prefix);
                idle(engine, 20 + int(random() % 50));
                double ms = render_ms(engine, data, prefix);
                if (ms < 0) {
                    fprintf(stderr, "%s: render of %d widgets failed: %s\n", subjects[k].name.c_str(), n,
                            engine.lastError().c_str());
                    return 2;
                }
                if (r > 0) // the first render of a size warms caches up
                    times[k].push_back(ms);
            }
        }
        printf("%8d", n);
        for (size_t k = 0; k < subjects.size(); ++k) {
            Figures f = figures(times[k]);
            printf(" %16.1f %13.1f", f.median, f.p90);
        }
        printf("\n");
        fflush(stdout);
    }
    if (soak <= 0)
        return 0;
    client::Engine& engine = *subjects.back().engine;
    printf("resident memory of the engine, same 100-widget tree rendered again and again\n");
    std::string data = render_data(100, kind, "soak_");
    for (int r = 1; r <= soak; ++r) {
        if (render_ms(engine, data, "soak_") < 0) {
            fprintf(stderr, "soak render %d failed\n", r);
            return 2;
        }
        if (r == 10 || r == 100 || r == soak) {
            printf("  after %5d renders: %7ld KiB\n", r, resident_kib(engine.pid()));
            fflush(stdout);
        }
    }
    return 0;
}
