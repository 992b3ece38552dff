#pragma once
// What the test process holds: open file descriptors and threads, counted
// from /proc, to tell a leak from a steady state.
#include <filesystem>
#include <fstream>
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

// A thread's name (its comm), from its entry in /proc/self/task.
inline std::string ThreadName(const std::filesystem::path& task) {
    std::ifstream comm(task / "comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

// Qt's pooled workers ("Thread (pooled)") start when Qt has work for them and
// end after a while idle; `withQtPool` false leaves them out.
inline int ThreadCount(bool withQtPool = true) {
    int n = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it("/proc/self/task", ec), end; !ec && it != end;
         it.increment(ec))
        if (withQtPool || ThreadName(it->path()) != "Thread (pooled)") ++n;
    return n;
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

// Every thread with its name, to tell which one is left over.
inline std::string ThreadNames() {
    std::string list;
    std::error_code ec;
    for (std::filesystem::directory_iterator it("/proc/self/task", ec), end; !ec && it != end;
         it.increment(ec)) {
        list += it->path().filename().string() + "=" + ThreadName(it->path()) + " ";
    }
    return list;
}

} // namespace orvane::testing
