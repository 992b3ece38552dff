#pragma once
// Where a fuzz target writes the files it reads back: memory where the
// machine offers it, since every run writes (and syncs) at least one file.
#include <unistd.h>

#include <string>

inline std::string FuzzScratchRoot() {
    return ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
}
