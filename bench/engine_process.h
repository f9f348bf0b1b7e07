#pragma once
// The real engine binary as the benchmarks start it, and what the process
// holds of the machine.
#include <dirent.h>
#include <sys/types.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "client/client.h"

namespace bench {

// Started from the repository root; null, with the reason printed, on failure.
inline std::unique_ptr<client::Engine> start_engine()
{
    client::Engine::Options options;
    options.binary = ENGINE_BINARY;
    options.workdir = SOURCE_DIR;
    std::string error;
    auto engine = client::Engine::start(options, &error);
    if (!engine)
        fprintf(stderr, "cannot start the engine: %s\n", error.c_str());
    return engine;
}

struct ProcessUsage {
    long rssKib = -1;
    int fds = -1;
    int threads = -1;
};

inline ProcessUsage process_usage(pid_t pid)
{
    ProcessUsage u;
    std::string dir = "/proc/" + std::to_string(pid);
    std::ifstream status(dir + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            u.rssKib = std::stol(line.substr(6));
        else if (line.rfind("Threads:", 0) == 0)
            u.threads = std::stoi(line.substr(8));
    }
    if (DIR* d = opendir((dir + "/fd").c_str())) {
        u.fds = 0;
        while (dirent* e = readdir(d))
            u.fds += e->d_name[0] != '.';
        closedir(d);
    }
    return u;
}

} // namespace bench
