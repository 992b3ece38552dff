#pragma once
// Writes a whole file to a temporary name beside it and renames it into place,
// so a crash, a full disk or a pulled cable never leaves a half-written file
// where a good one was.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/WriteResult.h"

namespace orvane {

// A symbolic link is written through: its target is replaced, the link stays.
// A file the user may not write (made read-only) is refused, not replaced.
// On failure the old file stays whole and the result names the file and why.
WriteResult WriteFileAtomically(const std::string& path, std::string_view contents);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& contents);
// Why ReadWholeFile refused `path`, as an errno value (ENOENT: no such file).
int ReadFailureReason(const std::string& path);

// Test hook: when set, the next atomic write fails just before the rename
// (the temporary file is removed and the old file stays as it was).
void SetAtomicWriteFailureForTests(bool failBeforeRename);

} // namespace orvane
