#pragma once
// What the test process holds: open file descriptors and threads, counted
// from /proc, to tell a leak from a steady state.
#include <filesystem>
#include <string>

namespace orvane::testing {

// Entries of a /proc folder; the count's own descriptor is the same every time.
inline int ProcEntries(const char* folder) {
    int n = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        ++n;
    return n;
}

inline int OpenFdCount() {
    return ProcEntries("/proc/self/fd");
}
inline int ThreadCount() {
    return ProcEntries("/proc/self/task");
}

// Each open descriptor and what it refers to, to tell a leak's kind.
inline std::string OpenFdTargets() {
    std::string list;
    std::error_code ec;
    for (std::filesystem::directory_iterator it("/proc/self/fd", ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code linkError;
        list += it->path().filename().string() + "=" +
                std::filesystem::read_symlink(*it, linkError).string() + " ";
    }
    return list;
}

} // namespace orvane::testing
