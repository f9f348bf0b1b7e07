// One engine process and one window, rendering tree after tree.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "client/client.h"
#include "options.h"
#include "settle.h"

namespace snapshot {

class Session {
public:
    struct Result {
        bool ok = false;
        bool timedOut = false;  // frames kept coming until the maximum wait
        std::string error;
        Frame frame;
        int frames = 0;
    };

    Session(const Options& options, std::string enginePath, std::string workdir);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Starts the engine and creates the window unless that is done already.
    bool ensureStarted(std::string& error);
    Result render(const std::string& treeText);
    // The engine's diagnostic lines written since the last call.
    std::vector<std::string> takeDiagnostics();

private:
    std::string createData() const;
    void stop(Result& r, const std::string& what);
    void discardEngine();

    const Options& options_;
    std::string enginePath_;
    std::string workdir_;
    std::unique_ptr<client::Engine> engine_;
    std::optional<Frame> last_;
    size_t stderrSeen_ = 0;
    std::string stderrOfLastEngine_;
};

constexpr int kWindowId = 1;
constexpr int kStartupMs = 10000;
constexpr int kFirstPaintMs = 2000;
constexpr size_t kLastWords = 8;  // lines of a failed engine's stderr shown

}  // namespace snapshot
