// End-to-end latency from sending CMD_RENDER to receiving that frame's last
// message (the placeholder event), and the engine's resident memory across
// many renders of the same tree. Drives the real engine binary.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "client/client.h"
#include "trees.h"

namespace {

using Clock = std::chrono::steady_clock;

long rss_kib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// Sends one render and waits for its frame's placeholder event; -1 on failure.
double render_ms(client::Engine& engine, int id, const std::string& data)
{
    auto t = Clock::now();
    if (!engine.sendRequest(id, "CMD_RENDER", data))
        return -1;
    if (!engine.waitEvent("EVENT_GET_PLACEHOLDER_POSITIONS", id, 10000))
        return -1;
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

} // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? atoi(argv[1]) : 21;
    int soak = argc > 2 ? atoi(argv[2]) : 1000;
    bench::Leaves kind = bench::leaves_from(argc > 3 ? argv[3] : nullptr);
    client::Engine::Options options;
    options.binary = ENGINE_BINARY;
    options.workdir = SOURCE_DIR;
    std::string error;
    auto engine = client::Engine::start(options, &error);
    if (!engine) {
        fprintf(stderr, "cannot start the engine: %s\n", error.c_str());
        return 2;
    }
    const int id = 1, W = 720, H = 1280;
    engine->sendRequest(id, "CMD_CREATE", "{\"width\":720,\"height\":1280,\"project-path\":\"/bench\"}");
    if (!engine->waitEvent("EVENT_CREATE", id, 10000)) {
        fprintf(stderr, "no EVENT_CREATE\n");
        return 2;
    }
    printf("end-to-end latency at %dx%d, %s, CMD_RENDER to its frame's last message, %d renders (ms; tick 50 ms)\n",
           W, H, bench::leaves_name(kind), runs);
    printf("%8s %10s %10s %10s\n", "widgets", "median", "p90", "max");
    std::string data100;
    for (int n : { 10, 100, 500 }) {
        Json::Value d;
        d["width"] = W;
        d["height"] = H;
        d["render-data"] = bench::compact(bench::tree(n, kind));
        std::string text = bench::compact(d);
        if (n == 100)
            data100 = text;
        std::vector<double> t;
        for (int r = 0; r < runs + 1; ++r) {
            // Requests arrive at any moment relative to the engine's tick: spread them.
            engine->expectSilence(30 + rand() % 50);
            double ms = render_ms(*engine, id, text);
            if (ms < 0) {
                fprintf(stderr, "render %d of %d widgets failed: %s\n", r, n, engine->lastError().c_str());
                return 2;
            }
            if (r > 0)
                t.push_back(ms);
        }
        std::sort(t.begin(), t.end());
        printf("%8d %10.1f %10.1f %10.1f\n", n, t[t.size() / 2], t[size_t(t.size() * 0.9)], t.back());
        fflush(stdout);
    }
    printf("resident memory, same 100-widget tree rendered again and again\n");
    for (int r = 1; r <= soak; ++r) {
        if (render_ms(*engine, id, data100) < 0) {
            fprintf(stderr, "soak render %d failed\n", r);
            return 2;
        }
        if (r == 10 || r == 100 || r == soak) {
            printf("  after %5d renders: %7ld KiB\n", r, rss_kib(engine->pid()));
            fflush(stdout);
        }
    }
    return 0;
}
