#include "batch.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <optional>
#include <set>
#include <thread>

#include "outputs.h"
#include "report.h"
#include "session.h"
#include "tree_file.h"
#include "writers.h"

namespace snapshot {

namespace {

namespace fs = std::filesystem;

double secondsSince(std::chrono::steady_clock::time_point t)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

void say(const char* fmt, const std::string& a, const std::string& b = "")
{
    std::fprintf(stderr, fmt, a.c_str(), b.c_str());
}

// Engine and working directory; theme paths made absolute, since the
// engine resolves them from its own working directory.
bool prepare(Options& o, std::string& engine, std::string& workdir, std::string& error)
{
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec && (o.engine.empty() || o.workdir.empty())) {
        error = "cannot find this program's directory (" + ec.message() + "); give --engine and --workdir";
        return false;
    }
    engine = o.engine.empty() ? (self.parent_path() / "render-engine").string() : fs::absolute(o.engine).string();
    workdir = o.workdir.empty() ? self.parent_path().parent_path().string() : o.workdir;
    if (!fs::is_regular_file(engine, ec) || access(engine.c_str(), X_OK) != 0) {
        error = "engine binary not found or not executable: " + engine + " (give --engine PATH)";
        return false;
    }
    if (!fs::is_directory(workdir, ec)) {
        error = "engine working directory not found: " + workdir + " (give --workdir DIR)";
        return false;
    }
    for (std::string* theme : { &o.theme, &o.overlayTheme }) {
        if (theme->empty())
            continue;
        if (!fs::is_regular_file(*theme, ec) || access(theme->c_str(), R_OK) != 0) {
            error = "theme file not found or unreadable: " + *theme;
            return false;
        }
        *theme = fs::absolute(*theme).string();
    }
    fs::create_directories(o.outDir, ec);
    if (!fs::is_directory(o.outDir, ec)) {
        error = "cannot make the output directory " + o.outDir;
        return false;
    }
    if (!o.compareDir.empty() && !fs::is_directory(o.compareDir, ec)) {
        if (!o.update) {
            error = "golden directory not found: " + o.compareDir + " (--update makes it)";
            return false;
        }
        fs::create_directories(o.compareDir, ec);
        if (!fs::is_directory(o.compareDir, ec)) {
            error = "cannot make the golden directory " + o.compareDir;
            return false;
        }
    }
    return true;
}

// A tree of the run, from its file to its line of progress.
struct Slot {
    std::string label;
    std::string name;
    std::string text;  // held only until it is rendered
    int window = 0;    // its turn in this window (slot)
    bool retried = false;
    double renderMs = 0;
    std::vector<std::string> diagnostics;
    std::optional<std::string> line;  // set once it is done
};

std::string engineLines(const std::vector<std::string>& diagnostics)
{
    std::string out;
    for (const std::string& line : diagnostics)
        out += "    engine: " + line + "\n";
    return out;
}

int writerThreads()
{
    return int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
}

}  // namespace

