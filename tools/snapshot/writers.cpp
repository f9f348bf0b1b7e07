#include "writers.h"

#include <algorithm>
#include <chrono>

namespace snapshot {

Writers::Writers(const Options& options, int threads) : options_(options)
{
    for (int i = 0; i < std::max(threads, 1); ++i)
        threads_.emplace_back(&Writers::work, this);
}

Writers::~Writers()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    jobReady_.notify_all();
    for (std::thread& t : threads_)
        t.join();
}

void Writers::submit(size_t tag, std::string name, Session::Result result)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        jobs_.push_back(Job { tag, std::move(name), std::move(result) });
        ++outstanding_;
    }
    jobReady_.notify_one();
}

size_t Writers::outstanding() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return outstanding_;
}

std::vector<std::pair<size_t, TreeReport>> Writers::take(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    reportReady_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                          [&] { return !reports_.empty() || outstanding_ == 0; });
    std::vector<std::pair<size_t, TreeReport>> out = std::move(reports_);
    reports_.clear();
    outstanding_ -= out.size();
    return out;
}

// Jobs left when stopping are still written: the destructor waits for all.
void Writers::work()
{
    for (;;) {
        std::unique_lock<std::mutex> lock(mutex_);
        jobReady_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty())
            return;
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        size_t tag = job.tag;
        TreeReport report = writeOutputs(options_, job.name, job.result);
        job = Job {};  // the picture goes before the report is handed over
        lock.lock();
        reports_.emplace_back(tag, std::move(report));
        lock.unlock();
        reportReady_.notify_all();
    }
}

}  // namespace snapshot
