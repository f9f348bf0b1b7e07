#pragma once
// Runs a program to its end as a user would: arguments in, exit status and
// output out. Output goes to files so nothing the program leaves running
// can hold a pipe open.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace e2e {

struct ProgramRun {
    int status = -1;  // exit code, or -1 when killed or not started
    std::string out;
    std::string err;
};

inline std::string readFile(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct ChildProcess {
    pid_t pid;
    std::string name;
};

// The processes whose parent is `parent`, as the process table gives them.
inline std::vector<ChildProcess> childrenOf(pid_t parent)
{
    std::vector<ChildProcess> children;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        // "pid (name) state ppid ...": the name may hold spaces and parentheses.
        std::string stat = readFile(entry.path() / "stat");
        size_t open = stat.find('('), close = stat.rfind(')');
        if (open == std::string::npos || close == std::string::npos || close < open)
            continue;
        std::istringstream fields(stat.substr(close + 1));
        char state = 0;
        pid_t ppid = 0;
        if (fields >> state >> ppid && ppid == parent)
            children.push_back({ pid_t(std::stol(entry.path().filename().string())), stat.substr(open + 1, close - open - 1) });
    }
    return children;
}

// `during` runs once the program has started; a program still running
// after `timeoutMs` is killed and the test fails.
inline ProgramRun runProgram(const std::string& binary, const std::vector<std::string>& args,
                             const std::filesystem::path& scratch, int timeoutMs,
                             const std::function<void(pid_t)>& during = {})
{
    ProgramRun r;
    std::filesystem::path outPath = scratch / "program.stdout", errPath = scratch / "program.stderr";
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&fa, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> all { binary };
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    int rc = posix_spawn(&pid, binary.c_str(), &fa, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    if (rc != 0) {
        ADD_FAILURE() << "cannot start " << binary << ": " << strerror(rc);
        return r;
    }
    if (during)
        during(pid);
    int pidfd = int(syscall(SYS_pidfd_open, pid, 0));
    pollfd p { pidfd, POLLIN, 0 };
    bool ended = pidfd >= 0 && poll(&p, 1, timeoutMs) == 1;
    if (pidfd >= 0)
        close(pidfd);
    if (!ended) {
        kill(pid, SIGKILL);
        ADD_FAILURE() << binary << " did not finish within " << timeoutMs << " ms";
    }
    int st = 0;
    waitpid(pid, &st, 0);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    r.out = readFile(outPath);
    r.err = readFile(errPath);
    return r;
}

} // namespace e2e