int runBatch(const Options& given)
{
    auto started = std::chrono::steady_clock::now();
    Options o = given;
    const size_t n = o.trees.size();
    std::string engine, workdir, error;
    if (!prepare(o, engine, workdir, error)) {
        say("render-snapshot: %s%s\n", error);
        return 2;
    }
    std::vector<Slot> slots(n);
    std::vector<report::Entry> entries(n);
    int failed = 0, differ = 0;
    auto fail = [&](size_t i, const std::string& what, const std::vector<std::string>& diagnostics = {}) {
        slots[i].line = slots[i].label + ": error: " + what + "\n" + engineLines(diagnostics);
        slots[i].text.clear();
        ++failed;
        report::Entry& e = entries[i];
        e.name = slots[i].name.empty() ? fs::path(o.trees[i]).stem().string() : slots[i].name;
        e.width = o.width;
        e.height = o.height;
        e.status = report::Status::Failed;
        e.detail = "error: " + what + "\n" + engineLines(diagnostics);
    };
    // Every file is read first: the render order depends on the trees' sizes.
    std::set<std::string> names;
    std::vector<std::pair<size_t, size_t>> loaded;
    for (size_t i = 0; i < n; ++i) {
        Slot& slot = slots[i];
        slot.label = "[" + std::to_string(i + 1) + "/" + std::to_string(n) + "] ";
        TreeFile tree;
        if (!loadTree(o.trees[i], tree, error)) {
            slot.label += o.trees[i];
            fail(i, error);
            continue;
        }
        slot.label += tree.name;
        if (!names.insert(tree.name).second) {
            fail(i, "another tree of this name was already written in this run (" + o.trees[i] + ")");
            continue;
        }
        slot.name = tree.name;
        slot.text = std::move(tree.text);
        loaded.emplace_back(i, tree.nodes);
    }
    // Windows beyond the number of trees would only slow the start.
    o.windows = int(std::clamp<size_t>(loaded.size(), 1, size_t(o.windows)));
    std::vector<std::deque<size_t>> turns;
    for (const std::vector<size_t>& trees : renderTurns(loaded, size_t(o.windows))) {
        for (size_t i : trees)
            slots[i].window = int(turns.size());
        turns.emplace_back(trees.begin(), trees.end());
    }
    size_t waiting = loaded.size();  // not yet sent, retries aside
    Session session(o, engine, workdir);
    Writers writers(o, writerThreads());
    // Pictures waiting for the writers, 3.7 MB each at 720x1280.
    const size_t writeLimit = size_t(std::max(o.windows, 2 * writerThreads()));
    size_t printed = 0;
    // Trees that were in the engine when it was lost with others: each is
    // rendered again alone, so that a tree that kills the engine fails alone.
    std::deque<size_t> retries;
    size_t alone = SIZE_MAX;
    bool engineFailed = false;

    // Lines stay in tree order.
    auto print = [&] {
        for (; printed < n && slots[printed].line; ++printed)
            say("%s%s", *slots[printed].line);
    };
    auto written = [&](std::vector<std::pair<size_t, TreeReport>> reports) {
        for (auto& [i, rep] : reports) {
            char ms[32];
            std::snprintf(ms, sizeof ms, ", %.0f ms", slots[i].renderMs);
            slots[i].line = slots[i].label + ": " + rep.summary + ms + "\n" + engineLines(slots[i].diagnostics);
            failed += rep.failed;
            differ += rep.differs;
            entries[i] = std::move(rep.entry);
            entries[i].detail = rep.summary + ms + "\n" + engineLines(slots[i].diagnostics);
        }
        print();
    };
    auto finished = [&](Session::Finished& f) {
        Slot& slot = slots[f.tag];
        Session::Result& r = f.result;
        if (f.tag == alone)
            alone = SIZE_MAX;
        if (r.engineLost && !r.alone && !slot.retried) {
            slot.retried = true;
            retries.insert(std::upper_bound(retries.begin(), retries.end(), f.tag), f.tag);
            return;
        }
        if (!r.ok) {
            fail(f.tag, r.error, r.diagnostics);
            return;
        }
        slot.text.clear();
        slot.renderMs = r.renderMs;
        slot.diagnostics = std::move(r.diagnostics);
        writers.submit(f.tag, slot.name, std::move(r));
    };
    // Takes the next tree to send, or returns false when none may go now.
    auto pick = [&](size_t& i) {
        if (engineFailed || alone != SIZE_MAX || writers.outstanding() >= writeLimit)
            return false;
        if (!retries.empty()) {
            if (session.busy() > 0)
                return false;
            i = retries.front();
            retries.pop_front();
            alone = i;
            return true;
        }
        for (std::deque<size_t>& turn : turns) {
            if (turn.empty() || !session.isFree(slots[turn.front()].window))
                continue;
            i = turn.front();
            turn.pop_front();
            --waiting;
            return true;
        }
        return false;
    };

    for (;;) {
        size_t i = 0;
        while (pick(i)) {
            if (!session.ensureStarted(error)) {
                fail(i, "cannot start the engine: " + error);
                // The trees not yet sent are not tried; they count as failed.
                failed += int(retries.size() + waiting);
                engineFailed = true;
                break;
            }
            session.render(i, slots[i].window, slots[i].text);
        }
        print();
        bool more = !engineFailed && (waiting > 0 || !retries.empty());
        if (session.busy() == 0) {
            if (!more)
                break;
            written(writers.take(100));  // waiting for the writers to catch up
            continue;
        }
        for (Session::Finished& f : session.collect())
            finished(f);
        written(writers.take(0));
    }
    while (writers.outstanding() > 0)
        written(writers.take(1000));
    // Trees left unsent after the engine could not start have no line.
    for (; printed < n; ++printed)
        if (slots[printed].line)
            say("%s%s", *slots[printed].line);
    if (!o.reportDir.empty()) {
        // Trees left unsent after the engine could not start have no entry.
        std::vector<report::Entry> shown;
        for (size_t i = 0; i < n; ++i)
            if (!entries[i].name.empty())
                shown.push_back(std::move(entries[i]));
        if (!report::writeReport(o.reportDir, std::move(shown), error)) {
            say("render-snapshot: %s%s\n", error);
            ++failed;
        } else {
            say("render-snapshot: report written to %s%s\n", (fs::path(o.reportDir) / "index.html").string());
        }
    }
    char summary[160];
    std::snprintf(summary, sizeof summary, "render-snapshot: %zu %s in %.2f s, %d failed", n, n == 1 ? "tree" : "trees",
                  secondsSince(started), failed);
    std::string line = summary;
    if (!o.compareDir.empty())
        line += ", " + std::to_string(differ) + " differ from golden";
    say("%s%s\n", line);
    return failed ? 2 : differ ? 1 : 0;
}

}  // namespace snapshot
