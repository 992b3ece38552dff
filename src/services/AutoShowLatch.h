#pragma once
// 0 until the main window has been shown automatically once (or "/Start"
// asked it never to be, or the first scan found no keyboard); never cleared
// afterwards. Read and set by the connection monitor from its own thread.
#include <atomic>

namespace orvane {

std::atomic<int>& AutoShowLatch();

} // namespace orvane
