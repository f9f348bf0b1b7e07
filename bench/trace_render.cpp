// A trace of renders through the engine's own code, in process: the request
// is queued as the reader thread queues it (at a random moment against the
// tick), the engine's tick runs it, and the messages go out over a real
// loopback TCP connection to a reader standing in for the IDE. Every step
// from the queued request to the IDE's last message is stamped, so the
// steps add up; prints the median of each step and one render in full.
// Usage: bench_trace [WIDGETS] [RENDERS]
#include <Ecore_Evas.h>
#include <Elementary.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "client/client.h"
#include "components/connector/connector.h"
#include "components/manager/window_manager.h"
#include "components/manager/q_manager.h"
#include "components/msg_writer/msg_writer.h"
#include "threads/dequeue_thread/dequeue_thread.h"
#include "trees.h"
#include "utils/efl_util.h"

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point g_origin = Clock::now();

double now_ms() { return std::chrono::duration<double, std::milli>(Clock::now() - g_origin).count(); }

struct Stamp {
    double ms;
    std::string what;
};

std::mutex g_lock;
std::vector<Stamp> g_stamps;
bool g_tracing = false;

void stamp(std::string what)
{
    std::lock_guard<std::mutex> hold(g_lock);
    if (g_tracing)
        g_stamps.push_back({ now_ms(), std::move(what) });
}

// The engine's end of a loopback connection; every send is stamped.
class TracedConnection : public IConnector {
public:
    explicit TracedConnection(int fd) : m_fd(fd) {}
    int send(const char* data, int length, int) override
    {
        int n = int(::send(m_fd, data, size_t(length), 0));
        stamp(length == 20 ? "frame header written" : "body written, " + std::to_string(length) + " bytes");
        return n;
    }

private:
    int m_fd;
};

// The IDE's end: reads every frame and stamps each complete one.
void read_frames(int fd, std::atomic<bool>& stop)
{
    std::vector<char> buf(1 << 20);
    std::string pending;
    while (!stop) {
        ssize_t n = recv(fd, buf.data(), buf.size(), 0);
        if (n <= 0)
            return;
        pending.append(buf.data(), size_t(n));
        while (pending.size() >= 20) {
            int size, format;
            memcpy(&size, pending.data() + 8, 4);
            memcpy(&format, pending.data() + 16, 4);
            if (pending.size() < size_t(size) + 20)
                break;
            std::string what = format == 1 ? "IDE has the paint (" + std::to_string(size) + " bytes)" : "IDE has an event";
            if (format == 0) {
                size_t at = pending.find("EVENT_", 20);
                if (at != std::string::npos && at < size_t(size) + 20)
                    what = "IDE has " + pending.substr(at, pending.find('"', at) - at);
            }
            stamp(what);
            pending.erase(0, size_t(size) + 20);
        }
    }
}

