#include "batch.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <thread>

#include "outputs.h"
#include "session.h"
#include "tree_file.h"

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

// A rendered tree whose files are being written while the next one renders.
struct Pending {
    std::string label;
    std::string name;
    Session::Result result;
    std::vector<std::string> diagnostics;
    double renderMs = 0;
    TreeReport report;
    std::thread writer;
};

}  // namespace

int runBatch(const Options& given)
{
    auto started = std::chrono::steady_clock::now();
    Options o = given;
    std::string engine, workdir, error;
    if (!prepare(o, engine, workdir, error)) {
        say("render-snapshot: %s%s\n", error);
        return 2;
    }
    Session session(o, engine, workdir);
    const size_t n = o.trees.size();
    int failed = 0, differ = 0;
    std::set<std::string> names;
    std::unique_ptr<Pending> pending;
    // Prints the tree's line once its files are written; lines stay in tree order.
    auto finish = [&] {
        if (!pending)
            return;
        pending->writer.join();
        const TreeReport& rep = pending->report;
        char ms[32];
        std::snprintf(ms, sizeof ms, ", %.0f ms", pending->renderMs);
        say("%s: %s\n", pending->label, rep.summary + ms);
        for (const std::string& line : pending->diagnostics)
            say("    engine: %s%s\n", line);
        failed += rep.failed;
        differ += rep.differs;
        pending.reset();
    };
    for (size_t i = 0; i < n; ++i) {
        const std::string& path = o.trees[i];
        std::string label = "[" + std::to_string(i + 1) + "/" + std::to_string(n) + "] ";
        TreeFile tree;
        if (!loadTree(path, tree, error)) {
            finish();
            say("%s: error: %s\n", label + path, error);
            ++failed;
            continue;
        }
        label += tree.name;
        if (!names.insert(tree.name).second) {
            finish();
            say("%s: error: %s\n", label, "another tree of this name was already written in this run (" + path + ")");
            ++failed;
            continue;
        }
        if (!session.ensureStarted(error)) {
            finish();
            say("%s: error: cannot start the engine: %s\n", label, error);
            failed += int(n - i);
            break;
        }
        auto t0 = std::chrono::steady_clock::now();
        Session::Result r = session.render(tree.text);
        double renderMs = secondsSince(t0) * 1000;
        std::vector<std::string> diagnostics = session.takeDiagnostics();
        finish();
        if (!r.ok) {
            say("%s: error: %s\n", label, r.error);
            for (const std::string& line : diagnostics)
                say("    engine: %s%s\n", line);
            ++failed;
            continue;
        }
        pending = std::make_unique<Pending>();
        pending->label = label;
        pending->name = tree.name;
        pending->result = std::move(r);
        pending->diagnostics = std::move(diagnostics);
        pending->renderMs = renderMs;
        Pending* job = pending.get();
        job->writer = std::thread([&o, job] { job->report = writeOutputs(o, job->name, job->result); });
    }
    finish();
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
