#pragma once
#include <sys/types.h>

#include <fstream>
#include <string>

// Resident memory of a running process in KiB (VmRSS), -1 if unknown.
inline long resident_kib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}
