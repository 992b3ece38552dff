#pragma once
// What the test process holds: open file descriptors and threads, counted
// from /proc, to tell a leak from a steady state.
#include <filesystem>
#include <fstream>
#include <string>

namespace orvane::testing {

// Calls `each` with every entry of a /proc folder.
template <typename Each> void ForEachEntry(const char* folder, Each each) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        each(*it);
}

// A thread's name (its comm), from its entry in /proc/self/task.
inline std::string ThreadName(const std::filesystem::path& task) {
    std::ifstream comm(task / "comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

// The count's own descriptor is the same every time.
inline int OpenFdCount() {
    int n = 0;
    ForEachEntry("/proc/self/fd", [&](const auto&) { ++n; });
    return n;
}

// Qt's pooled workers ("Thread (pooled)") start when Qt has work for them and
// end after a while idle; `withQtPool` false leaves them out.
inline int ThreadCount(bool withQtPool = true) {
    int n = 0;
    ForEachEntry("/proc/self/task", [&](const auto& task) {
        if (withQtPool || ThreadName(task.path()) != "Thread (pooled)") ++n;
    });
    return n;
}

// Each open descriptor and what it refers to, to tell a leak's kind.
inline std::string OpenFdTargets() {
    std::string list;
    ForEachEntry("/proc/self/fd", [&](const auto& fd) {
        std::error_code linkError;
        list +=
            fd.path().filename().string() + "=" + std::filesystem::read_symlink(fd, linkError).string() + " ";
    });
    return list;
}

// Every thread with its name, to tell which one is left over.
inline std::string ThreadNames() {
    std::string list;
    ForEachEntry("/proc/self/task", [&](const auto& task) {
        list += task.path().filename().string() + "=" + ThreadName(task.path()) + " ";
    });
    return list;
}

} // namespace orvane::testing
