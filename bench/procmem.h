// A process's memory as the kernel counts it: what is resident, and what
// of that is its own (the pages no other process shares).
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

namespace bench {

struct Memory {
    long residentKiB = -1; // VmRSS
    long privateKiB = -1;  // Private_Clean + Private_Dirty
    // The written part of the private pages. The clean part falls whenever
    // another process maps the same library pages; this does not.
    long dirtyKiB = -1; // Private_Dirty
    bool valid() const { return residentKiB >= 0 && privateKiB >= 0 && dirtyKiB >= 0; }
};

namespace detail {

// Adds up the "Key:  N kB" lines of a /proc file whose key is one of keys.
inline long SumKiB(const std::string &path, std::initializer_list<const char *> keys) {
    std::FILE *file = std::fopen(path.c_str(), "re");
    if (!file)
        return -1;
    long total = 0;
    int found = 0;
    char line[256];
    while (std::fgets(line, sizeof line, file)) {
        for (const char *key : keys) {
            const std::size_t length = std::strlen(key);
            if (std::strncmp(line, key, length) == 0 && line[length] == ':') {
                total += std::strtol(line + length + 1, nullptr, 10);
                ++found;
            }
        }
    }
    std::fclose(file);
    return found == static_cast<int>(keys.size()) ? total : -1;
}

} // namespace detail

// pid 0 reads the calling process.
inline Memory ReadMemory(pid_t pid = 0) {
    const std::string dir = pid ? "/proc/" + std::to_string(pid) : std::string("/proc/self");
    Memory memory;
    memory.residentKiB = detail::SumKiB(dir + "/status", {"VmRSS"});
    memory.privateKiB = detail::SumKiB(dir + "/smaps_rollup", {"Private_Clean", "Private_Dirty"});
    memory.dirtyKiB = detail::SumKiB(dir + "/smaps_rollup", {"Private_Dirty"});
    return memory;
}

inline double MiB(long kib) { return static_cast<double>(kib) / 1024.0; }

} // namespace bench
