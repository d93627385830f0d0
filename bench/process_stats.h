#pragma once

// What the launch and spin probes read about their own process from /proc and getrusage.

#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

namespace zorvik::bench {

inline double boottimeMs()
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Milliseconds since the kernel started this process (field 22 of /proc/self/stat, in clock
// ticks since boot: 10 ms steps, so single readings are rough and runs are compared by median).
inline double msSinceProcessStart()
{
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    // The command name may hold spaces; the fields after it are plain.
    std::istringstream rest(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int i = 3; i < 22; ++i)
        rest >> field;
    unsigned long long startTicks = 0;
    rest >> startTicks;
    return boottimeMs() - double(startTicks) * 1e3 / double(sysconf(_SC_CLK_TCK));
}

// A line of /proc/self/status, in kB ("VmHWM", "VmRSS").
inline long statusKb(const char *key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0)
            return std::stol(line.substr(prefix.size()));
    }
    return -1;
}

// User plus system CPU time of the whole process, in milliseconds.
inline double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](timeval t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

} // namespace zorvik::bench