bool loopback(int& engineEnd, int& ideEnd)
{
    int port = 0;
    int listener = client::listenOnLoopback(port);
    if (listener < 0)
        return false;
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(uint16_t(port));
    ideEnd = socket(AF_INET, SOCK_STREAM, 0);
    if (connect(ideEnd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
        return false;
    engineEnd = accept(listener, nullptr, nullptr);
    close(listener);
    int one = 1;
    setsockopt(engineEnd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return engineEnd >= 0;
}

std::string request(int id, const char* name, const std::string& data)
{
    Json::Value r;
    r["id"] = id;
    r["msg-type"] = 1;
    r["command-name"] = name;
    r["command-data"] = data;
    return bench::compact(r);
}

void enqueue(const std::string& body)
{
    char* block = static_cast<char*>(malloc(body.size() + 1));
    memcpy(block, body.c_str(), body.size() + 1);
    stamp("request queued");
    QManager::getInstance()->enqueue(block);
}

void on_render(void* what, Evas*, void*) { stamp(static_cast<const char*>(what)); }

// The engine's tick, stamped when it has a request to run.
Eina_Bool traced_tick(void*)
{
    bool work = !QManager::getInstance()->isEmpty();
    if (work)
        stamp("tick takes the request");
    Eina_Bool keep = DequeueThread::Run(nullptr);
    if (work)
        stamp("command done, tick ends");
    if (work && getenv("RENDER_AT_IDLE"))
        ecore_idle_enterer_add(
            [](void*) -> Eina_Bool {
                stamp("idle render");
                Eina_List* l = ecore_evas_ecore_evas_list_get();
                void* ee;
                EINA_LIST_FREE(l, ee)
                    ecore_evas_manual_render(static_cast<Ecore_Evas*>(ee));
                stamp("idle render done");
                return ECORE_CALLBACK_CANCEL;
            },
            nullptr);
    return keep;
}

Eina_Bool on_wake(void*)
{
    stamp("main loop wakes");
    return ECORE_CALLBACK_RENEW;
}

Eina_Bool on_idle(void*)
{
    stamp("main loop goes idle");
    return ECORE_CALLBACK_RENEW;
}

// Runs the main loop until `ms` have passed.
void run_for(double ms)
{
    Ecore_Timer* quit = ecore_timer_add(
        ms / 1000.0, [](void*) -> Eina_Bool {
            ecore_main_loop_quit();
            return ECORE_CALLBACK_CANCEL;
        },
        nullptr);
    ecore_main_loop_begin();
    (void)quit;
}

} // namespace

int main(int argc, char** argv)
{
    int widgets = argc > 1 ? atoi(argv[1]) : 100;
    int renders = argc > 2 ? std::max(atoi(argv[2]), 1) : 21;
    // The engine's trace lines go to standard output; the trace of this
    // program keeps the terminal.
    FILE* out = fdopen(dup(1), "w");
    if (!freopen("/dev/null", "w", stdout))
        return 2;
    int engineEnd = -1, ideEnd = -1;
    if (!loopback(engineEnd, ideEnd)) {
        fprintf(stderr, "cannot make a loopback connection\n");
        return 2;
    }
    std::atomic<bool> stop { false };
    std::thread ide(read_frames, ideEnd, std::ref(stop));
    TracedConnection connection(engineEnd);
    MsgWriter::replaceInstance(new MsgWriter(&connection));
    Connector::getInstance()->setConnectedStatus(true);
    DequeueThread::getInstance(); // the toolkit and the tick, as the engine starts them
    DequeueThread::stopEflRenderCmdTimer();
    ecore_timer_add(DequeueThread::TICK_SECONDS, traced_tick, nullptr);

    const int id = 1, W = 720, H = 1280;
    Json::Value create;
    create["width"] = W;
    create["height"] = H;
    create["project-path"] = "/trace";
    enqueue(request(id, "CMD_CREATE", bench::compact(create)));
    run_for(400);
    Evas_Object* win = WindowManager::getInstance()->find(id);
    if (!win) {
        fprintf(stderr, "no window\n");
        return 2;
    }
    Evas* canvas = evas_object_evas_get(win);
    evas_event_callback_priority_add(canvas, EVAS_CALLBACK_RENDER_PRE, EVAS_CALLBACK_PRIORITY_BEFORE, on_render,
                                     (void*)"render starts");
    evas_event_callback_priority_add(canvas, EVAS_CALLBACK_RENDER_FLUSH_PRE, EVAS_CALLBACK_PRIORITY_BEFORE, on_render,
                                     (void*)"render drawn");
    evas_event_callback_priority_add(canvas, EVAS_CALLBACK_RENDER_POST, EVAS_CALLBACK_PRIORITY_BEFORE, on_render,
                                     (void*)"render done, frame callback starts");
    evas_event_callback_priority_add(canvas, EVAS_CALLBACK_RENDER_POST, EVAS_CALLBACK_PRIORITY_AFTER, on_render,
                                     (void*)"frame callback ends");
    ecore_idle_exiter_add(on_wake, nullptr);
    ecore_idle_enterer_add(on_idle, nullptr);

    // Each step is the time between two stamps; its median over the renders.
    struct Step {
        const char* name;
        const char* from;
        const char* to;
    };
    const std::string paintSent = "body written, " + std::to_string(W * H * 4 + 20) + " bytes";
    const Step steps[] = {
        { "waiting for the tick", "request queued", "tick takes the request" },
        { "the command (teardown, build)", "tick takes the request", "command done, tick ends" },
        { "command end to render start (layout)", "command done, tick ends", "render starts" },
        { "the render (drawing)", "render starts", "render done, frame callback starts" },
        { "the paint: snapshot, checksum, send", "render done, frame callback starts", paintSent.c_str() },
        { "the two position documents", paintSent.c_str(), "frame callback ends" },
        { "the IDE's last message after that", "frame callback ends", "IDE has EVENT_GET_PLACEHOLDER_POSITIONS" },
        { "request queued to the IDE's last message", "request queued", "IDE has EVENT_GET_PLACEHOLDER_POSITIONS" },
    };
    const size_t stepCount = sizeof steps / sizeof steps[0];
    std::vector<std::vector<double>> times(stepCount);
    std::vector<std::pair<double, std::vector<Stamp>>> traces;
    srand(7);
    for (int k = 0; k < renders + 2; ++k) {
        Json::Value render;
        render["width"] = W;
        render["height"] = H;
        render["render-data"] = bench::compact(bench::tree(widgets, bench::Leaves::Controls, "r" + std::to_string(k) + "_"));
        std::string body = request(id, "CMD_RENDER", bench::compact(render));
        run_for(rand() % 50); // requests come at any moment against the tick
        {
            std::lock_guard<std::mutex> hold(g_lock);
            g_stamps.clear();
            g_tracing = true;
        }
        enqueue(body);
        run_for(300);
        std::vector<Stamp> stamps;
        {
            std::lock_guard<std::mutex> hold(g_lock);
            g_tracing = false;
            stamps = g_stamps;
        }
        if (k < 2)
            continue; // caches warm up
        std::sort(stamps.begin(), stamps.end(), [](const Stamp& a, const Stamp& b) { return a.ms < b.ms; });
        auto at = [&](const char* what) {
            for (const Stamp& st : stamps)
                if (st.what == what)
                    return st.ms;
            return -1.0;
        };
        for (size_t i = 0; i < stepCount; ++i) {
            double a = at(steps[i].from), b = at(steps[i].to);
            if (a >= 0 && b >= 0)
                times[i].push_back(b - a);
        }
        traces.emplace_back(at(steps[stepCount - 1].to) - at(steps[stepCount - 1].from), stamps);
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    fprintf(out, "%d renders of %d widgets at %dx%d, median of each step (ms):\n", renders, widgets, W, H);
    for (size_t i = 0; i < stepCount; ++i)
        fprintf(out, "  %-45s %7.2f\n", steps[i].name, median(times[i]));
    // One render in full: the one whose total is the median.
    std::sort(traces.begin(), traces.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    const std::vector<Stamp>& one = traces[traces.size() / 2].second;
    fprintf(out, "the median render, every stamp (ms since the request was queued, and since the stamp before):\n");
    double t0 = one.empty() ? 0 : one[0].ms, last = t0;
    for (const Stamp& st : one) {
        fprintf(out, "  %8.2f  %+7.2f  %s\n", st.ms - t0, st.ms - last, st.what.c_str());
        last = st.ms;
    }
    stop = true;
    shutdown(ideEnd, SHUT_RDWR);
    ide.join();
    return 0;
}
