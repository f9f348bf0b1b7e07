// One engine process and a pool of windows, rendering several trees at once.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "client/client.h"
#include "deferred.h"
#include "options.h"
#include "pool.h"

namespace snapshot {

class Session {
public:
    struct Result {
        bool ok = false;
        bool timedOut = false;    // frames kept coming until the maximum wait after it ran
        bool engineLost = false;  // the engine died or was restarted with this tree in it
        bool alone = false;       // ... while no other tree was in it
        std::string error;
        Frame frame;
        int frames = 0;
        double renderMs = 0;
        std::vector<std::string> diagnostics;  // the engine's lines about this tree
    };
    struct Finished {
        size_t tag;
        Result result;
    };

    Session(const Options& options, std::string enginePath, std::string workdir);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Starts the engine and makes its windows unless that is done already.
    bool ensureStarted(std::string& error);
    // Window `slot` can take a tree now (or the engine must be started first).
    bool isFree(int slot) const { return !engine_ || pool_.isFree(slot); }
    // Trees sent and not yet handed back by collect.
    size_t busy() const { return (engine_ ? pool_.busy() : 0) + lost_.size(); }
    // Sends the tree to window `slot`; needs ensureStarted and isFree.
    void render(size_t tag, int slot, const std::string& treeText);
    // Waits until some render finishes or something is due, and returns the
    // finished ones; when the engine is lost, every tree in it.
    std::vector<Finished> collect();

private:
    bool startEngine(std::string& error);
    std::string createData() const;
    bool send(const WindowPool::Request& r, const std::string& renderData);
    void absorbDiagnostics();
    // A well-framed message that broke the protocol fails the tree of its
    // window alone; the engine goes on.
    void reject(const client::Invalid& bad);
    Finished failure(size_t tag, int window, std::string error);
    // `alsoLost`: trees (tag, window) that have left the pool already.
    void lose(const std::string& why, const std::vector<std::pair<size_t, int>>& alsoLost = {});
    std::vector<Finished> takeLost();

    const Options& options_;
    std::string enginePath_;
    std::string workdir_;
    std::unique_ptr<client::Engine> engine_;
    WindowPool pool_;
    size_t stderrSeen_ = 0;
    std::map<int, std::vector<std::string>> windowLines_;  // diagnostics per window id
    std::vector<std::string> otherLines_;                  // diagnostics of no render
    std::vector<Finished> lost_;
    std::vector<Finished> rejected_;
    DeferredValues deferred_;  // what the trees sent so far left in this engine
    std::string resetData_;    // render data of the reset tree about to be sent
};

constexpr int kStartupMs = 10000;
constexpr size_t kLastWords = 8;  // lines of a failed engine's stderr shown

}  // namespace snapshot
