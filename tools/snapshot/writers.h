// Writes the files of rendered trees on worker threads, so that pictures are
// encoded while the engine renders the next trees.
#pragma once
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "outputs.h"
#include "session.h"

namespace snapshot {

class Writers {
public:
    Writers(const Options& options, int threads);
    ~Writers();
    Writers(const Writers&) = delete;
    Writers& operator=(const Writers&) = delete;

    void submit(size_t tag, std::string name, Session::Result result);
    // Submitted trees whose report has not been taken yet; each holds its picture.
    size_t outstanding() const;
    // Reports finished since the last call; when there are none and some are
    // outstanding, waits up to `timeoutMs` for one.
    std::vector<std::pair<size_t, TreeReport>> take(int timeoutMs);

private:
    struct Job {
        size_t tag;
        std::string name;
        Session::Result result;
    };
    void work();

    const Options& options_;
    mutable std::mutex mutex_;
    std::condition_variable jobReady_;
    std::condition_variable reportReady_;
    std::deque<Job> jobs_;
    std::vector<std::pair<size_t, TreeReport>> reports_;
    size_t outstanding_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace snapshot
